#include "platform/fatal_error.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstring>

namespace platform {

namespace {
bool errorWaits = true;

bool RealWindowOpen() {
    char driver[32] = {0};
    if (SDL_GetVideoSurface() == nullptr || SDL_VideoDriverName(driver, sizeof driver) == nullptr)
        return false;
    return std::strcmp(driver, "dummy") != 0;
}

void DrawLine(SDL_Surface* screen, TTF_Font* font, const std::string& text, int y) {
    if (text.empty())
        return;
    SDL_Color white{255, 255, 255, 0};
    if (SDL_Surface* line = TTF_RenderText_Blended(font, text.c_str(), white)) {
        SDL_Rect at{20, static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(line, nullptr, screen, &at);
        SDL_FreeSurface(line);
    }
}

// Splits the text into lines that fit the window, breaking at spaces where it can.
void DrawWrapped(SDL_Surface* screen, TTF_Font* font, const std::string& text, int y) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        line += text[i];
        int w = 0, h = 0;
        TTF_SizeText(font, line.c_str(), &w, &h);
        if (w > 600) {
            std::size_t space = line.rfind(' ');
            std::string rest;
            if (space != std::string::npos && space > 0) {
                rest = line.substr(space + 1);
                line.erase(space);
            } else {
                rest = line.substr(line.size() - 1);
                line.pop_back();
            }
            DrawLine(screen, font, line, y);
            y += TTF_FontLineSkip(font);
            line = rest;
        }
    }
    DrawLine(screen, font, line, y);
}

void ShowInWindow(const std::string& title, const std::string& text) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 60, 10, 20));
    bool ttfStarted = TTF_WasInit() != 0 || TTF_Init() == 0;
    TTF_Font* font = ttfStarted ? TTF_OpenFont("GUI/Qhytsdakx.ttf", 22) : nullptr;
    if (font) {
        DrawLine(screen, font, title, 20);
        DrawWrapped(screen, font, text, 70);
        DrawLine(screen, font, "Press any key to close.", 430);
        TTF_CloseFont(font);
    }
    SDL_Flip(screen);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Event event;
    while (SDL_WaitEvent(&event)) {
        if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_QUIT)
            break;
    }
}
}  // namespace

void SetFatalErrorWaits(bool waits) { errorWaits = waits; }

void ReportFatalError(const std::string& title, const std::string& text) {
    std::printf("%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stdout);
    if (errorWaits && RealWindowOpen())
        ShowInWindow(title, text);
}

}  // namespace platform
