#pragma once
// Text in generated pictures, drawn with the interface font through SDL_ttf.
#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/generator.h"

enum class TextAlign { Left, Center, Right };

// Draws UTF-8 text with its top at y; x is the left edge, centre or right edge by `align`.
// Returns the width drawn, or -1 when the font isn't available.
int DrawText(const AssetContext& ctx, Canvas& canvas, const std::string& text, int pointSize, int x, int y, Rgba colour,
             TextAlign align = TextAlign::Left);
// Same, with a soft dark shadow offset by `shadow` pixels.
int DrawShadowedText(const AssetContext& ctx, Canvas& canvas, const std::string& text, int pointSize, int x, int y,
                     Rgba colour, int shadow, TextAlign align = TextAlign::Left);
