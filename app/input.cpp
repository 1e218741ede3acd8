#include "app/input.h"

#include <algorithm>
#include <array>
#include <deque>

#include "platform/app_focus.h"

namespace {

struct Binding {
    std::string action;
    int sym;
};

struct InputState {
    std::vector<SDL_Event> eventList;
    MousePosition mousePosition;
    std::uint32_t heldMouseButtons = 0;
    std::vector<Binding> keyBindings;
    std::deque<int> secretHistoryA;
    std::deque<int> secretHistoryB;
    bool secretAEntered = false;
    bool secretBEntered = false;
};

InputState& Input() {
    static InputState state;
    return state;
}

constexpr std::array<int, 10> kSecretA = {274, 276, 274, 275, 273, 273, 276, 275, 'm', 'k'};
constexpr std::array<int, 15> kSecretB = {'o', 'p', 'e', 'n', ' ', 't', 'h', 'e', ' ', 'a', 'r', 'b', 'o', 'r', 's'};

// A sequence counts only in a frame in which its history overflowed.
template <std::size_t N>
bool Watch(std::deque<int>& history, const std::array<int, N>& sequence, int key) {
    history.push_back(key);
    if (history.size() <= N)
        return false;
    history.pop_front();
    if (!std::equal(sequence.begin(), sequence.end(), history.begin()))
        return false;
    history.clear();
    return true;
}

void RecordEvent(InputState& in, const SDL_Event& event) {
    in.eventList.push_back(event);
    if (event.type == SDL_MOUSEMOTION && platform::HasMouseFocus())
        in.mousePosition = MousePosition{event.motion.x, event.motion.y};
    if ((event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) && event.button.button < 32) {
        const std::uint32_t bit = 1u << event.button.button;
        if (event.type == SDL_MOUSEBUTTONDOWN)
            in.heldMouseButtons |= bit;
        else
            in.heldMouseButtons &= ~bit;
    }
}

}  // namespace

void PumpEvents() {
    InputState& in = Input();
    in.eventList.clear();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        RecordEvent(in, event);
    int k = FirstKeyDown();
    if (k == -1)
        return;
    if (Watch(in.secretHistoryA, kSecretA, k))
        in.secretAEntered = true;
    if (Watch(in.secretHistoryB, kSecretB, k))
        in.secretBEntered = true;
}

void ConsumeEvents() { Input().eventList.clear(); }
void InjectEvent(const SDL_Event& event) { RecordEvent(Input(), event); }
const std::vector<SDL_Event>& FrameEvents() { return Input().eventList; }

bool EventOccurred(std::uint8_t type) {
    const auto& events = Input().eventList;
    return std::any_of(events.begin(), events.end(), [type](const SDL_Event& e) { return e.type == type; });
}

static bool HasKeyEvent(std::uint8_t type, int sym) {
    const auto& events = Input().eventList;
    return std::any_of(events.begin(), events.end(),
                       [&](const SDL_Event& e) { return e.type == type && static_cast<int>(e.key.keysym.sym) == sym; });
}

static bool HasButtonEvent(std::uint8_t type, int button) {
    const auto& events = Input().eventList;
    return std::any_of(events.begin(), events.end(),
                       [&](const SDL_Event& e) { return e.type == type && e.button.button == button; });
}

bool KeyPressed(int sym) { return HasKeyEvent(SDL_KEYDOWN, sym); }
bool KeyReleased(int sym) { return HasKeyEvent(SDL_KEYUP, sym); }
bool MouseButtonPressed(int button) { return HasButtonEvent(SDL_MOUSEBUTTONDOWN, button); }
bool MouseButtonReleased(int button) { return HasButtonEvent(SDL_MOUSEBUTTONUP, button); }
bool MouseButtonHeld(int button) {
    return button >= 0 && button < 32 && (Input().heldMouseButtons & (1u << button)) != 0;
}

int FirstKeyDown() {
    for (const SDL_Event& e : Input().eventList)
        if (e.type == SDL_KEYDOWN)
            return static_cast<int>(e.key.keysym.sym);
    return -1;
}

bool TakeAltEnter() {
    auto& events = Input().eventList;
    const auto altEnter = [](const SDL_Event& e) {
        return e.type == SDL_KEYDOWN && (e.key.keysym.mod & KMOD_ALT) != 0 &&
               (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER);
    };
    return std::erase_if(events, altEnter) > 0;
}

MousePosition GetMousePosition() { return Input().mousePosition; }

bool ActionPressed(const std::string& name) {
    if (name == "anykey")
        return EventOccurred(SDL_KEYDOWN);
    int sym = BindingKey(name);
    return sym != -1 && KeyPressed(sym);
}

bool ActionReleased(const std::string& name) {
    int sym = BindingKey(name);
    return sym != -1 && KeyReleased(sym);
}

int BindingKey(const std::string& name) {
    for (const Binding& b : Input().keyBindings)
        if (b.action == name)
            return b.sym;
    return -1;
}

void SetBinding(const std::string& name, int sym) {
    auto& bindings = Input().keyBindings;
    std::erase_if(bindings, [&](const Binding& b) { return b.action == name; });
    bindings.push_back(Binding{name, sym});
}

std::vector<std::string> BindingNames() {
    std::vector<std::string> names;
    for (const Binding& b : Input().keyBindings)
        names.push_back(b.action);
    return names;
}

void ClearBindings() { Input().keyBindings.clear(); }

bool SecretAEntered() { return Input().secretAEntered; }
bool SecretBEntered() { return Input().secretBEntered; }

void ClearSecrets() {
    Input().secretAEntered = false;
    Input().secretBEntered = false;
}

void ResetSecretHistories() {
    Input().secretHistoryA.clear();
    Input().secretHistoryB.clear();
    ClearSecrets();
}

namespace {
bool cursorShown = true;
}

void SetCursorShown(bool shown) { cursorShown = shown; }
bool CursorShown() { return cursorShown; }
