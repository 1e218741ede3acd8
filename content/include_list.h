#pragma once
// Adding a content file to a module's Include.ini without disturbing what is there.
#include <filesystem>
#include <string>

enum class IncludeListing {
    Added,          // the file is now listed (Include.ini made when there was none)
    AlreadyListed,  // nothing written
    Failed,         // nothing written; `why` says what went wrong
};

// True when a line of `includeText` names `fileName` the way the module loader would read it
// (comments and empty lines name nothing; "./a.ini" names "a.ini").
bool IncludeListNames(const std::string& includeText, const std::string& fileName);

// The Include.ini text with `fileName` listed at its end: every earlier byte kept, the line
// end the file already uses, a missing last line end supplied first.
std::string IncludeListWith(const std::string& includeText, const std::string& fileName);

// Lists `fileName` in `moduleDir`/Include.ini once, through a temporary file and a rename.
// `existed`, when given, tells whether there was an Include.ini before.
IncludeListing AddToIncludeList(const std::filesystem::path& moduleDir, const std::string& fileName,
                                std::string* why = nullptr, bool* existed = nullptr);
