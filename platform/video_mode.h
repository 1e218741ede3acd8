#pragma once
// Every window surface the program opens goes through here.
#include <SDL.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {

// The SDL runtime never frees the surface SDL_SetVideoMode makes, not even in SDL_Quit. The
// leak checker passes over what this one call allocates and still reports every other leak,
// the library's included.
inline SDL_Surface* SetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler libraryKeepsIt;
#endif
    return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

}  // namespace platform
