#pragma once
// Where the editor may write a level, and the writing itself: the game folder, or a module
// folder under Modules/ whose Include.ini then lists the file.
#include <optional>
#include <string>
#include <vector>

struct SaveTarget {
    std::string path;    // relative to the game folder: "Pond.ini" or "Modules/Reeds/Pond.ini"
    std::string module;  // "Reeds"; empty in the game folder
    std::string fileName;
    bool replaces = false;   // a level file of that name is there: ask before writing over it
    bool newFolder = false;  // the module folder does not exist yet
};

// Why `name` (a file name alone) can't name a level file, or empty when it can. Refused:
// path separators, "..", control characters, a leading dot, an extension other than ".ini".
std::string LevelFileNameProblem(const std::string& name);
// Why `name` can't be a new module folder, or empty.
std::string ModuleFolderProblem(const std::string& name);
// "Pond" and "Pond.INI" become "Pond.ini".
std::string WithLevelExtension(const std::string& name);
// A file holding one section, a [Level]: the only kind of file a save may write over.
bool HoldsOnlyALevel(const std::string& path);
// Folders a level may be saved in: the game folder ("") and the module folders "Modules/X",
// but for the campaign's.
bool IsLevelFolder(const std::string& folder);
// The folders the chooser lists in `folder`: Modules at the top, the modules in it.
bool OffersAsFolder(const std::string& folder, const std::string& name);
// The level files the chooser lists in `folder`.
bool OffersAsLevelFile(const std::string& folder, const std::string& name);

// The level file of a module level ("Reeds/Marsh"): the file its module lists that holds that
// level alone, as "Modules/Reeds/Marsh.ini"; empty when there is none (a level that shares its
// file with others, or one outside the modules).
std::string LevelFileOf(const std::string& qualifiedName);

// The target for a chosen path (relative to the game folder), or nothing with the reason in
// `refusal`. `levelName` is the level's name without its module, which must fit the module.
std::optional<SaveTarget> CheckSaveTarget(const std::string& chosen, const std::string& levelName,
                                          std::string& refusal);

struct SaveOutcome {
    bool saved = false;
    std::string message;  // for the status line, whatever happened
};
// Writes `levelText` to the target and lists it in the module's Include.ini (made when the
// module has none). Each file is replaced whole; when a step fails, what was done before it is
// undone, so the folder is left as it was.
SaveOutcome SaveLevelFile(const SaveTarget& target, const std::string& levelText);

// Module files saved while the editor was open, loaded into the registry when it is left.
class ModuleReloads {
public:
    void Note(const SaveTarget& target);
    // Loads every noted file (a new module whole); a module that fails is reported and left out.
    void Apply();
    bool Empty() const { return files.empty(); }

private:
    std::vector<std::pair<std::string, std::string>> files;  // module, file name
};
