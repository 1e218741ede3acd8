#include "platform/open_link.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace platform {

bool OpenLink(const std::string& address) {
    if (address.empty() || address.find('\0') != std::string::npos)
        return false;
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(address.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return false;
    // xdg-open may wait for the browser it starts: the game goes on at once, and a thread
    // of its own reaps it whenever it ends, so no zombie stays.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace platform
