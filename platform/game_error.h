#pragma once
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// How a fatal failure is shown to the player: the word its report starts with.
enum class ErrorTier { Error, Exception };

// "ERROR" or "EXCEPTION", as the player sees it before the message.
constexpr const char* TierWord(ErrorTier tier) { return tier == ErrorTier::Exception ? "EXCEPTION" : "ERROR"; }

// The game's own failures (broken content, a missing file, the wrong SDL): reported under
// their tier with the message exactly as written. The message is kept whole as well as in
// what(), which would stop at a stray NUL from a content file.
class GameError : public std::runtime_error {
public:
    explicit GameError(std::string message, ErrorTier tier = ErrorTier::Error)
        : std::runtime_error(message), tier(tier), message(std::move(message)) {}

    ErrorTier Tier() const noexcept { return tier; }
    const std::string& Message() const noexcept { return message; }

private:
    ErrorTier tier;
    std::string message;
};

}  // namespace platform
