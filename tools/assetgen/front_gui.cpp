// The menu pictures: backgrounds, the parchment sheets the menus are written on, the
// big title buttons, the level grid's tiles and the small arrows.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"
#include "tools/assetgen/text.h"

namespace {
using namespace front;

constexpr Rgba kInkRed{135, 0, 0, 255};

Rgba Alpha(Rgba c, int a) { return Rgba{c.r, c.g, c.b, static_cast<std::uint8_t>(a)}; }

Canvas TitleBackground() {
    Canvas c(640, 480);
    const int horizon = 300;
    Sky(c, horizon, DuskSky(), 260, 41);
    Moon(c, 520, 92, 26);
    Ridge(c, horizon, 60, 110, Mix(style::kDusk, style::kNight, 0.45), 42);
    Ridge(c, horizon, 34, 70, Mix(style::kNight, style::kInk, 0.4), 43);
    Canvas keep = Keep(150, true, Mix(style::kNight, style::kInk, 0.6));
    c.Draw(keep, 14, horizon - 150);
    ReflectLake(c, horizon, 44);
    // The keep's lamp lays a warm path on the water.
    for (int y = horizon + 4; y < 480; y += 4)
        c.BlendRect(100 - (y - horizon) / 6, y, 10 + (y - horizon) / 4, 1, Rgba{242, 172, 64, 50});
    for (int y = horizon + 4; y < 480; y += 5)
        c.BlendRect(508 - (y - horizon) / 6, y, 24 + (y - horizon) / 3, 2, Rgba{255, 236, 196, 40});
    // Reeds along the near shore, right and left corners.
    Random rng(45);
    for (int i = 0; i < 60; ++i) {
        double x = i < 30 ? rng.Unit() * 120 : 520 + rng.Unit() * 120;
        double len = 30 + rng.Unit() * 70;
        double bend = (rng.Unit() - 0.5) * 20;
        c.Line(x, 480, x + bend, 480 - len, 1.6, Mix(style::kInk, style::kNight, 0.3));
        if (i % 4 == 0)
            c.FillCircle(x + bend, 480 - len, 2.5, Mix(style::kCrate, style::kInk, 0.5));
    }
    // Vignette so the sheets in front stand out.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double dx = (x - 320) / 320.0, dy = (y - 240) / 240.0;
            double v = std::max(0.0, std::hypot(dx, dy) - 0.7);
            if (v > 0)
                c.Blend(x, y, Rgba{0, 0, 0, static_cast<std::uint8_t>(std::min(160.0, v * 220))});
        }
    return c;
}

// The game's name over a quill, as it is written on every menu.
void TitleLettering(const AssetContext& ctx, Canvas& c, int centreX, int y, int size) {
    int width = DrawShadowedText(ctx, c, "QUILLMERE", size, centreX, y, style::kParchment, 3, TextAlign::Center);
    if (width < 0) {
        width = size * 4;
        c.FillRect(centreX - size * 2, y + size / 2, size * 4, 4, style::kAmber);
    }
    double nib = centreX - width / 2.0 - size * 0.3;
    DrawQuill(c, nib - size * 0.9, y + size * 1.05, nib, y - size * 0.05, size * 0.3, Rgba{236, 228, 210, 230}, style::kAmber);
    // The interface font stands tall in its box: the rule goes under the whole box.
    const int rule = y + size * 5 / 4 + 6;
    c.FillRect(centreX - size * 2, rule, size * 4, 2, Alpha(style::kAmber, 200));
    c.FillCircle(centreX, rule + 1, 4, style::kAmber);
}

Canvas TitleMenu(const AssetContext& ctx) {
    Canvas c(640, 480);
    TitleLettering(ctx, c, 320, 22, 62);
    ParchmentSheet(c, 55, 120, 530, 290, 51);
    return c;
}

