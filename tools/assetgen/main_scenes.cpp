// The campaign's larger pictures: one backdrop per chapter, the two speakers of its dialogs
// and the small scenes (flags) that sit beside their words.
//
// The backdrops lie under the pieces, so they are painted as full scenes and then quietened:
// pulled toward the ink of the night, with no bright spot left where a piece could stand.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"

namespace {

using namespace front;
using Points = std::vector<std::pair<double, double>>;

constexpr double kPi = 3.141592653589793;
const std::string kArt = "Modules/Main/Art/";

constexpr Rgba kPaper{252, 242, 214, 255};
constexpr Rgba kSkin{214, 160, 120, 255};
const Rgba kSilhouette = Mix(style::kNight, style::kInk, 0.7);
const Rgba kRim = Mix(style::kAmber, style::kEmber, 0.3);

Rgba Alpha(Rgba c, int a) {
    c.a = static_cast<std::uint8_t>(std::clamp(a, 0, 255));
    return c;
}

// ---- shapes shared by the backdrops and the flags ----

// Reeds: a stalk bending a little, two blades and, now and then, a seed head.
void Reed(Canvas& c, double x, double baseY, double height, double bend, double width, Rgba colour, bool head) {
    const int steps = 10;
    double px = x, py = baseY;
    for (int k = 1; k <= steps; ++k) {
        double t = static_cast<double>(k) / steps;
        double nx = x + bend * t * t, ny = baseY - height * t;
        c.Line(px, py, nx, ny, width * (1.1 - 0.5 * t), colour);
        px = nx;
        py = ny;
    }
    // Blades leaving the stalk low down and arching out.
    for (int side = -1; side <= 1; side += 2) {
        double bx = x + bend * 0.04, by = baseY - height * 0.2;
        double lx = bx, ly = by;
        for (int k = 1; k <= 8; ++k) {
            double t = k / 8.0;
            double nx = bx + side * height * 0.22 * t, ny = by - height * 0.45 * t + height * 0.22 * t * t;
            c.Line(lx, ly, nx, ny, width * 0.8 * (1 - t * 0.7), colour);
            lx = nx;
            ly = ny;
        }
    }
    if (head) {
        double hx = x + bend * 0.7, hy = baseY - height * 0.82;
        c.FillPolygon({{hx - width * 1.3, hy + height * 0.08}, {hx - width * 1.1, hy - height * 0.05}, {hx + width * 1.1, hy - height * 0.06},
                       {hx + width * 1.3, hy + height * 0.07}},
                      colour);
    }
}

// A heron standing in the shallows, facing left, `h` pixels tall.
void Heron(Canvas& c, double x, double baseY, double h, Rgba colour) {
    const double s = h / 100.0;
    auto P = [&](double px, double py) { return std::make_pair(x + px * s, baseY - py * s); };
    // Legs.
    c.Line(P(2, 0).first, P(2, 0).second, P(4, 42).first, P(4, 42).second, 1.8 * s + 0.6, colour);
    c.Line(P(12, 0).first, P(12, 0).second, P(9, 42).first, P(9, 42).second, 1.8 * s + 0.6, colour);
    // Body, a long teardrop tilted toward the tail.
    c.FillPolygon({P(-10, 62), P(-2, 70), P(14, 68), P(30, 58), P(36, 50), P(22, 44), P(4, 42), P(-8, 50)}, colour);
    // The S of the neck and the head with its dagger bill.
    c.FillPolygon({P(-8, 62), P(-14, 74), P(-10, 86), P(-14, 96), P(-22, 99), P(-26, 96), P(-20, 92), P(-16, 86), P(-20, 76), P(-16, 64)},
                  colour);
    c.FillPolygon({P(-24, 98), P(-44, 94), P(-24, 94.5)}, colour);
    c.Line(P(-18, 97).first, P(-18, 97).second, P(-8, 99).first, P(-8, 99).second, 1.0 * s + 0.4, colour);
}

// A wooden mooring post with a rope looped round it.
void Post(Canvas& c, double x, double waterY, double h, double w, Rgba colour, Rgba rim) {
    c.FillRect(static_cast<int>(x - w / 2), static_cast<int>(waterY - h), static_cast<int>(w), static_cast<int>(h), colour);
    c.FillPolygon({{x - w / 2, waterY - h}, {x, waterY - h - w * 0.35}, {x + w / 2, waterY - h}}, colour);
    c.FillRect(static_cast<int>(x - w / 2), static_cast<int>(waterY - h), 1, static_cast<int>(h), rim);
    c.Line(x - w / 2 - 1, waterY - h * 0.65, x + w / 2 + 1, waterY - h * 0.58, std::max(1.0, w * 0.18), Mix(colour, rim, 0.5));
}

// A line of hills or an island's back, as a polygon closed at `baseY`.
Points Hump(double x0, double x1, double baseY, double height, double roughness, std::uint32_t seed) {
    Random rng(seed);
    Points p{{x0, baseY}};
    const int n = 28;
    double phase = rng.Unit() * 6;
    for (int i = 0; i <= n; ++i) {
        double t = static_cast<double>(i) / n;
        double y = baseY - height * std::pow(std::sin(t * kPi), 0.6) * (1 + roughness * std::sin(t * 13 + phase) * 0.5);
        p.emplace_back(x0 + (x1 - x0) * t, y);
    }
    p.emplace_back(x1, baseY);
    return p;
}

// The moon drawn at a fraction of its strength, for pictures that must stay quiet.
void PaleMoon(Canvas& c, double cx, double cy, double radius, double strength) {
    Canvas moon(c.Width(), c.Height(), Rgba{0, 0, 0, 0});
    Moon(moon, cx, cy, radius);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Rgba p = moon.Get(x, y);
            if (p.a)
                c.Blend(x, y, Alpha(p, static_cast<int>(p.a * strength)));
        }
}

// ---- quietening ----

