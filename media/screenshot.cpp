#include "media/screenshot.h"

#include <SDL.h>

#include <cstdio>

#include "world/render.h"

namespace {
bool Exists(const std::string& name) {
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}
}  // namespace

std::string NextScreenshotName() {
    // A deleted shot's number is free again; the numbers of shots still present are never reused.
    for (unsigned long n = 0;; ++n) {
        std::string name = "Screenshot" + std::to_string(n) + ".bmp";
        if (!Exists(name))
            return name;
    }
}

void SaveScreenshot() {
    if (SDL_Surface* screen = ScreenSurface())
        SDL_SaveBMP(screen, NextScreenshotName().c_str());
}