Canvas Scanlines(int frame) {
    Canvas c(640, 480);
    for (int y = frame; y < 480; y += 3)
        c.FillRect(0, y, 640, 1, Rgba{0, 0, 16, 26});
    return c;
}

enum class Icon { Play, Settings, Exit };

Canvas MenuButton(Icon icon, bool selected) {
    Canvas c(150, 150);
    if (selected)
        Glow(c, 75, 75, 75, style::kAmber, 90);
    Rgba face = selected ? Mix(style::kDusk, style::kPanel, 0.2) : style::kPanel;
    DrawPanel(c, 8, 8, 134, 134, face, selected ? Mix(style::kAmber, style::kParchment, 0.3) : style::kAmber);
    c.VerticalGradient(12, 12, 126, 40, Alpha(Mix(face, style::kParchment, 0.14), 255), face);
    Rgba ink = selected ? Mix(style::kAmber, style::kParchment, 0.25) : style::kParchment;
    switch (icon) {
    case Icon::Play:
        // A crate with the arrow of the fall pressing down on it.
        DrawCrate(c, 51, 78, 48);
        DrawArrow(c, 75, 48, 44, 38, 90, selected ? style::kAmber : Mix(style::kAmber, style::kParchment, 0.2));
        for (int i = 0; i < 3; ++i)
            c.BlendRect(40 + i * 30, 130, 12, 2, Alpha(ink, 120));
        break;
    case Icon::Settings: {
        // A cogwheel with an inkwell's round heart.
        for (int t = 0; t < 10; ++t) {
            double a = t * 3.141592653589793 / 5;
            c.Line(75 + std::cos(a) * 30, 75 + std::sin(a) * 30, 75 + std::cos(a) * 44, 75 + std::sin(a) * 44, 12, ink);
        }
        c.FillCircle(75, 75, 34, ink);
        c.FillCircle(75, 75, 15, face);
        c.FillCircle(75, 75, 8, style::kAmber);
        break;
    }
    case Icon::Exit: {
        // An open door with the night outside.
        c.FillRect(45, 32, 60, 88, Mix(style::kCrate, style::kInk, 0.4));
        c.VerticalGradient(51, 38, 48, 82, style::kNight, style::kDusk);
        c.FillCircle(84, 56, 8, style::kParchment);
        c.FillCircle(88, 53, 7, style::kNight);
        c.FillPolygon({{51, 38}, {70, 46}, {70, 128}, {51, 120}}, Mix(style::kCrate, style::kParchment, selected ? 0.35 : 0.15));
        c.FillCircle(65, 86, 2.5, style::kAmber);
        c.FillRect(36, 120, 78, 4, ink);
        break;
    }
    }
    return c;
}

// The level grid's tile: a square of parchment with an amber edge, where the number is written.
Canvas LevelTile() {
    Canvas c(56, 56);
    DrawPanel(c, 0, 0, 56, 56, style::kParchment, style::kAmber);
    c.VerticalGradient(3, 3, 50, 50, style::kParchment, Mix(style::kParchment, style::kCrate, 0.3));
    c.Grain(3, 3, 50, 50, 4, 61);
    c.BlendRect(3, 50, 50, 3, Rgba{0, 0, 0, 40});
    c.BlendRect(50, 3, 3, 50, Rgba{0, 0, 0, 30});
    c.BlendRect(6, 6, 44, 1, Alpha(kInkRed, 40));
    return c;
}

Canvas Unavailable() {
    Canvas c(56, 56);
    DrawPanel(c, 0, 0, 56, 56, Alpha(style::kNight, 225), Alpha(Mix(style::kAmber, style::kNight, 0.5), 255));
    // A small padlock.
    c.Ring(28, 23, 8, 3, style::kStone);
    c.FillRect(17, 24, 22, 17, Mix(style::kStone, style::kInk, 0.2));
    c.FillRect(17, 24, 22, 3, Mix(style::kStone, style::kParchment, 0.3));
    c.FillCircle(28, 31, 2.5, style::kInk);
    c.FillRect(27, 31, 2, 6, style::kInk);
    return c;
}