// Pulls every colour toward the night's ink and caps the light, so the picture sits well
// behind the pieces. A vignette darkens the corners a little more.
void Quieten(Canvas& c, double contrast, double brightness, double cap) {
    const Rgba tone = Mix(style::kNight, style::kInk, 0.3);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Rgba p = c.Get(x, y);
            auto ch = [&](int v, int t) { return t + (v - t) * contrast; };
            double r = ch(p.r, tone.r) * brightness, g = ch(p.g, tone.g) * brightness, b = ch(p.b, tone.b) * brightness;
            double l = 0.3 * r + 0.59 * g + 0.11 * b;
            if (l > cap) {
                double k = (cap + (l - cap) * 0.15) / l;
                r *= k;
                g *= k;
                b *= k;
            }
            double dx = (x - 320) / 320.0, dy = (y - 260) / 260.0;
            double v = 1.0 - std::max(0.0, std::hypot(dx, dy) - 0.65) * 0.45;
            auto out = [&](double value) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value * v)), 0, 255)); };
            c.Set(x, y, Rgba{out(r), out(g), out(b), 255});
        }
}

// ---- the five backdrops ----

// The Shore: the lake at dusk, the keep on its point to the left, the near bank below.
Canvas ShoreBackdrop() {
    Canvas c(640, 480);
    const int horizon = 236;
    Sky(c, horizon, DuskSky(), 150, 601);
    Ridge(c, horizon, 52, 120, Mix(style::kDusk, style::kNight, 0.5), 602);
    Ridge(c, horizon, 26, 70, Mix(style::kNight, style::kInk, 0.35), 603);
    // The point the keep stands on, running out into the water.
    c.FillPolygon({{0, horizon + 8.0}, {0, horizon - 20.0}, {60, horizon - 30.0}, {170, horizon - 26.0}, {250, horizon - 6.0}, {300, horizon + 4.0},
                   {0, horizon + 6.0}},
                  kSilhouette);
    // The water mirrors the keep's dark shape only; its lamps are lit after.
    c.Draw(Keep(190, false, kSilhouette), 60, horizon - 24 - 190);
    ReflectLake(c, horizon + 2, 604);
    Canvas keep = Keep(190, true, kSilhouette);
    c.Draw(keep, 60, horizon - 24 - 190);
    Glow(c, 60 + keep.Width() * 0.58, horizon - 24 - 190 * 0.55, 60, style::kAmber, 30);
    // The keep's lamp lays a faint warm path across the water.
    for (int y = horizon + 6; y < 400; y += 5)
        c.BlendRect(150 - (y - horizon) / 5, y, 12 + (y - horizon) / 4, 1, Rgba{242, 172, 64, 26});
    // The near bank: stones and tufts of grass along the foot.
    c.FillPolygon({{0, 480}, {0, 424}, {90, 410}, {210, 420}, {330, 432}, {470, 424}, {560, 414}, {640, 420}, {640, 480}}, Mix(kSilhouette, style::kDusk, 0.1));
    Random rng(605);
    for (int i = 0; i < 26; ++i) {
        double x = rng.Unit() * 640, y = 430 + rng.Unit() * 40, r = 6 + rng.Unit() * 14;
        c.FillPolygon({{x - r, y + r * 0.3}, {x - r * 0.7, y - r * 0.4}, {x + r * 0.2, y - r * 0.55}, {x + r, y - r * 0.1}, {x + r * 0.8, y + r * 0.35}},
                      Mix(kSilhouette, style::kStone, 0.12 + rng.Unit() * 0.08));
        c.Line(x - r * 0.6, y - r * 0.42, x + r * 0.1, y - r * 0.55, 1.0, Alpha(kRim, 40));
    }
    for (int i = 0; i < 50; ++i) {
        double x = rng.Unit() * 640;
        Reed(c, x, 424 + rng.Unit() * 10, 14 + rng.Unit() * 18, (rng.Unit() - 0.5) * 10, 1.2, Mix(kSilhouette, style::kTeal, 0.12), false);
    }
    Quieten(c, 0.55, 0.78, 62);
    return c;
}

// The Reeds: beds of reeds either side of open water, posts to moor at, a heron waiting.
Canvas ReedsBackdrop() {
    Canvas c(640, 480);
    const int horizon = 200;
    SkyColours sky{style::kNight, Mix(style::kDusk, style::kTeal, 0.25), Mix(style::kEmber, style::kDusk, 0.45)};
    Sky(c, horizon, sky, 120, 611);
    Ridge(c, horizon, 30, 90, Mix(style::kDusk, style::kNight, 0.55), 612);
    // Far reed beds along the horizon.
    Random rng(613);
    const Rgba far = Mix(style::kNight, style::kTeal, 0.18), near = Mix(kSilhouette, style::kTeal, 0.1);
    for (int i = 0; i < 220; ++i) {
        double x = rng.Unit() * 640;
        if (x > 250 && x < 420 && rng.Unit() < 0.8)
            continue;
        Reed(c, x, horizon + 2, 16 + rng.Unit() * 22, (rng.Unit() - 0.5) * 8, 1.0, far, rng.Unit() < 0.2);
    }
    ReflectLake(c, horizon + 2, 614);
    // Mooring posts standing in the open water, with their reflections.
    for (auto [x, h, w] : {std::array<double, 3>{300, 110, 12}, std::array<double, 3>{352, 90, 10}, std::array<double, 3>{396, 70, 8}}) {
        double waterY = 330 + (x - 300) * -0.4;
        Canvas post(40, static_cast<int>(h) + 12);
        Post(post, 20, h + 10, h, w, near, Alpha(kRim, 90));
        DrawReflected(c, post, static_cast<int>(x - 20), static_cast<int>(waterY - h - 10), 0.35);
    }
    // Reed beds crowding in from both sides, thick at the foot.
    for (int i = 0; i < 260; ++i) {
        bool left = i % 2 == 0;
        double depth = rng.Unit();
        double x = left ? -20 + std::pow(rng.Unit(), 1.4) * 260 : 660 - std::pow(rng.Unit(), 1.4) * 250;
        double baseY = 300 + depth * 200;
        double height = 90 + depth * 200 + rng.Unit() * 60;
        Rgba colour = Mix(far, near, depth);
        Reed(c, x, baseY, height, (rng.Unit() - 0.5) * 50, 1.4 + depth * 2.2, colour, rng.Unit() < 0.35);
        if (rng.Unit() < 0.3)
            c.Line(x - 1.5, baseY - height * 0.2, x + (rng.Unit() - 0.5) * 40, baseY - height, 0.8, Alpha(kRim, 35));
    }
    // The heron, standing in the shallows on the right.
    Canvas heron(120, 150);
    Heron(heron, 71, 145, 130, Alpha(kRim, 90));
    Heron(heron, 70, 146, 130, Mix(kSilhouette, style::kDusk, 0.25));
    DrawReflected(c, heron, 380, 372 - 146, 0.3);
    Quieten(c, 0.55, 0.8, 60);
    return c;
}

