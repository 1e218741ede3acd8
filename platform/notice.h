#pragma once
#include <string>
#include <vector>

namespace platform {

// Something went wrong that the game survives (a file it could not read or write, a module
// it skipped): written to standard error at once and kept until the screen takes it.
void Notify(const std::string& message);
// The messages not yet shown, oldest first; taking them empties the list.
std::vector<std::string> TakeNotices();
// The same for something the player must not miss (no folder of their own to keep files
// in): shown before the others and kept on screen until the player closes it.
void NotifyUntilDismissed(const std::string& message);
std::vector<std::string> TakeLastingNotices();

}  // namespace platform
