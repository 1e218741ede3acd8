#include "tools/assetgen/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>

namespace {
// One handle per size for the whole run, closed when the generator ends.
struct OpenFonts {
    ~OpenFonts() {
        for (auto& [size, font] : bySize)
            if (font)
                TTF_CloseFont(font);
    }
    std::map<int, TTF_Font*> bySize;
};

TTF_Font* Font(const AssetContext& ctx, int pointSize) {
    static OpenFonts open;
    std::map<int, TTF_Font*>& fonts = open.bySize;
    if (auto it = fonts.find(pointSize); it != fonts.end())
        return it->second;
    if (!TTF_WasInit() && TTF_Init() < 0)
        return nullptr;
    std::string path = (ctx.fontSource / "Qhytsdakx.ttf").string();
    TTF_Font* font = TTF_OpenFont(path.c_str(), pointSize);
    fonts[pointSize] = font;
    return font;
}
}  // namespace

int DrawText(const AssetContext& ctx, Canvas& canvas, const std::string& text, int pointSize, int x, int y, Rgba colour,
             TextAlign align) {
    TTF_Font* font = Font(ctx, pointSize);
    if (!font)
        return -1;
    if (text.empty())
        return 0;
    SDL_Color c{colour.r, colour.g, colour.b, 0};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), c);
    if (!rendered)
        return -1;
    SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, rendered->w, rendered->h, 32, 0x000000ff, 0x0000ff00,
                                             0x00ff0000, 0xff000000);
    SDL_SetAlpha(rendered, 0, 255);
    SDL_BlitSurface(rendered, nullptr, rgba, nullptr);
    int left = align == TextAlign::Left ? x : align == TextAlign::Center ? x - rendered->w / 2 : x - rendered->w;
    SDL_LockSurface(rgba);
    for (int j = 0; j < rgba->h; ++j) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(rgba->pixels) + j * rgba->pitch;
        for (int i = 0; i < rgba->w; ++i) {
            const std::uint8_t* p = row + i * 4;
            canvas.Blend(left + i, y + j, Rgba{colour.r, colour.g, colour.b, static_cast<std::uint8_t>(p[3] * colour.a / 255)});
        }
    }
    SDL_UnlockSurface(rgba);
    int width = rendered->w;
    SDL_FreeSurface(rgba);
    SDL_FreeSurface(rendered);
    return width;
}

int DrawShadowedText(const AssetContext& ctx, Canvas& canvas, const std::string& text, int pointSize, int x, int y,
                     Rgba colour, int shadow, TextAlign align) {
    DrawText(ctx, canvas, text, pointSize, x + shadow, y + shadow, Rgba{0, 0, 0, 150}, align);
    return DrawText(ctx, canvas, text, pointSize, x, y, colour, align);
}