// The Glasshouse: inside, under iron ribs and old panes, ferns grown tall along the glass and
// green things climbing; a faint light from somewhere among them.
Canvas GlasshouseBackdrop() {
    Canvas c(640, 480);
    // Outside the glass: the night lake.
    Sky(c, 330, NightSky(), 140, 621);
    Ridge(c, 330, 40, 90, Mix(style::kNight, style::kTeal, 0.2), 622);
    ReflectLake(c, 330, 623);
    // The glass itself, old and greened.
    c.BlendRect(0, 0, 640, 480, Rgba{60, 120, 120, 60});
    const Rgba iron = Mix(kSilhouette, style::kTeal, 0.12), ironLit = Mix(iron, style::kTeal, 0.5);
    // Panes: tall arches in a row, with glazing bars across them.
    const int bays = 5, bayW = 128, springY = 120;
    for (int b = 0; b < bays; ++b) {
        double x0 = b * bayW, x1 = x0 + bayW, mid = (x0 + x1) / 2;
        for (int k = 0; k <= 24; ++k) {
            double a0 = kPi + kPi * k / 24.0, a1 = kPi + kPi * (k + 1) / 24.0;
            c.Line(mid + std::cos(a0) * bayW / 2, springY + std::sin(a0) * bayW * 0.55, mid + std::cos(a1) * bayW / 2,
                   springY + std::sin(a1) * bayW * 0.55, 7, iron);
        }
        c.FillRect(static_cast<int>(x0) - 4, springY, 8, 480 - springY, iron);
        c.FillRect(static_cast<int>(x0) - 4, springY, 2, 480 - springY, Alpha(ironLit, 120));
        // Glazing bars, faint: a bright grid behind the board would read as more walls.
        for (int m = 1; m < 4; ++m)
            c.FillRect(static_cast<int>(x0 + m * bayW / 4.0) - 1, springY - 40, 2, 480 - springY + 40, Alpha(iron, 90));
        for (int r = 0; r < 6; ++r)
            c.FillRect(static_cast<int>(x0), springY + r * 56, bayW, 1, Alpha(iron, 70));
        // A few panes clouded or missing.
        Random rng(624 + b);
        for (int k = 0; k < 3; ++k) {
            int px = static_cast<int>(x0 + rng.Range(0, 3) * bayW / 4.0) + 2, py = springY + rng.Range(0, 4) * 56 + 3;
            c.BlendRect(px, py, bayW / 4 - 4, 52, rng.Unit() < 0.5 ? Rgba{150, 200, 190, 18} : Rgba{10, 10, 20, 35});
        }
    }
    // The roof's ribs over the arches and the dark above them.
    c.VerticalGradient(0, 0, 640, 40, Alpha(iron, 255), Alpha(iron, 0));
    // The floor of old boards.
    c.VerticalGradient(0, 412, 640, 68, Mix(style::kCrate, style::kInk, 0.78), Mix(style::kCrate, style::kInk, 0.88));
    for (int x = -300; x < 940; x += 48)
        c.Line(320 + (x - 320) * 0.6, 412, x, 480, 1, Rgba{0, 0, 0, 60});
    // Ferns grown tall against the glass on either side: soft fronds, nothing square to stand on.
    const Rgba leaf = Mix(Rgba{70, 120, 80, 255}, style::kInk, 0.55);
    Random rng(629);
    for (double base : {20.0, 70.0, 570.0, 618.0})
        for (int f = 0; f < 9; ++f) {
            double a = -kPi / 2 + (rng.Unit() - 0.5) * 1.9, len = 90 + rng.Unit() * 110;
            double px = base, py = 440;
            for (int k = 1; k <= 12; ++k) {
                double t = k / 12.0;
                double nx = base + std::cos(a) * len * t + std::sin(t * 3) * 6, ny = 440 + std::sin(a) * len * t + t * t * 40;
                c.Line(px, py, nx, ny, 2.4 - t * 1.4, leaf);
                if (k % 2 == 0)
                    c.Line(nx, ny, nx + (f % 2 ? 7 : -7), ny + 5, 1.6, leaf);
                px = nx;
                py = ny;
            }
        }
    // Vines hanging from the ribs.
    for (int v = 0; v < 9; ++v) {
        double x = 30 + v * 71 + rng.Unit() * 20, len = 80 + rng.Unit() * 160;
        double px = x, py = 60;
        for (int k = 1; k <= 20; ++k) {
            double t = k / 20.0;
            double nx = x + std::sin(t * 5 + v) * 8, ny = 60 + len * t;
            c.Line(px, py, nx, ny, 1.3, leaf);
            if (k % 3 == 0)
                c.FillCircle(nx + (k % 2 ? 3 : -3), ny, 2.6, leaf);
            px = nx;
            py = ny;
        }
    }
    // Light from the thing that took root, somewhere in the middle of it all: faint.
    Glow(c, 320, 300, 300, Rgba{200, 240, 170, 255}, 28);
    Quieten(c, 0.45, 0.8, 56);
    return c;
}

