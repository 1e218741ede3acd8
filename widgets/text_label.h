#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>

#include "platform/sdl_handles.h"
#include "world/image.h"

// Every piece of text is drawn with this one font file, relative to the game folder.
const std::string& InterfaceFontPath();
// Throws "Failed to open font <path>!" as std::string.
FontHandle OpenFont(const std::string& path, int pointSize);

// A piece of text on screen: one line, or word-wrapped into a box. Text is rendered only
// when it or its colour changes, so labels can be given the same text every frame.
class TextLabel {
public:
    TextLabel();
    TextLabel(const TextLabel&) = delete;
    TextLabel& operator=(const TextLabel&) = delete;

    // These take effect at the next render (or draw, for box and centring).
    void setPosition(int newX, int newY);
    void setBoxWidth(int width) { boxWidth = width; }
    void setCentred(bool flag) { centred = flag; }
    void setWrap(bool flag) { wrap = flag; }
    void setDepth(int value) { depth = value; }
    void setFont(const std::string& path, int pointSize);

    void setText(const std::string& newText);
    void setColour(SDL_Color newColour);
    void draw();

    // Wrapping may have hyphenated it.
    const std::string& getText() const { return text; }
    // The rendered text, or null when there is none.
    const SDL_Surface* getSurface() const { return surface.get(); }

private:
    void render();
    void renderWrapped();
    int measure(const std::string& s) const;
    void freeSurface();

    std::string text;
    FontHandle font;
    SDL_Color colour{0, 0, 0, 0};
    SurfaceHandle surface;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t boxWidth = -1;
    std::int32_t depth = 0;
    bool centred = false;
    bool wrap = false;

    // What draw queues: made from the surface once per render and clipping.
    Image shown;
    bool shownValid = false;
    std::int32_t shownBox = 0;
    std::int32_t shownOffset = 0;
};