Canvas LevelPar() {
    Canvas c(56, 56);
    // A gilt border and a star in the corner: the page was solved within its par.
    c.Ring(28, 28, 23, 2.2, Alpha(style::kAmber, 200));
    for (int i = 0; i < 4; ++i)
        c.FillRect(i < 2 ? 3 : 45, i % 2 ? 45 : 3, 8, 8, Alpha(style::kAmber, 130));
    std::vector<std::pair<double, double>> star;
    for (int k = 0; k < 10; ++k) {
        double a = -3.141592653589793 / 2 + k * 3.141592653589793 / 5, r = k % 2 ? 3.5 : 8.5;
        star.emplace_back(45 + std::cos(a) * r, 45 + std::sin(a) * r);
    }
    c.FillPolygon(star, style::kAmber);
    return c;
}

Canvas LevelDone() {
    Canvas c(56, 56);
    // A wash of ink and a tick in the corner: the page was solved, though over its par.
    c.BlendRect(3, 3, 50, 50, Alpha(kInkRed, 28));
    c.Ring(45, 45, 8.5, 1.8, Alpha(kInkRed, 210));
    c.Line(40.5, 45.5, 43.8, 49, 2.4, kInkRed);
    c.Line(43.8, 49, 49.5, 40.5, 2.4, kInkRed);
    return c;
}

Canvas LevelHinted() {
    Canvas c(56, 56);
    // A faint wash and, in the corner, the hint's own amber arrow on its ink rim: the page
    // was solved by following the arrows.
    c.BlendRect(3, 3, 50, 50, Alpha(style::kTeal, 26));
    DrawArrow(c, 44, 45, 17, 15, 0, style::kInk);
    DrawArrow(c, 43.5, 45, 14, 12, 0, style::kAmber);
    return c;
}

Canvas LevelSelector() {
    Canvas c(64, 64);
    Glow(c, 32, 32, 44, style::kAmber, 50);
    for (int y = 4; y < 60; ++y)
        for (int x = 4; x < 60; ++x)
            c.Set(x, y, Rgba{0, 0, 0, 0});
    DrawPanel(c, 0, 0, 64, 64, Rgba{0, 0, 0, 0}, style::kAmber);
    for (int y = 4; y < 60; ++y)
        for (int x = 4; x < 60; ++x)
            c.Set(x, y, Rgba{0, 0, 0, 0});
    c.FillRect(2, 2, 60, 1, Mix(style::kAmber, style::kParchment, 0.5));
    return c;
}

Canvas ArrowButton(int degrees) {
    Canvas c(24, 24);
    c.FillCircle(12, 12, 11, style::kPanel);
    c.Ring(12, 12, 10.5, 1.5, style::kAmber);
    DrawArrow(c, 12 + (degrees == 0 ? 1 : -1), 12, 14, 12, degrees, style::kParchment);
    return c;
}

Canvas LevelSelectMenu(const AssetContext& ctx) {
    Canvas c(640, 480);
    // The grid sits on its own sheet; the header names what the cells are.
    ParchmentSheet(c, 6, 110, 366, 366, 71);
    if (DrawShadowedText(ctx, c, "THE LEDGER", 44, 190, 30, style::kParchment, 3, TextAlign::Center) < 0)
        c.FillRect(90, 60, 200, 3, style::kAmber);
    c.FillRect(110, 96, 160, 2, Alpha(style::kAmber, 200));
    DrawQuill(c, 40, 96, 78, 30, 12, Rgba{236, 228, 210, 220}, style::kAmber);
    ParchmentSheet(c, 382, 8, 252, 466, 72);
    InkWell(c, 405, 71, 210, 158);
    // The frame is empty until a level with a preview is chosen: a faint quill waits there.
    DrawQuill(c, 470, 200, 560, 100, 16, Rgba{236, 228, 210, 60}, Alpha(style::kAmber, 80));
    c.BlendRect(400, 62, 220, 1, Alpha(kInkRed, 80));
    c.BlendRect(400, 318, 220, 1, Alpha(kInkRed, 80));
    c.BlendRect(400, 390, 220, 1, Alpha(kInkRed, 60));
    return c;
}

