#include "app/script.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
// About four months of frames at 10 ms: far past any run, and far from overflowing.
constexpr long kMaxFrame = 1000000000;

SDL_Event KeyEvent(Uint8 type, long sym) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    e.key.keysym.unicode = sym > 0 && sym < 128 ? static_cast<Uint16>(sym) : 0;
    return e;
}

SDL_Event MouseButtonEvent(Uint8 type, long button, long x, long y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = static_cast<Uint8>(button);
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}
}  // namespace

InputScript InputScript::Parse(const std::string& text, const std::string& sourceName) {
    InputScript script;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (std::size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        long frame = 0;
        std::string kind;
        if (!(words >> frame)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            throw std::invalid_argument(sourceName + " line " + std::to_string(lineNumber) + ": expected a frame number");
        }
        auto fail = [&](const std::string& why) {
            return std::invalid_argument(sourceName + " line " + std::to_string(lineNumber) + ": " + why);
        };
        if (frame < 0 || !(words >> kind))
            throw fail("expected FRAME EVENT");
        if (frame > kMaxFrame)
            throw fail("frame " + std::to_string(frame) + " is past the last frame a script can name (" +
                       std::to_string(kMaxFrame) + ")");
        std::vector<long> numbers;
        std::string shotPath;
        if (kind == "shot") {
            if (!(words >> shotPath))
                throw fail("shot needs a file name");
        } else {
            long n;
            while (words >> n)
                numbers.push_back(n);
            if (!words.eof())
                throw fail("arguments of " + kind + " must be whole numbers");
        }
        auto need = [&](std::size_t count) {
            if (numbers.size() != count)
                throw fail(kind + " takes " + std::to_string(count) + " numbers");
        };
        auto within = [&](long value, long low, long high, const std::string& what) {
            if (value < low || value > high)
                throw fail(what + " " + std::to_string(value) + " is out of range (" + std::to_string(low) + " to " +
                           std::to_string(high) + ")");
        };
        auto key = [&] {
            need(1);
            within(numbers[0], 1, SDLK_LAST - 1, "key");
        };
        auto point = [&](std::size_t from) {
            within(numbers[from], 0, 65535, "x");
            within(numbers[from + 1], 0, 65535, "y");
        };
        if (kind == "keydown" || kind == "keyup") {
            key();
            script.events.emplace(frame, KeyEvent(kind == "keydown" ? SDL_KEYDOWN : SDL_KEYUP, numbers[0]));
        } else if (kind == "key") {
            key();
            script.events.emplace(frame, KeyEvent(SDL_KEYDOWN, numbers[0]));
            script.events.emplace(frame + 1, KeyEvent(SDL_KEYUP, numbers[0]));
        } else if (kind == "mousemove") {
            need(2);
            point(0);
            SDL_Event e{};
            e.type = SDL_MOUSEMOTION;
            e.motion.type = SDL_MOUSEMOTION;
            e.motion.x = static_cast<Uint16>(numbers[0]);
            e.motion.y = static_cast<Uint16>(numbers[1]);
            script.events.emplace(frame, e);
        } else if (kind == "mousedown" || kind == "mouseup") {
            need(3);
            within(numbers[0], 1, 255, "button");
            point(1);
            script.events.emplace(frame, MouseButtonEvent(kind == "mousedown" ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP,
                                                          numbers[0], numbers[1], numbers[2]));
        } else if (kind == "quit") {
            need(0);
            SDL_Event e{};
            e.type = SDL_QUIT;
            script.events.emplace(frame, e);
        } else if (kind == "shot") {
            script.shots.emplace(frame, shotPath);
        } else {
            throw fail("unknown event \"" + kind + "\"");
        }
    }
    return script;
}

InputScript InputScript::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::invalid_argument("cannot read the script file \"" + path + "\"");
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str(), path);
}

void InputScript::PushEventsFor(long frame) const {
    auto [begin, end] = events.equal_range(frame);
    for (auto it = begin; it != end; ++it) {
        SDL_Event e = it->second;
        SDL_PushEvent(&e);
    }
}

std::vector<std::string> InputScript::ShotsFor(long frame) const {
    std::vector<std::string> paths;
    auto [begin, end] = shots.equal_range(frame);
    for (auto it = begin; it != end; ++it)
        paths.push_back(it->second);
    return paths;
}

long InputScript::LastFrame() const {
    long last = -1;
    if (!events.empty())
        last = events.rbegin()->first;
    if (!shots.empty())
        last = std::max(last, shots.rbegin()->first);
    return last;
}