// Moonlit Water: open lake at night, the moon's path on it and, far off, a small warm light.
Canvas NightBackdrop() {
    Canvas c(640, 480);
    const int horizon = 250;
    Sky(c, horizon, NightSky(), 260, 631);
    Ridge(c, horizon, 28, 120, Mix(style::kNight, style::kDusk, 0.3), 632);
    Ridge(c, horizon, 14, 60, Mix(style::kNight, style::kInk, 0.4), 633);
    ReflectLake(c, horizon, 634);
    // Up in the strip above the board, so it never shines behind a piece.
    PaleMoon(c, 120, 22, 15, 1.0);
    // The moon's path, broken by the swell.
    Random rng(635);
    for (int y = horizon + 3; y < 480; y += 3) {
        double spread = 6 + (y - horizon) * 0.35;
        for (int k = 0; k < 3; ++k) {
            double x = 120 + (rng.Unit() - 0.5) * spread * 2;
            c.BlendRect(static_cast<int>(x), y, 3 + rng.Range(0, static_cast<int>(spread / 3)), 1, Rgba{220, 230, 255, 40});
        }
    }
    // Swells: long low lines across the water.
    for (int i = 0; i < 40; ++i) {
        double y = horizon + 20 + std::pow(rng.Unit(), 0.7) * 220, x = rng.Unit() * 640, len = 40 + (y - horizon) * 0.8;
        c.Line(x, y, x + len, y, 1.0, Rgba{150, 170, 220, 22});
    }
    // The light across the water, where the chapter is going.
    Glow(c, 520, horizon - 3, 30, style::kAmber, 80);
    c.FillCircle(520, horizon - 3, 1.5, Mix(style::kAmber, kPaper, 0.5));
    for (int y = horizon + 2; y < horizon + 60; y += 3)
        c.BlendRect(518 - (y - horizon) / 12, y, 4 + (y - horizon) / 6, 1, Rgba{242, 172, 64, static_cast<std::uint8_t>(40 - (y - horizon) / 2)});
    Quieten(c, 0.6, 0.82, 58);
    return c;
}

// The Last Island: a lone tree on its back with the quill's glint in its crown, the moon behind.
Canvas IslandBackdrop() {
    Canvas c(640, 480);
    const int horizon = 300;
    Sky(c, horizon, NightSky(), 240, 641);
    PaleMoon(c, 470, 120, 44, 0.2);
    // The island, near and wide.
    Points island = Hump(60, 600, horizon + 1, 70, 0.25, 643);
    c.FillPolygon(island, kSilhouette);
    // A lone bent tree on the island's back, the quill's glint caught in its crown: nothing in
    // it is square, so nothing behind the board reads as a crate or a wall.
    ReflectLake(c, horizon, 642);
    const Rgba bark = Mix(kSilhouette, style::kDusk, 0.12);
    const double baseX = 300, baseY = horizon - 50;
    double tipX = baseX, tipY = baseY;
    for (int k = 1; k <= 14; ++k) {
        double t = k / 14.0;
        double nx = baseX + std::sin(t * 2.2) * 26, ny = baseY - t * 150;
        c.Line(tipX, tipY, nx, ny, 7 - t * 5, bark);
        tipX = nx;
        tipY = ny;
    }
    Random branches(645);
    for (int k = 0; k < 7; ++k) {
        double t = 0.35 + k * 0.09, y = baseY - t * 150, x = baseX + std::sin(t * 2.2) * 26;
        double dir = k % 2 ? 1 : -1, len = 24 + branches.Unit() * 30;
        c.Line(x, y, x + dir * len, y - len * 0.5, 2.2 - t, bark);
        c.Line(x + dir * len * 0.6, y - len * 0.3, x + dir * len * 0.8, y - len * 0.75, 1.2, bark);
    }
    Glow(c, tipX, tipY, 50, style::kAmber, 60);
    DrawQuill(c, tipX - 4, tipY + 6, tipX + 8, tipY - 14, 4, Mix(kPaper, kSilhouette, 0.3), Mix(style::kAmber, kSilhouette, 0.3));
    // Rocks along the island's shore, and the near water's swell.
    Random rng(644);
    for (int i = 0; i < 40; ++i) {
        double x = 80 + rng.Unit() * 500, y = horizon + rng.Unit() * 6, r = 3 + rng.Unit() * 7;
        c.FillCircle(x, y, r, Mix(kSilhouette, style::kStone, 0.1));
    }
    for (int i = 0; i < 60; ++i) {
        double y = horizon + 20 + std::pow(rng.Unit(), 0.7) * 170, x = rng.Unit() * 640, len = 30 + (y - horizon) * 0.7;
        c.Line(x, y, x + len, y, 1.0, Rgba{150, 170, 220, 24});
    }
    Quieten(c, 0.6, 0.82, 58);
    return c;
}

// ---- the speakers ----

// A face lit from one side: an ellipse shaded as a rounded form. (lx, ly) is where the light
// comes from, as a direction on screen.
void LitFace(Canvas& c, double cx, double cy, double rx, double ry, double lx, double ly, Rgba lit, Rgba shade) {
    const double lz = 0.55, ln = std::sqrt(lx * lx + ly * ly + lz * lz);
    for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y)
        for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry, r2 = nx * nx + ny * ny;
            if (r2 > 1.0)
                continue;
            double nz = std::sqrt(1 - r2);
            double light = std::max(0.0, (nx * lx + ny * ly + nz * lz) / ln);
            double edge = std::min(1.0, (1 - std::sqrt(r2)) * rx);
            c.Blend(x, y, Mix(shade, lit, std::pow(light, 1.2)), edge);
        }
}

// The screen behind a speaker: dusk fading up to ink, with the warm light on one side.
void PortraitGround(Canvas& c, double lightX, double lightY) {
    c.VerticalGradient(0, 0, 140, 140, Mix(style::kNight, style::kInk, 0.4), Mix(style::kDusk, style::kNight, 0.35));
    Glow(c, lightX, lightY, 120, style::kAmber, 70);
    c.Grain(0, 0, 140, 140, 3, 701);
}

