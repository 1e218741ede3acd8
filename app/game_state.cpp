#include "app/game_state.h"

#include <array>
#include <cstddef>

#include "app/input.h"

namespace {
constexpr std::size_t kScreenCount = 8;

struct Machine {
    GameState state = GameState::Intro;
    std::array<Screen, kScreenCount> screens;
    bool cameFromEditor = false;
};

Machine& TheMachine() {
    static Machine machine;
    return machine;
}

Screen& ScreenOf(GameState state) {
    return TheMachine().screens[static_cast<std::size_t>(static_cast<std::int32_t>(state) + 1)];
}
}  // namespace

void RegisterScreen(GameState state, Screen screen) { ScreenOf(state) = std::move(screen); }

GameState CurrentState() { return TheMachine().state; }

void SetState(GameState next) {
    ConsumeEvents();
    if (const Screen& leaving = ScreenOf(TheMachine().state); leaving.exit)
        leaving.exit();
    TheMachine().state = next;
    if (const Screen& entering = ScreenOf(next); entering.enter)
        entering.enter();
}

bool UpdateCurrentScreen() {
    const Screen& screen = ScreenOf(TheMachine().state);
    return !screen.update || screen.update();
}

void SettleCurrentScreen() {
    if (const Screen& screen = ScreenOf(TheMachine().state); screen.settle)
        screen.settle();
}

void ResetGameState() {
    Machine& machine = TheMachine();
    machine.state = GameState::Intro;
    machine.cameFromEditor = false;
    for (const Screen& screen : machine.screens)
        if (screen.reset)
            screen.reset();
}

bool CameFromEditor() { return TheMachine().cameFromEditor; }
void SetCameFromEditor(bool fromEditor) { TheMachine().cameFromEditor = fromEditor; }
