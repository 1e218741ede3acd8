#pragma once
#include <string>

namespace platform {

// Opens an address in the desktop's browser or mail program. The address goes to
// xdg-open as one argument, never through a shell, and the game does not wait for it.
// Returns false when nothing could be started.
bool OpenLink(const std::string& address);

}  // namespace platform