Canvas SettingsMenu() {
    Canvas c(640, 480);
    ParchmentSheet(c, 66, 48, 508, 396, 81);
    c.BlendRect(120, 118, 400, 1, Alpha(kInkRed, 90));
    c.BlendRect(120, 252, 400, 1, Alpha(kInkRed, 70));
    c.BlendRect(100, 336, 440, 1, Alpha(kInkRed, 70));
    // Wells for the two volumes, the action and its key.
    for (int x : {190, 390})
        c.BlendRect(x, 298, 64, 30, Alpha(style::kCrate, 60));
    c.BlendRect(114, 384, 130, 32, Alpha(style::kCrate, 45));
    c.BlendRect(270, 384, 164, 32, Alpha(style::kCrate, 45));
    // The window size has a well of its own; the quill keeps to the corner by the title.
    c.BlendRect(400, 200, 132, 28, Alpha(style::kCrate, 60));
    DrawQuill(c, 462, 108, 530, 56, 10, Rgba{92, 40, 34, 70}, Alpha(kInkRed, 80));
    return c;
}

Canvas CreditsMenu() {
    Canvas c(640, 480);
    ParchmentSheet(c, 56, 44, 528, 392, 91);
    c.BlendRect(140, 108, 360, 1, Alpha(kInkRed, 90));
    for (int y : {203, 292}) {
        c.BlendRect(200, y, 240, 1, Alpha(kInkRed, 70));
        c.FillCircle(320, y, 2.5, Alpha(style::kAmber, 220));
    }
    c.BlendRect(140, 384, 360, 1, Alpha(kInkRed, 60));
    return c;
}

void Generate(const AssetContext& ctx) {
    ctx.WriteGamePng("GUI/TitleScreenBG.png", TitleBackground());
    ctx.WriteGamePng("GUI/TitleScreenMenu.png", TitleMenu(ctx));
    for (int i = 0; i < 3; ++i)
        ctx.WriteGamePng("GUI/Scanlines" + std::to_string(i) + ".png", Scanlines(i));
    const std::pair<Icon, const char*> buttons[] = {{Icon::Play, "Play"}, {Icon::Settings, "Settings"}, {Icon::Exit, "Exit"}};
    for (auto [icon, name] : buttons) {
        ctx.WriteGamePng(std::string("GUI/MenuButton") + name + ".png", MenuButton(icon, false));
        ctx.WriteGamePng(std::string("GUI/MenuButton") + name + "Selected.png", MenuButton(icon, true));
    }
    ctx.WriteGamePng("GUI/LevelSelectMenu.png", LevelSelectMenu(ctx));
    ctx.WriteGamePng("GUI/LevelSelectButton.png", LevelTile());
    ctx.WriteGamePng("GUI/Unavailable.png", Unavailable());
    ctx.WriteGamePng("GUI/LevelPar.png", LevelPar());
    ctx.WriteGamePng("GUI/LevelDone.png", LevelDone());
    ctx.WriteGamePng("GUI/LevelHinted.png", LevelHinted());
    ctx.WriteGamePng("GUI/LevelSelector.png", LevelSelector());
    ctx.WriteGamePng("GUI/ButtonLeft.png", ArrowButton(180));
    ctx.WriteGamePng("GUI/ButtonRight.png", ArrowButton(0));
    ctx.WriteGamePng("GUI/SettingsMenu.png", SettingsMenu());
    ctx.WriteGamePng("GUI/CreditsMenu.png", CreditsMenu());
}

RegisterAssetGroup frontGui("front_gui", Generate);

}  // namespace
