// The pictures the program shows before anything else: loading screen, cursor, icons.
#include "tools/assetgen/art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"
#include "tools/assetgen/text.h"

namespace {

Canvas LoadingScreen(const AssetContext& ctx) {
    Canvas c(640, 480);
    DrawDuskScene(c, 330, 7);
    // The moon and its path on the water.
    for (int r = 60; r > 28; r -= 4)
        c.FillCircle(470, 120, r, Rgba{255, 236, 190, 6});
    c.FillCircle(470, 120, 28, style::kParchment);
    c.FillCircle(480, 112, 24, Rgba{232, 214, 176, 120});
    for (int y = 336; y < 480; y += 5)
        c.BlendRect(470 - (y - 330) / 5 - 10, y, 20 + (y - 330) / 3, 2, Rgba{255, 230, 170, 70});
    // The game's motif: a quill over a column of falling crates.
    DrawQuill(c, 150, 400, 250, 140, 38, Rgba{236, 228, 210, 235}, style::kAmber);
    for (int i = 0; i < 3; ++i) {
        int x = 300 + i * 4, y = 190 + i * 46;
        for (int s = 1; s <= 4; ++s)
            c.BlendRect(x + 8 + s * 6, y - 10 - s * 9, 2, 8, Rgba{242, 172, 64, static_cast<std::uint8_t>(140 - s * 30)});
        DrawCrate(c, x, y, 40);
    }
    DrawArrow(c, 372, 250, 56, 26, 90, Rgba{242, 172, 64, 220});
    if (DrawShadowedText(ctx, c, "QUILLMERE", 64, 320, 40, style::kParchment, 3, TextAlign::Center) < 0) {
        // No font yet: an amber rule stands in for the title.
        c.FillRect(200, 70, 240, 4, style::kAmber);
    }
    DrawPanel(c, 220, 420, 200, 22, Rgba{20, 18, 40, 200}, style::kAmber);
    DrawText(ctx, c, "Loading...", 18, 320, 421, style::kParchment, TextAlign::Center);
    return c;
}

Canvas Cursor() {
    Canvas c(14, 19);
    std::vector<std::pair<double, double>> arrow = {{0.5, 0.5}, {0.5, 16.5}, {4.5, 12.8}, {7.6, 18.5},
                                                    {10.2, 17.2}, {7.2, 11.6}, {12.8, 11.6}};
    c.FillPolygon(arrow, style::kInk);
    std::vector<std::pair<double, double>> inner = {{1.8, 3.2}, {1.8, 13.6}, {4.9, 10.8}, {8.1, 16.6},
                                                    {8.8, 16.2}, {5.7, 10.4}, {10, 10.4}};
    c.FillPolygon(inner, style::kParchment);
    c.Blend(2, 4, style::kAmber, 0.8);
    c.Blend(2, 5, style::kAmber, 0.6);
    return c;
}

Canvas Icon(int size) {
    Canvas c(size, size);
    DrawPanel(c, 0, 0, size, size, style::kNight, style::kAmber);
    int crate = size * 9 / 16;
    DrawCrate(c, (size - crate) / 2, size / 8, crate);
    DrawArrow(c, size / 2.0, size * 0.82, size * 0.28, size * 0.3, 90, style::kAmber);
    return c;
}

void Generate(const AssetContext& ctx) {
    ctx.WriteGamePng("GUI/Loading.png", LoadingScreen(ctx));
    ctx.WriteGamePng("GUI/Cursor.png", Cursor());
    ctx.WriteResourcePng("icon16.png", Icon(16));
    ctx.WriteResourcePng("icon32.png", Icon(32));
    // The desktop's menus and launchers pick from the usual sizes of the icon theme.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        ctx.WriteResourcePng("icons/hicolor/" + dim + "/apps/quillmere.png", Icon(size));
    }
}

RegisterAssetGroup spine("spine", Generate);

}  // namespace
