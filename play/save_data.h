#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

// The player's progress: for every known level, whether it was completed and its best
// turn count (0 means none yet). Stored as fixed 45-byte records, no header, little-endian:
// 40 bytes of zero-terminated name, 1 byte completed flag, 4 bytes best turns.
struct SaveRecord {
    std::string levelName;
    std::uint8_t completed = 0;
    std::int32_t bestTurns = 0;
};

class SaveData {
public:
    static constexpr std::size_t kNameField = 40;
    static constexpr std::size_t kRecordSize = 45;

    // One empty record per level, in the given (registry) order.
    void Build(const std::vector<std::string>& levelNames);
    // Applies every record of the file to the known levels; unknown names are dropped.
    // A missing or unreadable file changes nothing; false only when the file is there but
    // cannot be read (not a regular file, no permission, a read error).
    bool Read(const std::filesystem::path& path);
    // Writes through a temporary file and a rename, so a torn write keeps the old file.
    bool Write(const std::filesystem::path& path, std::string* why = nullptr) const;

    // Exact, case-sensitive name; a name with no record is ignored.
    void RecordResult(const std::string& levelName, std::uint8_t completed, std::int32_t turns);
    // Completed, the best turns left as they are.
    void MarkCompleted(const std::string& levelName);
    std::uint8_t IsCompleted(const std::string& levelName) const;
    std::int32_t BestTurns(const std::string& levelName) const;
    // Forgets all progress (the records stay, zeroed).
    void Reset();
    bool AnyCompleted() const;

private:
    SaveRecord* Find(const std::string& levelName);
    const SaveRecord* Find(const std::string& levelName) const;

    std::vector<SaveRecord> records;
    std::unordered_map<std::string, std::size_t> index;
};

// The one save data of the program, kept in "./SaveData.sav".
SaveData& TheSaveData();
inline constexpr const char* kSaveDataPath = "./SaveData.sav";
// Completions helped by a hint, in a file of their own and the same records: completed, and
// the fewest turns with a hint. SaveData.sav then holds the level as completed with its best
// turns unchanged, so its best (and the gold mark for par that comes of it) stays the
// player's own, in this version and in the earlier ones that never read the second file.
SaveData& TheHintedData();
inline constexpr const char* kHintedDataPath = "./SaveDataHints.sav";

// Start-up: one record per level of the loaded modules, then the files' contents.
void LoadSaveData();
// Same, with the level names given (tests, tools).
void LoadSaveData(const std::vector<std::string>& levelNames);
// Writes both files (the second only once it has something to hold); the first failure is
// told to the player and keeps the old file. Nothing is written over a file that was there at
// start-up but could not be read: it may hold progress. When that file is SaveData.sav,
// nothing at all is written.
void SaveSaveData();
bool SaveDataWritable();
void RecordResult(const std::string& levelName, std::uint8_t completed, std::int32_t turns);
// A completion after a hint: the level completed, the turns kept among the hinted ones.
void RecordHintedResult(const std::string& levelName, std::int32_t turns);
std::uint8_t IsCompleted(const std::string& levelName);
std::int32_t BestTurns(const std::string& levelName);
// The fewest turns of a completion with a hint, 0 for none.
std::int32_t HintedBestTurns(const std::string& levelName);
// Deletes both files and zeroes every record.
void ClearSaveData();
