#include "platform/fatal_error.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
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

// Five by seven dots a letter, each row's dots in its low five bits, leftmost highest.
// Lower case is drawn as upper case; anything else without a glyph as "?".
struct Glyph {
    char c;
    std::uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}}, {'"', {0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}},
    {'\'', {0x04, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'_', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}}, {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}}, {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {'[', {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E}}, {']', {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E}},
    {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}}, {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}}, {'<', {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}},
    {'>', {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}}, {'*', {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}},
};
constexpr int kDot = 2;                 // each dot drawn as a square this wide
constexpr int kAdvance = 6 * kDot;      // a letter and a column of space
constexpr int kLineSkip = 10 * kDot;
constexpr std::size_t kLineLetters = 600 / kAdvance;

const Glyph* GlyphFor(char c) {
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : kGlyphs)
        if (g.c == c)
            return &g;
    return nullptr;
}

void DrawBuiltInLine(SDL_Surface* screen, const std::string& text, int y) {
    const Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    int x = 20;
    for (char c : text) {
        if (c != ' ') {
            const Glyph* glyph = GlyphFor(c);
            if (glyph == nullptr)
                glyph = GlyphFor('?');
            for (int row = 0; row < 7; ++row)
                for (int column = 0; column < 5; ++column)
                    if (glyph->rows[row] & (0x10 >> column)) {
                        SDL_Rect dot{static_cast<Sint16>(x + column * kDot), static_cast<Sint16>(y + row * kDot), kDot, kDot};
                        SDL_FillRect(screen, &dot, white);
                    }
        }
        x += kAdvance;
    }
}

// Breaks at the last space that fits, or mid-word when a word is longer than a line.
void DrawBuiltInWrapped(SDL_Surface* screen, const std::string& text, int y) {
    std::size_t start = 0;
    while (start < text.size() && y < 420) {
        std::size_t end = std::min(text.size(), start + kLineLetters);
        if (end < text.size()) {
            const std::size_t space = text.rfind(' ', end);
            if (space != std::string::npos && space > start)
                end = space;
        }
        DrawBuiltInLine(screen, text.substr(start, end - start), y);
        y += kLineSkip;
        start = end < text.size() && text[end] == ' ' ? end + 1 : end;
    }
}

void ShowInWindow(const std::string& title, const std::string& text) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    DrawFatalError(screen, title, text);
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

void DrawFatalError(SDL_Surface* screen, const std::string& title, const std::string& text) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 60, 10, 20));
    bool ttfStarted = TTF_WasInit() != 0 || TTF_Init() == 0;
    TTF_Font* font = ttfStarted ? TTF_OpenFont("GUI/Qhytsdakx.ttf", 22) : nullptr;
    if (font) {
        DrawLine(screen, font, title, 20);
        DrawWrapped(screen, font, text, 70);
        DrawLine(screen, font, "Press any key to close.", 430);
        TTF_CloseFont(font);
    } else {
        DrawBuiltInLine(screen, title, 20);
        DrawBuiltInWrapped(screen, text, 70);
        DrawBuiltInLine(screen, "Press any key to close.", 430);
    }
}

void ReportFatalError(const std::string& title, const std::string& text) {
    std::printf("%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stdout);
    if (errorWaits && RealWindowOpen())
        ShowInWindow(title, text);
}

}  // namespace platform