// The old keeper: hood up, long white beard, his staff in hand, lit from a candle below left.
Canvas KeeperIcon() {
    Canvas c(140, 140);
    PortraitGround(c, 10, 130);
    const Rgba cloak{46, 40, 78, 255}, cloakDark{26, 22, 46, 255}, rimLight = Mix(style::kAmber, style::kEmber, 0.2);
    // The staff, behind his shoulder, with its worn knob.
    const Rgba staff = Mix(style::kCrate, style::kInk, 0.62);
    c.Line(26, 140, 34, 12, 6, staff);
    c.Line(24.2, 140, 32.2, 12, 1.4, Alpha(rimLight, 150));
    c.FillCircle(34.5, 11, 7, staff);
    c.FillCircle(33, 9.5, 3, Mix(staff, style::kAmber, 0.25));
    c.Ring(34.5, 11, 6.8, 1.2, Alpha(rimLight, 120));
    // Shoulders and the hood, a deep cowl around the face.
    c.FillPolygon({{4, 140}, {18, 104}, {40, 88}, {70, 82}, {100, 88}, {122, 104}, {136, 140}}, cloak);
    c.FillPolygon({{30, 112}, {34, 60}, {48, 28}, {70, 16}, {92, 28}, {106, 60}, {110, 112}, {92, 120}, {48, 120}}, cloak);
    c.FillPolygon({{42, 108}, {46, 62}, {56, 40}, {72, 32}, {88, 42}, {96, 64}, {98, 108}}, cloakDark);
    // Light along the hood's lit edge.
    c.Line(33, 100, 35, 62, 2, Alpha(rimLight, 170));
    c.Line(35, 62, 48, 30, 2, Alpha(rimLight, 140));
    c.Line(20, 104, 40, 89, 2, Alpha(rimLight, 140));
    // The face, in the hood's shadow, lit from low on the left.
    LitFace(c, 70, 66, 17, 22, -0.8, 0.7, Mix(kSkin, style::kAmber, 0.35), Mix(kSkin, style::kInk, 0.7));
    // Brows, heavy and white.
    c.Line(56, 56, 67, 58, 3.4, Mix(kPaper, style::kAmber, 0.25));
    c.Line(74, 58, 84, 56, 3.4, Mix(kPaper, style::kInk, 0.35));
    // Eyes half closed, kindly.
    c.Line(59, 62.5, 65, 63, 1.6, style::kInk);
    c.Line(76, 63, 82, 62.5, 1.6, style::kInk);
    c.FillCircle(62, 62.8, 0.9, Alpha(kPaper, 160));
    // Nose, lit on its left.
    c.FillPolygon({{69, 60}, {64, 74}, {70, 76}, {73, 73}}, Mix(kSkin, style::kAmber, 0.45));
    c.FillPolygon({{70, 60}, {73, 73}, {76, 73}}, Mix(kSkin, style::kInk, 0.5));
    // The beard: long, white, flowing out over the cloak.
    const Rgba beard = Mix(kPaper, style::kStone, 0.2), beardShade = Mix(kPaper, style::kDusk, 0.55);
    c.FillPolygon({{52, 70}, {56, 80}, {64, 78}, {70, 80}, {77, 78}, {86, 80}, {90, 70}, {92, 86}, {86, 104}, {78, 122}, {70, 130},
                   {62, 120}, {54, 102}, {50, 86}},
                  beardShade);
    c.FillPolygon({{52, 72}, {56, 82}, {64, 80}, {66, 96}, {64, 114}, {68, 126}, {60, 116}, {53, 100}, {50, 86}}, Mix(beard, style::kAmber, 0.2));
    for (int k = 0; k < 7; ++k) {
        double x = 56 + k * 4.5;
        c.Line(x, 84, x + (k - 3) * 1.5, 104 + (k % 3) * 7, 0.8, Alpha(Mix(beardShade, style::kInk, 0.3), 150));
    }
    // Moustache over the mouth.
    c.FillPolygon({{60, 77}, {70, 74}, {80, 77}, {84, 83}, {76, 80}, {70, 81}, {64, 80}, {56, 83}}, beard);
    // His hand on the staff.
    c.FillCircle(29, 96, 6, Mix(kSkin, style::kInk, 0.35));
    c.FillCircle(27.5, 94.5, 3.5, Mix(kSkin, style::kAmber, 0.3));
    c.Line(24, 92, 34, 92, 1.0, Alpha(style::kInk, 140));
    c.Line(24, 96, 34, 96, 1.0, Alpha(style::kInk, 140));
    return c;
}

