#pragma once
// Owners for the SDL handles the game frees itself, so that who frees one is in its type.
#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
// Freeing drops one of SDL's references: a shared surface goes with its last owner.
using SurfaceHandle = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

struct FontDeleter {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
// Must be let go before TTF_Quit.
using FontHandle = std::unique_ptr<TTF_Font, FontDeleter>;
