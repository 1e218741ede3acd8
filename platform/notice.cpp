#include "platform/notice.h"

#include <cstdio>

namespace platform {

namespace {
// Bounded, so a loop of failures never grows without end before a frame shows them.
constexpr std::size_t kMaxPending = 32;
std::vector<std::string>& Pending() {
    static std::vector<std::string> pending;
    return pending;
}
std::vector<std::string>& PendingLasting() {
    static std::vector<std::string> pending;
    return pending;
}
}  // namespace

void Notify(const std::string& message) {
    std::fprintf(stderr, "quillmere: %s\n", message.c_str());
    if (Pending().size() < kMaxPending)
        Pending().push_back(message);
}

std::vector<std::string> TakeNotices() {
    std::vector<std::string> taken;
    taken.swap(Pending());
    return taken;
}

void NotifyUntilDismissed(const std::string& message) {
    std::fprintf(stderr, "quillmere: %s\n", message.c_str());
    if (PendingLasting().size() < kMaxPending)
        PendingLasting().push_back(message);
}

std::vector<std::string> TakeLastingNotices() {
    std::vector<std::string> taken;
    taken.swap(PendingLasting());
    return taken;
}

}  // namespace platform
