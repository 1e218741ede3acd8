#include "platform/app_focus.h"

#include <SDL.h>

namespace platform {

namespace {
bool scriptedFocus = false;
}

bool HasMouseFocus() {
    return scriptedFocus || (SDL_GetAppState() & SDL_APPMOUSEFOCUS) != 0;
}

void SetScriptedFocus(bool focused) { scriptedFocus = focused; }

}  // namespace platform
