#include "play/save_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <system_error>

#include "content/registry.h"
#include "platform/notice.h"
#include "platform/replace_file.h"

void SaveData::Build(const std::vector<std::string>& levelNames) {
    records.clear();
    index.clear();
    for (const std::string& name : levelNames) {
        // A name registered twice keeps its first place, like the registry's own order.
        if (index.emplace(name, records.size()).second)
            records.push_back(SaveRecord{name, 0, 0});
    }
}

SaveRecord* SaveData::Find(const std::string& levelName) {
    auto it = index.find(levelName);
    return it == index.end() ? nullptr : &records[it->second];
}

const SaveRecord* SaveData::Find(const std::string& levelName) const {
    auto it = index.find(levelName);
    return it == index.end() ? nullptr : &records[it->second];
}

void SaveData::RecordResult(const std::string& levelName, std::uint8_t completed, std::int32_t turns) {
    SaveRecord* record = Find(levelName);
    if (record == nullptr)
        return;
    record->completed = completed != 0 ? 1 : 0;
    if (record->bestTurns == 0 || record->bestTurns > turns)
        record->bestTurns = turns;
}

bool SaveData::AnyCompleted() const {
    return std::any_of(records.begin(), records.end(), [](const SaveRecord& r) { return r.completed != 0; });
}

void SaveData::MarkCompleted(const std::string& levelName) {
    if (SaveRecord* record = Find(levelName))
        record->completed = 1;
}

std::uint8_t SaveData::IsCompleted(const std::string& levelName) const {
    const SaveRecord* record = Find(levelName);
    return record ? record->completed : 0;
}

std::int32_t SaveData::BestTurns(const std::string& levelName) const {
    const SaveRecord* record = Find(levelName);
    return record ? record->bestTurns : 0;
}

void SaveData::Reset() {
    for (SaveRecord& record : records) {
        record.completed = 0;
        record.bestTurns = 0;
    }
}

bool SaveData::Read(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return true;
    if (error || status.type() != std::filesystem::file_type::regular)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::array<unsigned char, kRecordSize> raw{};
    for (;;) {
        in.read(reinterpret_cast<char*>(raw.data()), kRecordSize);
        std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        // The name runs to its first zero byte, and never past its field, terminated or not.
        std::size_t field = std::min(got, kNameField);
        const void* zero = std::memchr(raw.data(), 0, field);
        std::size_t length = zero ? static_cast<const unsigned char*>(zero) - raw.data() : field;
        std::string name(reinterpret_cast<const char*>(raw.data()), length);
        SaveRecord* record = Find(name);
        // A torn last record gives what it holds: the flag when its byte is there, the
        // turns only when all four bytes are.
        if (record != nullptr && got > kNameField) {
            record->completed = raw[kNameField] != 0 ? 1 : 0;
            if (got == kRecordSize) {
                std::uint32_t bits = raw[41] | raw[42] << 8 | raw[43] << 16 | std::uint32_t{raw[44]} << 24;
                std::int32_t turns = static_cast<std::int32_t>(bits);
                // A duplicate keeps the smallest real count: a zero must not wipe a best,
                // and a negative count would stick as a best no completion could beat.
                if (turns > 0 && (record->bestTurns == 0 || record->bestTurns > turns))
                    record->bestTurns = turns;
            }
        }
        if (got < kRecordSize)
            break;
    }
    return !in.bad();
}

bool SaveData::Write(const std::filesystem::path& path, std::string* why) const {
    std::string bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const SaveRecord& record : records) {
        std::array<char, kRecordSize> raw{};
        // Longer names are cut so the field keeps its terminating zero.
        std::size_t length = std::min(record.levelName.size(), kNameField - 1);
        std::memcpy(raw.data(), record.levelName.data(), length);
        raw[kNameField] = static_cast<char>(record.completed);
        std::uint32_t bits = static_cast<std::uint32_t>(record.bestTurns);
        for (int i = 0; i < 4; ++i)
            raw[41 + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
        bytes.append(raw.data(), raw.size());
    }
    return platform::ReplaceFileContents(path, bytes, why);
}

SaveData& TheSaveData() {
    static SaveData data;
    return data;
}

SaveData& TheHintedData() {
    static SaveData data;
    return data;
}

void LoadSaveData() {
    std::vector<std::string> levels;
    for (int index : Registry().TemplatesOfType("Level"))
        levels.push_back(Registry().NameAt(index));
    LoadSaveData(levels);
}

namespace {
// One of the two files and what became of reading it at start-up.
struct SaveFile {
    SaveData& data;
    const char* path;
    const char* name;
    // Written even when it holds no completion and is not there yet (the hints' file appears
    // once a hint has helped).
    bool writtenEmpty;
    // The file could not be read: the progress in it must not be lost.
    bool keepUnreadable = false;

    bool Due() const {
        std::error_code error;
        return !keepUnreadable && (writtenEmpty || data.AnyCompleted() || std::filesystem::exists(path, error));
    }
};

std::array<SaveFile, 2>& SaveFiles() {
    static std::array<SaveFile, 2> files{SaveFile{TheSaveData(), kSaveDataPath, "SaveData.sav", true},
                                         SaveFile{TheHintedData(), kHintedDataPath, "SaveDataHints.sav", false}};
    return files;
}

// SaveData.sav, which earlier versions read too.
SaveFile& OwnFile() { return SaveFiles()[0]; }
}  // namespace

void LoadSaveData(const std::vector<std::string>& levelNames) {
    for (SaveFile& file : SaveFiles()) {
        file.data.Build(levelNames);
        platform::RemoveStaleTemporaryFiles(file.path);
        file.keepUnreadable = !file.data.Read(file.path);
        if (file.keepUnreadable)
            platform::Notify(std::string("Couldn't read \"") + file.name + "\": progress made now will not be saved over it");
    }
}

bool SaveDataWritable() { return !OwnFile().keepUnreadable; }

void SaveSaveData() {
    // The helped completions stand on SaveData.sav's completed flags: never one without the other.
    if (OwnFile().keepUnreadable)
        return;
    for (const SaveFile& file : SaveFiles()) {
        std::string why;
        if (file.Due() && !file.data.Write(file.path, &why)) {
            platform::Notify("Couldn't save your progress (" + why + "); the old file is kept");
            return;
        }
    }
}

void RecordResult(const std::string& levelName, std::uint8_t completed, std::int32_t turns) {
    TheSaveData().RecordResult(levelName, completed, turns);
}

void RecordHintedResult(const std::string& levelName, std::int32_t turns) {
    TheSaveData().MarkCompleted(levelName);
    TheHintedData().RecordResult(levelName, 1, turns);
}

std::uint8_t IsCompleted(const std::string& levelName) { return TheSaveData().IsCompleted(levelName); }

std::int32_t BestTurns(const std::string& levelName) { return TheSaveData().BestTurns(levelName); }

std::int32_t HintedBestTurns(const std::string& levelName) { return TheHintedData().BestTurns(levelName); }

void ClearSaveData() {
    for (const SaveFile& file : SaveFiles()) {
        file.data.Reset();
        if (file.keepUnreadable)
            continue;
        std::error_code error;
        std::filesystem::remove(file.path, error);
    }
}
