#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Asks the player for a file of the working folder, in the game's own window. The chooser
// runs its own frames until the player answers: Enter or a double click confirms, Escape
// or closing the window cancels. The answer is the name as typed or chosen, relative to
// the working folder, with `defaultExtension` (".rpl") added when the name has none.
// `pattern` is a file pattern such as "*.rpl"; several are separated by ";".
// Open accepts only a file that exists; save accepts any valid name. The plain choosers stay
// in the working folder; a FileChooserRequest (below) can browse folders.
std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension);
std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& pattern,
                                            const std::string& defaultExtension);

// A save chooser that can do more: browse folders below the working folder (never above it),
// list only some of the matching files, refuse names with a message, and let the player name
// a new folder.
struct FileChooserRequest {
    std::string title;
    std::string pattern;
    std::string defaultExtension;
    bool browseFolders = false;
    std::string startFolder;  // relative to the working folder; empty is the working folder
    std::string startName;    // the name field's first text
    // Which matching files of a folder (relative, "" at the top) are listed; all when unset.
    std::function<bool(const std::string& folder, const std::string& name)> lists;
    // Which folders of a folder are listed; all (but hidden ones) when unset.
    std::function<bool(const std::string& folder, const std::string& name)> listsFolder;
    // Why the chosen path (as the answer would be) can't be used, or empty when it can.
    std::function<std::string(const std::string& path)> refuses;
    // When set, NEW FOLDER enters a folder of the typed name inside the shown one; the folder is
    // made on disk only by whoever saves into it. Returns why the name is refused, or empty.
    std::function<std::string(const std::string& parent, const std::string& name)> refusesFolder;
};
// The answer is the path relative to the working folder ("Modules/Reeds/Pond.ini").
std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request);

// Answers the next choosers without showing them, oldest first (nullopt: cancelled).
void SetFileChooserAnswer(std::optional<std::string> answer);
void ClearFileChooserAnswers();

// Runs at the start of each of the chooser's own frames, counted from 0 in each chooser;
// scripted runs feed their timed input through it. Returning false cancels the chooser.
void SetFileChooserFrameHook(std::function<bool(int frameInChooser)> hook);

// The pieces, open for their own use.
bool MatchesFilePattern(const std::string& name, const std::string& pattern);
std::string WithDefaultExtension(const std::string& name, const std::string& defaultExtension);
// Regular files of the working folder (or of `folder` inside it) that match, sorted by name.
std::vector<std::string> ListMatchingFiles(const std::string& pattern, const std::string& folder = "");
