#include "content/settings_file.h"

#include "app/input.h"

void LoadSettings() {
    const struct {
        const char* action;
        int sym;
    } defaults[] = {{"Up", 273},          {"Down", 274},       {"Right", 275},       {"Left", 276},
                    {"Action 1", 32},     {"Skip Dialog", 99}, {"Restart", 114},     {"Mute Music", 109},
                    {"Save Replay", 290}, {"Load Replay", 291}, {"Screenshot", 316}};
    for (const auto& d : defaults)
        SetBinding(d.action, d.sym);
}
void SaveSettings() {}
