// The dialog box with its speaker screen, flag window and animations, and what the play
// screen lays over the board: the turn counter, the hint plaque and arrow, the outcome panel.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"

namespace {

constexpr Rgba kScreenDark{10, 18, 26, 255};
constexpr Rgba kGlow{120, 214, 208, 255};

// Soft horizontal scanlines over a screen area.
void Scanlines(Canvas& c, int x, int y, int w, int h, std::uint8_t alpha) {
    for (int j = y; j < y + h; j += 2)
        c.BlendRect(x, j, w, 1, Rgba{0, 0, 0, alpha});
}

// A recessed screen: dark bezel, inner glass, a little glare in the top-left corner.
void ScreenBezel(Canvas& c, int x, int y, int w, int h) {
    c.FillRect(x, y, w, h, Mix(style::kInk, style::kNight, 0.5));
    c.FillRect(x + 1, y + 1, w - 2, 1, Mix(style::kInk, style::kAmber, 0.25));
    c.FillRect(x + 1, y + h - 2, w - 2, 1, Mix(style::kPanel, style::kParchment, 0.2));
    c.FillRect(x + 6, y + 6, w - 12, h - 12, kScreenDark);
}

// Paper with deckle-soft edges and grain, for the text.
void Parchment(Canvas& c, int x, int y, int w, int h, std::uint32_t seed) {
    Rgba paper = style::kParchment;
    Rgba edge = Mix(paper, style::kCrate, 0.35);
    c.FillRect(x, y, w, h, paper);
    for (int i = 0; i < 6; ++i) {
        Rgba shade = Mix(edge, paper, i / 6.0);
        c.FillRect(x + i, y + i, w - 2 * i, 1, shade);
        c.FillRect(x + i, y + h - 1 - i, w - 2 * i, 1, shade);
        c.FillRect(x + i, y + i, 1, h - 2 * i, shade);
        c.FillRect(x + w - 1 - i, y + i, 1, h - 2 * i, shade);
    }
    Random rng(seed);
    // Faint fibres.
    for (int i = 0; i < w * h / 300; ++i) {
        double fx = x + 6 + rng.Unit() * (w - 12), fy = y + 6 + rng.Unit() * (h - 12);
        double len = 3 + rng.Unit() * 9, a = rng.Unit() * 3.14;
        c.Line(fx, fy, fx + std::cos(a) * len, fy + std::sin(a) * len, 0.6, Rgba{150, 110, 70, 22});
    }
    c.Grain(x, y, w, h, 4, seed);
}

Canvas DialogBox() {
    Canvas c(640, 160);
    DrawPanel(c, 0, 0, 640, 160, style::kPanel, style::kAmber);
    c.Grain(2, 2, 636, 156, 3, 41);
    Parchment(c, 8, 6, 472, 148, 42);
    // A quill resting in the paper's corner, faint enough to write over.
    DrawQuill(c, 300, 150, 470, 88, 12, Rgba{120, 80, 60, 34}, Rgba{120, 80, 60, 40});
    ScreenBezel(c, 484, 4, 152, 152);
    // Rivets on the speaker screen's frame.
    for (auto [rx, ry] : {std::pair{487, 7}, std::pair{632, 7}, std::pair{487, 152}, std::pair{632, 152}})
        c.FillCircle(rx + 0.5, ry + 0.5, 1.6, style::kAmber);
    return c;
}

Canvas FlagWindow() {
    Canvas c(150, 110);
    DrawPanel(c, 0, 0, 150, 110, style::kPanel, style::kAmber);
    c.FillRect(4, 4, 142, 102, Mix(style::kInk, style::kNight, 0.5));
    c.FillRect(5, 5, 140, 100, kScreenDark);
    c.Grain(0, 0, 150, 110, 2, 43);
    return c;
}

// The speaker screen warming up: a spark, a line, then the lit glass.
Canvas TurnOn() {
    Canvas c(420, 140, kScreenDark);
    // Frame 0: a spark in the middle of the dark glass.
    for (int r = 14; r > 0; r -= 2)
        c.FillCircle(70, 70, r, Rgba{kGlow.r, kGlow.g, kGlow.b, static_cast<std::uint8_t>(40 + (14 - r) * 12)});
    c.FillCircle(70, 70, 2, style::kParchment);
    // Frame 1: the spark drawn out into a bright line.
    for (int h = 10; h > 0; h -= 2)
        c.BlendRect(140 + 8, 70 - h, 124, 2 * h, Rgba{kGlow.r, kGlow.g, kGlow.b, 30});
    c.FillRect(140 + 4, 69, 132, 2, style::kParchment);
    // Frame 2: the whole glass lit, brighter in the middle.
    for (int j = 0; j < 140; ++j) {
        double t = 1.0 - std::abs(j - 70) / 70.0;
        c.FillRect(280, j, 140, 1, Mix(Mix(style::kLake, style::kTeal, 0.4), kGlow, 0.15 + 0.45 * t));
    }
    Scanlines(c, 0, 0, 420, 140, 40);
    return c;
}

// Snow on the glass, one deterministic field per frame, with a rolling bright band.
Canvas Static(int frameWidth, int frameHeight, std::uint32_t seed) {
    Canvas c(frameWidth * 5, frameHeight);
    Random rng(seed);
    for (int f = 0; f < 5; ++f) {
        int band = (f * frameHeight) / 5;
        for (int j = 0; j < frameHeight; ++j) {
            double lift = std::max(0.0, 1.0 - std::abs(j - band) / 10.0) * 60;
            for (int i = 0; i < frameWidth; ++i) {
                int v = rng.Range(0, 170) + static_cast<int>(lift);
                Rgba snow = Mix(kScreenDark, Mix(kGlow, style::kParchment, 0.4), std::min(1.0, v / 230.0));
                c.Set(f * frameWidth + i, j, snow);
            }
        }
    }
    Scanlines(c, 0, 0, frameWidth * 5, frameHeight, 50);
    return c;
}

// A small amber arrow pointing down, bobbing by two pixels between its frames.
Canvas ContinueArrow() {
    Canvas c(36, 18);
    for (int f = 0; f < 2; ++f) {
        double y = 9 + f * 2;
        DrawArrow(c, f * 18 + 9, y - 1, 13, 12, 90, Mix(style::kInk, style::kEmber, 0.3));
        DrawArrow(c, f * 18 + 9, y - 2, 12, 11, 90, f == 0 ? style::kAmber : Mix(style::kAmber, style::kEmber, 0.4));
    }
    return c;
}

// The turn counter: a parchment plaque hanging from the top edge of the screen.
Canvas Counter() {
    Canvas c(256, 48);
    DrawPanel(c, 0, -8, 256, 56, style::kPanel, style::kAmber);
    Parchment(c, 6, 2, 244, 38, 44);
    // The four gravity directions on each side of the count.
    for (int side = 0; side < 2; ++side) {
        double cx = side == 0 ? 26 : 230, cy = 21;
        for (int d = 0; d < 360; d += 90) {
            double a = d * 3.141592653589793 / 180.0;
            DrawArrow(c, cx + std::cos(a) * 7, cy + std::sin(a) * 7, 8, 7, d, Mix(style::kPanel, style::kParchment, 0.3));
        }
        c.FillCircle(cx, cy, 2, style::kAmber);
    }
    c.FillCircle(8.5, 42.5, 1.8, style::kAmber);
    c.FillCircle(247.5, 42.5, 1.8, style::kAmber);
    return c;
}

// A small lantern, the apprentice's, standing on (cx, bottom): the sign of a hint.
void Lantern(Canvas& c, double cx, double bottom, double height) {
    const double w = height * 0.55, top = bottom - height;
    front::Glow(c, cx, bottom - height * 0.45, height * 0.9, style::kAmber, 90);
    c.Ring(cx, top + height * 0.06, height * 0.14, 1.4, Mix(style::kInk, style::kPanel, 0.4));
    c.FillRect(static_cast<int>(cx - w * 0.35), static_cast<int>(top + height * 0.16), static_cast<int>(w * 0.7),
               static_cast<int>(height * 0.1), Mix(style::kInk, style::kPanel, 0.4));
    c.FillRect(static_cast<int>(cx - w / 2), static_cast<int>(top + height * 0.26), static_cast<int>(w),
               static_cast<int>(height * 0.6), Mix(style::kAmber, style::kParchment, 0.35));
    c.FillRect(static_cast<int>(cx - 0.5), static_cast<int>(top + height * 0.26), 1, static_cast<int>(height * 0.6),
               Mix(style::kInk, style::kPanel, 0.4));
    c.FillRect(static_cast<int>(cx - w * 0.6), static_cast<int>(bottom - height * 0.14), static_cast<int>(w * 1.2),
               static_cast<int>(height * 0.14), Mix(style::kInk, style::kPanel, 0.4));
}

// The hint's plaque: a sister of the counter hanging from the top edge, with a lantern where
// the counter has its arrows.
Canvas HintPlaque() {
    Canvas c(372, 48);
    DrawPanel(c, 0, -8, 372, 56, style::kPanel, style::kAmber);
    Parchment(c, 6, 2, 360, 38, 47);
    Lantern(c, 24, 34, 26);
    c.FillCircle(8.5, 42.5, 1.8, style::kAmber);
    c.FillCircle(363.5, 42.5, 1.8, style::kAmber);
    return c;
}

// The hint's arrow over the board, pointing right (the game turns it): amber on an ink rim,
// its amber see-through so the pieces under it still show.
Canvas HintArrow() {
    const int size = 128;
    Canvas solid(size, size);
    front::Glow(solid, 64, 64, 62, style::kAmber, 60);
    DrawArrow(solid, 64, 64, 112, 96, 0, style::kInk);
    DrawArrow(solid, 62, 64, 98, 82, 0, style::kAmber);
    // Light along the upper edge of the shaft and head, as on the menu's arrows.
    DrawArrow(solid, 60, 60, 80, 52, 0, Mix(style::kAmber, style::kParchment, 0.45));
    DrawArrow(solid, 62, 64, 78, 50, 0, style::kAmber);
    Canvas inside(size, size);
    DrawArrow(inside, 62, 64, 98, 82, 0, style::kParchment);
    Canvas c(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba p = solid.Get(x, y);
            const double fill = inside.Get(x, y).a / 255.0;
            p.a = static_cast<std::uint8_t>(p.a * (0.92 - 0.2 * fill));
            c.Set(x, y, p);
        }
    return c;
}

// The outcome of a level, written on a sheet of the menus' parchment (its shadow included).
// The sheet is 430x164; below the rule there is room for the keys on one line or two.
Canvas OutcomePanel() {
    Canvas c(440, 176);
    front::ParchmentSheet(c, 0, 0, 430, 164, 48);
    // A rule between what happened and the keys.
    c.BlendRect(120, 70, 190, 1, Rgba{135, 0, 0, 110});
    c.FillCircle(215, 70.5, 2.5, style::kAmber);
    return c;
}

// An animation is read as one file per frame: "Name0.png", "Name1.png", ... beside the
// name the program asks for.
void WriteFrames(const AssetContext& ctx, const std::string& path, const Canvas& strip, int frames) {
    int w = strip.Width() / frames;
    std::string stem = path.substr(0, path.rfind('.'));
    for (int f = 0; f < frames; ++f) {
        Canvas frame(w, strip.Height());
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < w; ++x)
                frame.Set(x, y, strip.Get(f * w + x, y));
        ctx.WriteGamePng(stem + std::to_string(f) + ".png", frame);
    }
}

void Generate(const AssetContext& ctx) {
    ctx.WriteGamePng("GUI/DialogBox.png", DialogBox());
    ctx.WriteGamePng("GUI/DialogFlagWindow.png", FlagWindow());
    WriteFrames(ctx, "GUI/DialogIcons/TurnOn.png", TurnOn(), 3);
    WriteFrames(ctx, "GUI/DialogContinue.png", ContinueArrow(), 2);
    WriteFrames(ctx, "GUI/DialogIcons/FlagStatic.png", Static(140, 100, 45), 5);
    WriteFrames(ctx, "GUI/DialogIcons/IconStatic.png", Static(140, 140, 46), 5);
    ctx.WriteGamePng("GUI/Counter.png", Counter());
    ctx.WriteGamePng("GUI/HintPlaque.png", HintPlaque());
    ctx.WriteGamePng("GUI/HintArrow.png", HintArrow());
    ctx.WriteGamePng("GUI/OutcomePanel.png", OutcomePanel());
}

RegisterAssetGroup dialog("dialog", Generate);

}  // namespace