// The apprentice: young, hood down, hair every which way, a lantern held up close.
Canvas ApprenticeIcon() {
    Canvas c(140, 140);
    PortraitGround(c, 112, 110);
    const Rgba coat{64, 54, 60, 255}, coatDark{34, 28, 40, 255}, scarf = Mix(style::kEmber, style::kInk, 0.25);
    const Rgba rimLight = Mix(style::kAmber, kPaper, 0.2);
    // Shoulders with the hood fallen back behind the neck.
    c.FillPolygon({{0, 140}, {10, 108}, {34, 94}, {70, 90}, {106, 94}, {130, 108}, {140, 140}}, coat);
    c.FillPolygon({{34, 98}, {46, 82}, {96, 82}, {106, 98}, {92, 104}, {48, 104}}, coatDark);
    c.Line(130, 108, 140, 132, 2, Alpha(rimLight, 200));
    c.Line(106, 94, 130, 108, 2, Alpha(rimLight, 170));
    // Neck and the scarf wound round it.
    c.FillRect(60, 78, 20, 16, Mix(kSkin, style::kInk, 0.5));
    c.FillPolygon({{46, 90}, {56, 82}, {86, 82}, {96, 90}, {90, 100}, {50, 100}}, scarf);
    c.FillPolygon({{80, 96}, {90, 98}, {94, 124}, {84, 126}}, scarf);
    c.Line(86, 84, 94, 92, 1.4, Alpha(rimLight, 160));
    // The face, round and young, lit from low on the right by the lantern.
    LitFace(c, 70, 58, 19, 23, 0.85, 0.6, Mix(kSkin, style::kAmber, 0.4), Mix(kSkin, style::kInk, 0.6));
    // Ears.
    c.FillCircle(51, 60, 4, Mix(kSkin, style::kInk, 0.55));
    c.FillCircle(89, 60, 4, Mix(kSkin, style::kAmber, 0.35));
    // Hair: a dark mop, tufts falling over the brow, lit at its right edge.
    const Rgba hair{52, 34, 30, 255};
    c.FillPolygon({{50, 58}, {48, 40}, {56, 30}, {70, 26}, {84, 29}, {92, 38}, {91, 58}, {86, 46}, {80, 42}, {74, 48}, {70, 42}, {64, 47},
                   {58, 42}, {54, 50}},
                  hair);
    c.FillPolygon({{56, 30}, {60, 22}, {66, 28}}, hair);
    c.FillPolygon({{76, 27}, {84, 20}, {84, 30}}, hair);
    c.Line(84, 29, 92, 40, 1.8, Alpha(rimLight, 190));
    c.Line(92, 40, 91, 56, 1.6, Alpha(rimLight, 170));
    // Eyes wide open, with the lantern in them; a quick smile.
    for (double ex : {62.0, 78.0}) {
        c.FillCircle(ex, 59, 2.6, Mix(kPaper, style::kInk, 0.15));
        c.FillCircle(ex + 0.5, 59.2, 1.7, Rgba{40, 30, 40, 255});
        c.FillCircle(ex + 1.2, 58.3, 0.7, kPaper);
    }
    c.Line(58, 53.5, 65, 52.5, 1.6, hair);
    c.Line(75, 52.5, 82, 53.5, 1.6, hair);
    c.Line(70, 60, 72, 66, 1.4, Alpha(Mix(kSkin, style::kInk, 0.5), 200));
    c.Line(72, 66, 69, 67, 1.2, Alpha(Mix(kSkin, style::kInk, 0.5), 200));
    c.Line(64, 72, 70, 74.5, 1.4, Mix(kSkin, style::kInk, 0.55));
    c.Line(70, 74.5, 77, 71.5, 1.4, Mix(kSkin, style::kInk, 0.55));
    c.FillCircle(60, 67, 3, Alpha(style::kEmber, 50));
    c.FillCircle(81, 67, 3, Alpha(style::kEmber, 60));
    // The lantern, held up by its ring in the right hand.
    Glow(c, 112, 110, 60, style::kAmber, 150);
    c.Line(112, 86, 112, 94, 1.4, Mix(style::kStone, style::kInk, 0.4));
    c.Ring(112, 84, 3.2, 1.4, Mix(style::kStone, style::kInk, 0.3));
    c.FillPolygon({{103, 73}, {119, 71}, {122, 81}, {102, 82}}, Mix(kSkin, style::kInk, 0.45));
    for (int f = 0; f < 4; ++f)
        c.FillCircle(105 + f * 4.2, 81.5 - (f == 0 || f == 3 ? 0.5 : 0), 2.5, Mix(kSkin, style::kAmber, 0.45));
    c.FillRect(102, 94, 20, 4, Mix(style::kStone, style::kInk, 0.5));
    c.FillRect(104, 98, 16, 20, Mix(style::kAmber, kPaper, 0.45));
    c.FillRect(104, 98, 2, 20, Mix(style::kStone, style::kInk, 0.5));
    c.FillRect(118, 98, 2, 20, Mix(style::kStone, style::kInk, 0.5));
    c.FillRect(111, 98, 2, 20, Alpha(Mix(style::kStone, style::kInk, 0.5), 150));
    c.FillPolygon({{110, 112}, {112, 103}, {114, 112}}, kPaper);
    c.FillRect(102, 118, 20, 4, Mix(style::kStone, style::kInk, 0.5));
    return c;
}

// ---- the flags: small scenes beside the words ----

Canvas FlagFrame() { return Canvas(140, 100, Rgba{0, 0, 0, 255}); }

Canvas ShoreFlag() {
    Canvas c = FlagFrame();
    Sky(c, 62, DuskSky(), 40, 801);
    Ridge(c, 62, 14, 30, Mix(style::kDusk, style::kNight, 0.5), 802);
    c.FillPolygon({{0, 64}, {0, 56}, {30, 52}, {70, 55}, {90, 63}}, kSilhouette);
    c.Draw(Keep(58, false, kSilhouette), 10, 62 - 6 - 58);
    ReflectLake(c, 63, 803);
    Canvas keep = Keep(58, true, kSilhouette);
    c.Draw(keep, 10, 62 - 6 - 58);
    Glow(c, 10 + keep.Width() * 0.58, 62 - 6 - 58 * 0.55, 22, style::kAmber, 70);
    for (int y = 66; y < 100; y += 3)
        c.BlendRect(38 - (y - 62) / 5, y, 4 + (y - 62) / 3, 1, Rgba{242, 172, 64, 50});
    Canvas boat = Boat(30, kSilhouette);
    DrawReflected(c, boat, 96, 78 - boat.Height());
    return c;
}

Canvas ReedsFlag() {
    Canvas c = FlagFrame();
    SkyColours sky{style::kNight, Mix(style::kDusk, style::kTeal, 0.25), Mix(style::kEmber, style::kDusk, 0.35)};
    Sky(c, 58, sky, 30, 811);
    ReflectLake(c, 58, 812);
    Random rng(813);
    for (int i = 0; i < 40; ++i) {
        double x = rng.Unit() * 140;
        Reed(c, x, 60, 6 + rng.Unit() * 8, (rng.Unit() - 0.5) * 3, 0.7, Mix(style::kNight, style::kTeal, 0.2), false);
    }
    Post(c, 64, 80, 30, 5, kSilhouette, Alpha(kRim, 120));
    Post(c, 80, 74, 20, 4, kSilhouette, Alpha(kRim, 120));
    Heron(c, 104, 86, 52, kSilhouette);
    for (int i = 0; i < 50; ++i) {
        bool left = i % 3 != 0;
        double x = left ? rng.Unit() * 44 : 124 + rng.Unit() * 20;
        Reed(c, x, 102, 34 + rng.Unit() * 40, (rng.Unit() - 0.5) * 16, 1.3, kSilhouette, rng.Unit() < 0.4);
    }
    return c;
}

Canvas GlasshouseFlag() {
    Canvas c = FlagFrame();
    Sky(c, 78, NightSky(), 30, 821);
    ReflectLake(c, 78, 822);
    // The glasshouse on the far shore, lit from within by something green and gold.
    const Rgba iron = Mix(kSilhouette, style::kTeal, 0.25);
    c.FillRect(24, 38, 92, 40, Rgba{40, 90, 90, 255});
    Glow(c, 70, 60, 46, Rgba{200, 250, 170, 255}, 150);
    Glow(c, 70, 62, 18, style::kAmber, 160);
    c.FillPolygon({{20, 40}, {70, 14}, {120, 40}}, Alpha(Rgba{40, 90, 90, 255}, 255));
    Glow(c, 70, 40, 30, Rgba{200, 250, 170, 255}, 90);
    c.Line(20, 40, 70, 14, 2, iron);
    c.Line(70, 14, 120, 40, 2, iron);
    for (int x = 24; x <= 116; x += 13)
        c.Line(x, 78, x, 40 - (x < 70 ? (x - 20) : (120 - x)) * 0.52, 1.2, iron);
    c.Line(22, 58, 118, 58, 1, iron);
    c.FillRect(20, 76, 100, 3, iron);
    // The plant inside, reaching up.
    c.Line(70, 76, 69, 54, 1.6, Rgba{90, 170, 110, 255});
    for (int p = 0; p < 5; ++p) {
        double a = p * kPi * 2 / 5;
        c.FillCircle(69 + std::cos(a) * 4, 52 + std::sin(a) * 4, 3, Rgba{255, 226, 150, 255});
    }
    c.FillCircle(69, 52, 2.5, kPaper);
    DrawCrate(c, 36, 64, 13);
    DrawCrate(c, 91, 64, 13);
    DrawCrate(c, 93, 51, 11);
    return c;
}

Canvas NightFlag() {
    Canvas c = FlagFrame();
    Sky(c, 56, NightSky(), 60, 831);
    Ridge(c, 56, 8, 30, Mix(style::kNight, style::kDusk, 0.3), 832);
    ReflectLake(c, 56, 833);
    Moon(c, 36, 22, 10);
    Random rng(834);
    for (int y = 58; y < 100; y += 2) {
        double spread = 3 + (y - 56) * 0.4;
        c.BlendRect(static_cast<int>(36 + (rng.Unit() - 0.5) * spread * 2), y, 2 + rng.Range(0, 4), 1, Rgba{230, 236, 255, 90});
    }
    Glow(c, 112, 54, 14, style::kAmber, 150);
    c.FillCircle(112, 54, 1, kPaper);
    Canvas boat = Boat(40, kSilhouette);
    Canvas rower = Figure(26, Who::Apprentice, kSilhouette, kRim, true);
    Canvas both(50, 36);
    both.Draw(rower, 14, 36 - 10 - 26 + 6);
    both.Draw(boat, 5, 36 - 10);
    DrawReflected(c, both, 62, 86 - 36, 0.4);
    return c;
}

Canvas IslandFlag() {
    Canvas c = FlagFrame();
    Sky(c, 72, NightSky(), 60, 841);
    Moon(c, 104, 26, 12);
    ReflectLake(c, 72, 842);
    c.FillPolygon(Hump(20, 124, 74, 16, 0.3, 843), kSilhouette);
    for (int i = 0; i < 6; ++i)
        TiltedCrate(c, 66 + std::sin(i * 1.4) * 2 + i * 1.2, 62 - i * 9.0, 9.5 - i * 0.4, std::sin(i * 2.3) * 9);
    Glow(c, 73, 10, 18, style::kAmber, 190);
    DrawQuill(c, 70, 12, 78, 2, 3, kPaper, style::kAmber);
    return c;
}

Canvas LedgerFlag() {
    Canvas c = FlagFrame();
    c.VerticalGradient(0, 0, 140, 100, Mix(style::kCrate, style::kInk, 0.65), style::kInk);
    Glow(c, 40, 40, 90, style::kAmber, 90);
    // The desk's edge and the open book on it.
    c.FillRect(0, 78, 140, 22, Mix(style::kCrate, style::kInk, 0.55));
    c.FillRect(0, 78, 140, 2, Mix(style::kCrate, style::kParchment, 0.2));
    OpenBook(c, 72, 38, 92, 40, 9, 851);
    c.FillPolygon({{71, 78}, {75, 78}, {76, 92}, {73, 89}, {70, 92}}, Rgba{176, 36, 40, 255});
    // A candle at its side.
    c.FillRect(14, 52, 8, 26, kPaper);
    c.FillPolygon({{15, 50}, {18, 38}, {21, 50}, {18, 53}}, style::kAmber);
    Glow(c, 18, 46, 34, style::kAmber, 120);
    c.FillCircle(18, 47, 1.5, Rgba{255, 246, 210, 255});
    DrawQuill(c, 112, 76, 132, 34, 7, kPaper, style::kAmber);
    return c;
}

Canvas QuillFlag() {
    Canvas c = FlagFrame();
    c.VerticalGradient(0, 0, 140, 100, Mix(style::kDusk, style::kNight, 0.4), style::kInk);
    Glow(c, 72, 50, 70, style::kAmber, 170);
    Glow(c, 72, 50, 28, kPaper, 90);
    DrawQuill(c, 38, 88, 106, 10, 20, kPaper, style::kAmber);
    c.FillCircle(38, 88, 2, Rgba{40, 30, 70, 255});
    Random rng(861);
    for (int i = 0; i < 14; ++i) {
        double x = 20 + rng.Unit() * 100, y = 8 + rng.Unit() * 84, r = 1 + rng.Unit() * 2.5;
        c.FillPolygon({{x - r, y}, {x, y - r}, {x + r, y}, {x, y + r}}, Alpha(kPaper, 120 + rng.Range(0, 120)));
    }
    return c;
}

// The secret rewards: a warm windowsill with grapes from the glasshouse vines and the
// keeper's tea, steaming.
Canvas SecretFlag() {
    Canvas c = FlagFrame();
    c.VerticalGradient(0, 0, 140, 100, Mix(style::kEmber, style::kDusk, 0.55), Mix(style::kCrate, style::kInk, 0.6));
    // The window behind: dusk over the lake, its frame warm wood.
    Canvas view(76, 52);
    Sky(view, 30, DuskSky(), 14, 871);
    ReflectLake(view, 30, 872);
    c.Draw(view, 32, 6);
    const Rgba frame = Mix(style::kCrate, style::kInk, 0.35);
    c.FillRect(29, 4, 82, 3, frame);
    c.FillRect(29, 4, 3, 58, frame);
    c.FillRect(108, 4, 3, 58, frame);
    c.FillRect(69, 4, 2, 58, frame);
    c.FillRect(32, 32, 76, 2, frame);
    Glow(c, 70, 80, 80, style::kAmber, 110);
    // The sill.
    c.FillRect(18, 62, 104, 8, Mix(style::kCrate, kPaper, 0.15));
    c.FillRect(18, 69, 104, 3, Mix(style::kCrate, style::kInk, 0.5));
    c.FillRect(0, 72, 140, 28, Mix(style::kDusk, style::kInk, 0.5));
    // A bunch of grapes with its vine leaf.
    const Rgba grape{120, 60, 140, 255};
    c.FillPolygon({{40, 44}, {30, 36}, {38, 32}, {44, 38}, {50, 32}, {54, 40}}, Rgba{90, 150, 80, 255});
    c.Line(44, 38, 46, 46, 1.2, Mix(style::kCrate, style::kInk, 0.4));
    const std::array<std::pair<double, double>, 12> berries = {
        {{40, 48}, {46, 48}, {52, 48}, {37, 53}, {43, 53}, {49, 53}, {55, 53}, {40, 58}, {46, 58}, {52, 58}, {43, 62}, {49, 62}}};
    for (auto [x, y] : berries) {
        c.FillCircle(x, y, 3.4, Mix(grape, style::kInk, 0.3));
        c.FillCircle(x - 0.8, y - 0.8, 2.6, grape);
        c.FillCircle(x - 1.3, y - 1.4, 0.9, Alpha(kPaper, 170));
    }
    // The teacup on its saucer, and its steam curling up past the window.
    c.FillPolygon({{78, 66}, {112, 66}, {108, 69}, {82, 69}}, Mix(kPaper, style::kStone, 0.2));
    c.FillPolygon({{82, 50}, {106, 50}, {103, 64}, {85, 64}}, kPaper);
    c.FillRect(82, 50, 24, 2, Mix(kPaper, style::kCrate, 0.4));
    c.Ring(108, 56, 4, 2, kPaper);
    c.FillRect(85, 56, 18, 2, Alpha(Rgba{176, 36, 40, 255}, 180));
    for (int s = 0; s < 3; ++s) {
        double x = 88 + s * 6;
        for (int k = 0; k < 10; ++k) {
            double y0 = 48 - k * 2.6, y1 = y0 - 2.6;
            c.Line(x + std::sin(k * 0.9 + s) * 2.5, y0, x + std::sin((k + 1) * 0.9 + s) * 2.5, y1, 1.4, Alpha(kPaper, 120 - k * 11));
        }
    }
    // A heart drawn in the steam on the pane, for whoever looks.
    Points heart;
    for (int k = 0; k < 40; ++k) {
        double t = k * 2 * kPi / 40;
        heart.emplace_back(56 + 0.28 * 16 * std::pow(std::sin(t), 3),
                           18 - 0.28 * (13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t)));
    }
    c.FillPolygon(heart, Alpha(kPaper, 90));
    return c;
}

}  // namespace

void WriteMainBackdrops(const AssetContext& ctx) {
    ctx.WriteGamePng(kArt + "ShoreBackdrop.png", ShoreBackdrop());
    ctx.WriteGamePng(kArt + "ReedsBackdrop.png", ReedsBackdrop());
    ctx.WriteGamePng(kArt + "GlasshouseBackdrop.png", GlasshouseBackdrop());
    ctx.WriteGamePng(kArt + "NightBackdrop.png", NightBackdrop());
    ctx.WriteGamePng(kArt + "IslandBackdrop.png", IslandBackdrop());
}

void WriteMainDialogPictures(const AssetContext& ctx) {
    ctx.WriteGamePng(kArt + "KeeperIcon.png", KeeperIcon());
    ctx.WriteGamePng(kArt + "ApprenticeIcon.png", ApprenticeIcon());
    ctx.WriteGamePng(kArt + "ShoreFlag.png", ShoreFlag());
    ctx.WriteGamePng(kArt + "ReedsFlag.png", ReedsFlag());
    ctx.WriteGamePng(kArt + "GlasshouseFlag.png", GlasshouseFlag());
    ctx.WriteGamePng(kArt + "NightFlag.png", NightFlag());
    ctx.WriteGamePng(kArt + "IslandFlag.png", IslandFlag());
    ctx.WriteGamePng(kArt + "LedgerFlag.png", LedgerFlag());
    ctx.WriteGamePng(kArt + "QuillFlag.png", QuillFlag());
    ctx.WriteGamePng(kArt + "SecretFlag.png", SecretFlag());
}
