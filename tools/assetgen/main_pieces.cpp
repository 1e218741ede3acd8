// The campaign's pieces (module Main). Every piece is a 36-pixel square; the boxes live in
// the module's Pieces.ini, so a picture can change freely.
//
// One language for the whole board: things that move are warm, rounded and outlined in ink,
// with a drop of shadow under them; things that stay put fill their square edge to edge in
// cool stone, iron and old wood; things that others pass over are flat, half see-through and
// set into the ground. The few that matter to the story (page, inkpot, quill) carry a warm
// halo so they are found first on any backdrop.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"

// The rest of the module's pictures and its sounds, in main_scenes.cpp and main_sounds.cpp.
void WriteMainBackdrops(const AssetContext& ctx);
void WriteMainDialogPictures(const AssetContext& ctx);
void WriteMainSounds(const AssetContext& ctx);

namespace {

constexpr int kCell = 36;
constexpr double kPi = 3.141592653589793;
const std::string kArt = "Modules/Main/Art/";

using Points = std::vector<std::pair<double, double>>;

constexpr Rgba kOutline{22, 16, 28, 255};
constexpr Rgba kPaper{252, 242, 214, 255};
constexpr Rgba kSepia{92, 52, 30, 255};
constexpr Rgba kWax{176, 36, 40, 255};
constexpr Rgba kWater{70, 170, 184, 255};
constexpr Rgba kFoam{214, 246, 240, 255};

Rgba Alpha(Rgba c, int a) {
    c.a = static_cast<std::uint8_t>(std::clamp(a, 0, 255));
    return c;
}

Rgba Scaled(Rgba c, double k) {
    auto ch = [k](int v) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v * k)), 0, 255)); };
    return Rgba{ch(c.r), ch(c.g), ch(c.b), c.a};
}

Canvas Cell() { return Canvas(kCell, kCell); }

// Small deterministic noise in 0..1 for a pixel.
double Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffu) / 65535.0;
}

// A quarter turn clockwise on screen, `turns` times.
Canvas Turned(const Canvas& src, int turns) {
    Canvas out = src;
    for (int t = 0; t < ((turns % 4) + 4) % 4; ++t) {
        Canvas next(out.Height(), out.Width());
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x)
                next.Set(out.Height() - 1 - y, x, out.Get(x, y));
        out = next;
    }
    return out;
}

// Canvas::Get answers opaque black off the canvas; for outlines, off the canvas is empty.
double Coverage(const Canvas& c, int x, int y) {
    if (x < 0 || y < 0 || x >= c.Width() || y >= c.Height())
        return 0.0;
    return c.Get(x, y).a / 255.0;
}

// Everything drawn in `art` gets a thin ink outline and a soft shadow below and to the right,
// so a moving piece always reads as an object lying on top of the board.
Canvas Outlined(const Canvas& art, double outline = 0.9, double shadow = 0.45) {
    const int w = art.Width(), h = art.Height();
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = Coverage(art, x - 1, y - 2) * 0.6 + Coverage(art, x - 2, y - 3) * 0.4;
            if (s > 0)
                out.Blend(x, y, Alpha(Rgba{0, 0, 0, 255}, static_cast<int>(255 * shadow * s)));
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double edge = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    edge = std::max(edge, Coverage(art, x + dx, y + dy));
            if (edge > 0)
                out.Blend(x, y, Alpha(kOutline, static_cast<int>(255 * edge * outline)));
        }
    out.Draw(art, 0, 0);
    return out;
}

// A warm light behind a piece that matters to the story.
void Halo(Canvas& c, double strength) {
    front::Glow(c, 18, 18, 19, Mix(style::kAmber, kPaper, 0.25), strength);
}

void Sparkle(Canvas& c, double x, double y, double r, Rgba colour) {
    c.FillPolygon({{x - r, y}, {x - r * 0.18, y - r * 0.18}, {x, y - r}, {x + r * 0.18, y - r * 0.18}, {x + r, y},
                   {x + r * 0.18, y + r * 0.18}, {x, y + r}, {x - r * 0.18, y + r * 0.18}},
                  colour);
}

// ---- the things the story is about ----

Canvas PageArt() {
    Canvas art = Cell();
    const double l = 6, t = 3, r = 30, b = 33, fold = 7;
    const Rgba aged = Mix(kPaper, style::kCrate, 0.3);
    art.FillPolygon({{l, t}, {r - fold, t}, {r, t + fold}, {r, b}, {l, b}}, kPaper);
    // Warmer toward the edges, like the sheets of the menus.
    for (int y = static_cast<int>(t); y < b; ++y)
        for (int x = static_cast<int>(l); x < r; ++x) {
            Rgba p = art.Get(x, y);
            if (p.a == 0)
                continue;
            double edge = std::min({x - l, r - 1 - x, y - t, b - 1 - y});
            double k = std::clamp(1.0 - edge / 4.0, 0.0, 1.0) * 0.55 + Hash(x, y, 11) * 0.08;
            art.Set(x, y, Mix(p, aged, k));
        }
    // The dog-eared corner, folded over.
    art.FillPolygon({{r - fold, t}, {r, t + fold}, {r - fold, t + fold}}, Mix(aged, style::kCrate, 0.35));
    art.Line(r - fold, t, r - fold, t + fold, 0.8, Alpha(kSepia, 120));
    art.Line(r - fold, t + fold, r, t + fold, 0.8, Alpha(kSepia, 120));
    // The red margin rule of the Ledger and its red initial.
    art.FillRect(10, 5, 1, 27, Alpha(kWax, 120));
    art.FillRect(12, 7, 5, 5, Mix(kWax, style::kEmber, 0.3));
    art.FillRect(13, 8, 3, 3, Mix(kWax, kPaper, 0.25));
    // Lines of script: short ink strokes with little rises, so it reads as handwriting.
    const int lengths[] = {8, 14, 13, 15, 10, 14, 7};
    Random rng(17);
    for (int i = 0; i < 7; ++i) {
        double y = 9.5 + i * 3.3;
        double x0 = i < 1 ? 19.0 : 12.0, x1 = x0 + lengths[i];
        if (i == 0)
            x1 = std::min(x1, r - fold - 1.0);
        double x = x0;
        while (x < x1) {
            double seg = 1.5 + rng.Unit() * 2.5;
            double xe = std::min(x1, x + seg);
            art.Line(x, y + rng.Unit() * 0.6, xe, y - 0.4 + rng.Unit() * 0.8, 0.9, Alpha(kSepia, 210));
            x = xe + (rng.Unit() < 0.3 ? 1.4 : 0.3);
        }
    }
    Canvas c = Cell();
    Halo(c, 150);
    c.Draw(Outlined(art, 1.0, 0.35), 0, 0);
    return c;
}

// The keeper's ink: a squat glass pot, ink-dark, brass lid and a little parchment label.
Canvas InkpotWhole() {
    Canvas art = Cell();
    const Rgba ink{30, 28, 64, 255}, glass{58, 74, 120, 255}, brass = Mix(style::kAmber, style::kCrate, 0.45);
    // Body: a rounded, wide-shouldered pot.
    art.FillPolygon({{7, 33}, {6, 22}, {8, 16}, {13, 13}, {23, 13}, {28, 16}, {30, 22}, {29, 33}}, glass);
    art.FillPolygon({{8, 32}, {8, 22}, {10, 18}, {14, 16}, {22, 16}, {26, 18}, {28, 22}, {28, 32}}, ink);
    // Neck and brass lid.
    art.FillRect(13, 9, 10, 5, Mix(glass, ink, 0.4));
    art.FillRect(11, 5, 14, 5, brass);
    art.FillRect(11, 5, 14, 1, Mix(brass, kPaper, 0.5));
    art.FillRect(11, 9, 14, 1, Mix(brass, style::kInk, 0.5));
    for (int x = 13; x < 24; x += 3)
        art.FillRect(x, 6, 1, 3, Mix(brass, style::kInk, 0.35));
    // Label with a tiny quill stroke.
    art.FillRect(11, 21, 14, 9, Mix(kPaper, style::kCrate, 0.15));
    art.FillRect(11, 21, 14, 1, Mix(kPaper, style::kCrate, 0.4));
    art.Line(14, 28, 22, 23, 1.2, Alpha(kSepia, 220));
    art.Line(15, 27.5, 18, 24.5, 2.2, Alpha(kSepia, 120));
    // The glass shines where the evening catches it.
    art.Line(9.5, 19, 9.5, 30, 1.6, Alpha(Rgba{170, 210, 255, 255}, 150));
    art.Line(12, 15.5, 17, 14.5, 1.2, Alpha(Rgba{190, 220, 255, 255}, 160));
    art.FillCircle(27, 19, 1.0, Alpha(kPaper, 170));
    Canvas c = Cell();
    Halo(c, 120);
    c.Draw(Outlined(art), 0, 0);
    return c;
}

// Cracked and tipped over: the ink runs out across the floor. It stays where it broke.
Canvas InkpotSpilled() {
    Canvas c = Cell();
    const Rgba ink{30, 28, 64, 255}, glass{58, 74, 120, 255}, brass = Mix(style::kAmber, style::kCrate, 0.45);
    Canvas art = Cell();
    // The pool, glossy, spreading over the lower part of the square.
    art.FillPolygon({{1, 35}, {2, 29}, {7, 26}, {14, 27}, {20, 24}, {28, 25}, {34, 28}, {35, 35}}, Alpha(ink, 235));
    art.FillCircle(5, 27, 3, Alpha(ink, 235));
    art.FillCircle(32, 27, 2.5, Alpha(ink, 235));
    // The pot lying on its side, mouth to the right, a crack across its belly.
    art.FillPolygon({{4, 25}, {5, 16}, {9, 12}, {20, 12}, {23, 15}, {23, 25}, {9, 27}}, glass);
    art.FillPolygon({{6, 24}, {7, 17}, {10, 14}, {19, 14}, {21, 16}, {21, 24}, {9, 25}}, ink);
    art.FillRect(23, 15, 4, 8, Mix(glass, ink, 0.4));
    art.FillRect(27, 14, 3, 10, brass);
    art.FillRect(27, 14, 1, 10, Mix(brass, kPaper, 0.45));
    art.Line(10, 12.5, 13, 17, 1.0, Alpha(Rgba{200, 225, 255, 255}, 210));
    art.Line(13, 17, 11, 21, 1.0, Alpha(Rgba{200, 225, 255, 255}, 210));
    art.Line(13, 17, 17, 19, 1.0, Alpha(Rgba{200, 225, 255, 255}, 170));
    // A piece of the pot's wall broken off, and glints of glass on the wet floor.
    art.FillPolygon({{14, 30}, {18, 28}, {19, 32}}, Mix(glass, kPaper, 0.2));
    art.FillPolygon({{24, 31}, {28, 29}, {27, 33}}, Mix(glass, kPaper, 0.15));
    art.Line(4, 31, 14, 32, 1.2, Alpha(Rgba{120, 150, 220, 255}, 110));
    art.Line(20, 28.5, 31, 29.5, 1.0, Alpha(Rgba{120, 150, 220, 255}, 90));
    art.Line(7, 19, 7, 23, 1.4, Alpha(Rgba{170, 210, 255, 255}, 130));
    c.Draw(Outlined(art, 0.9, 0.3), 0, 0);
    return c;
}

Canvas QuillArt() {
    Canvas art = Cell();
    // The feather crosses the square corner to corner; its nib is gold and still wet.
    DrawQuill(art, 6.5, 31.5, 31, 3.5, 8.5, kPaper, style::kAmber);
    art.Line(6.5, 31.5, 9.5, 28, 2.2, Mix(style::kAmber, kPaper, 0.2));
    art.FillCircle(6.3, 31.8, 1.2, Rgba{40, 30, 70, 255});
    Canvas c = Cell();
    front::Glow(c, 18, 17, 20, style::kAmber, 210);
    front::Glow(c, 18, 17, 9, kPaper, 120);
    c.Draw(Outlined(art, 0.85, 0.35), 0, 0);
    Sparkle(c, 27, 24, 3.5, Alpha(kPaper, 240));
    Sparkle(c, 9, 9, 2.5, Alpha(kPaper, 200));
    Sparkle(c, 30, 11, 1.8, Alpha(style::kAmber, 230));
    return c;
}

// ---- things that move ----

Canvas CrateArt() {
    Canvas c = Cell();
    const Rgba wood = style::kCrate, dark = Mix(wood, style::kInk, 0.5), light = Mix(wood, kPaper, 0.35);
    c.FillRect(0, 0, 36, 36, kOutline);
    c.FillRect(1, 1, 34, 34, dark);
    // Boards of the face, each with a little grain of its own.
    for (int y = 5; y < 31; ++y)
        for (int x = 5; x < 31; ++x) {
            int board = (y - 5) / 9;
            double grain = 0.5 + 0.5 * std::sin(x * 0.9 + board * 2.1 + std::sin(y * 0.35 + board) * 1.6);
            Rgba p = Mix(Mix(wood, dark, 0.18 * (board % 2)), light, grain * 0.12);
            c.Set(x, y, Mix(p, dark, Hash(x, y, 3) * 0.12));
        }
    for (int k = 1; k < 3; ++k)
        c.FillRect(5, 5 + 9 * k - 1, 26, 1, Mix(wood, style::kInk, 0.4));
    // The frame: lit along the top and left, shaded bottom and right.
    for (int y = 1; y < 35; ++y)
        for (int x = 1; x < 35; ++x) {
            bool frame = x < 5 || x > 30 || y < 5 || y > 30;
            if (!frame)
                continue;
            Rgba p = Mix(wood, light, 0.25);
            if (x == 1 || y == 1)
                p = light;
            else if (x == 34 || y == 34)
                p = dark;
            else if (x == 4 || y == 4)
                p = Mix(wood, style::kInk, 0.3);
            else if (x == 31 || y == 31)
                p = Mix(wood, kPaper, 0.15);
            c.Set(x, y, Mix(p, dark, Hash(x, y, 5) * 0.1));
        }
    // The diagonal brace.
    c.Line(6, 30, 30, 6, 4.2, Mix(wood, style::kInk, 0.45));
    c.Line(6, 29.2, 29.2, 6, 2.8, Mix(wood, kPaper, 0.22));
    // Nails at the corners.
    for (auto [x, y] : {std::pair{3, 3}, std::pair{32, 3}, std::pair{3, 32}, std::pair{32, 32}}) {
        c.FillCircle(x, y, 1.2, Mix(style::kStone, style::kInk, 0.3));
        c.Set(x - 1, y - 1, Mix(style::kStone, kPaper, 0.4));
    }
    return c;
}

// A clay jar with a cream band; it breaks if it slides too far.
Canvas JarWhole() {
    Canvas art = Cell();
    const Rgba clay{190, 98, 60, 255}, dark = Mix(clay, style::kInk, 0.5), light = Mix(clay, kPaper, 0.35);
    // Belly, shoulder, neck and lip.
    art.FillCircle(18, 22.5, 12.2, clay);
    art.FillPolygon({{11, 14}, {14, 8}, {22, 8}, {25, 14}}, clay);
    art.FillRect(13, 4, 10, 5, clay);
    art.FillRect(11, 2, 14, 3, Mix(clay, kPaper, 0.15));
    art.FillRect(12, 4, 12, 1, dark);
    // Round shading: light from the upper left.
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) {
            Rgba p = art.Get(x, y);
            if (p.a == 0)
                continue;
            double d = std::hypot(x - 12.0, y - 16.0) / 20.0;
            Rgba q = d < 0.5 ? Mix(light, clay, d * 2) : Mix(clay, dark, std::min(1.0, (d - 0.5) * 1.6));
            art.Set(x, y, Mix(q, dark, Hash(x, y, 7) * 0.1));
        }
    // Handles.
    art.Ring(9, 13, 3, 1.6, dark);
    art.Ring(27, 13, 3, 1.6, dark);
    // The cream band with its zigzag.
    for (int x = 7; x <= 29; ++x) {
        double half = std::sqrt(std::max(0.0, 12.2 * 12.2 - (x + 0.5 - 18) * (x + 0.5 - 18)));
        if (half < 3)
            continue;
        art.FillRect(x, 19, 1, 4, Mix(kPaper, style::kCrate, 0.25 + std::fabs(x - 15.0) / 40.0));
        int zig = (x / 2) % 2;
        art.Set(x, 20 + zig, Mix(clay, style::kInk, 0.2));
    }
    art.Line(12, 26, 12, 30, 1.6, Alpha(kPaper, 70));
    Canvas c = Cell();
    c.Draw(Outlined(art), 0, 0);
    return c;
}

// The jar's shards, pinned where it broke and as solid as a wall: pieces of the belly set edge
// to edge into a block that fills the square, with a jagged broken rim along the top, so the
// square reads as taken, not as loose rubble to roll over.
Canvas JarShards() {
    const Rgba clay{182, 96, 62, 255}, dark = Mix(clay, style::kInk, 0.55), light = Mix(clay, kPaper, 0.32);
    const Rgba band = Mix(kPaper, style::kCrate, 0.3), mortar = Mix(dark, style::kInk, 0.45);
    Canvas art = Cell();
    art.FillPolygon({{0, 36}, {0, 7}, {4, 3}, {8, 6}, {12, 2}, {17, 5}, {21, 1}, {25, 5}, {29, 2}, {33, 6}, {36, 4}, {36, 36}}, mortar);
    struct Shard {
        double x, y, w, h, tilt;
        int tone;  // 0 clay, 1 lit clay, 2 the cream band
    };
    // Three courses of shards packed edge to edge, the band's pieces in the middle course.
    const Shard shards[] = {{6, 9, 10, 9, -0.25, 1},   {17, 8, 11, 10, 0.15, 0},  {29, 9, 11, 9, -0.1, 1},
                            {5, 20, 10, 10, 0.1, 2},   {16, 19.5, 12, 10, -0.2, 0}, {28, 20, 11, 10, 0.2, 2},
                            {7, 30.5, 12, 9, -0.1, 0}, {19, 30.5, 12, 9, 0.15, 1}, {31, 30.5, 10, 9, -0.2, 0}};
    for (const Shard& sh : shards) {
        double cs = std::cos(sh.tilt), sn = std::sin(sh.tilt);
        auto at = [&](double u, double v) { return std::make_pair(sh.x + u * cs - v * sn, sh.y + u * sn + v * cs); };
        const double hw = sh.w / 2, hh = sh.h / 2;
        Points outline{at(-hw, hh * 0.8), at(-hw * 0.8, -hh * 0.7), at(-hw * 0.1, -hh), at(hw * 0.7, -hh * 0.8), at(hw, hh * 0.3), at(hw * 0.4, hh)};
        Rgba face = sh.tone == 2 ? band : sh.tone == 1 ? Mix(clay, light, 0.5) : clay;
        art.FillPolygon(outline, Mix(face, style::kInk, 0.5));
        Points inner{at(-hw + 1, hh * 0.8 - 0.8), at(-hw * 0.8 + 0.8, -hh * 0.7 + 0.6), at(-hw * 0.1, -hh + 1), at(hw * 0.7 - 0.6, -hh * 0.8 + 0.8),
                     at(hw - 1, hh * 0.3), at(hw * 0.4, hh - 1.2)};
        art.FillPolygon(inner, face);
        auto e0 = at(-hw * 0.8 + 0.8, -hh * 0.7 + 0.9), e1 = at(-hw * 0.1, -hh + 1.3), e2 = at(hw * 0.7 - 0.6, -hh * 0.8 + 1.1);
        art.Line(e0.first, e0.second, e1.first, e1.second, 0.9, Mix(face, kPaper, 0.45));
        art.Line(e1.first, e1.second, e2.first, e2.second, 0.9, Mix(face, kPaper, 0.45));
        if (sh.tone == 2) {
            auto z0 = at(-hw * 0.5, 0.3), z1 = at(hw * 0.5, 0.3);
            art.Line(z0.first, z0.second, z1.first, z1.second, 0.8, Alpha(clay, 200));
        }
    }
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            Rgba p = art.Get(x, y);
            if (p.a)
                art.Set(x, y, Mix(p, style::kInk, Hash(x, y, 9) * 0.1));
        }
    Canvas c = Cell();
    c.Draw(Outlined(art, 0.95, 0.0), 0, 0);
    return c;
}

// ---- things that stay put ----

// Stone of the keep and the shores, cut in two courses. The upper course has one long stone
// per square, the lower course straddles the squares, so a run of wall is one wall and its
// squares can still be counted by the upper stones.
constexpr Rgba kMortar{30, 26, 44, 255};
constexpr Rgba kStoneA{76, 72, 100, 255};
constexpr Rgba kStoneB{69, 66, 93, 255};

Rgba StonePixel(Rgba base, int u, int v, int width, int height, std::uint32_t seed) {
    const Rgba light = Mix(Mix(base, kPaper, 0.24), style::kAmber, 0.12), dark = Mix(base, style::kInk, 0.45);
    // Cut corners so the stones look hewn, not like bricks.
    bool corner = (u == 0 || u == width - 1) && (v == 0 || v == height - 1);
    if (corner)
        return Mix(kMortar, dark, 0.5);
    double dome = 1.0 - std::pow(std::fabs(u - (width - 1) / 2.0) / (width / 2.0), 4) * 0.5 -
                  std::pow(std::fabs(v - (height - 1) / 2.0) / (height / 2.0), 4) * 0.4;
    double mottling = 0.5 + 0.25 * std::sin(u * 0.45 + seed) * std::sin(v * 0.6 + seed * 0.7) + 0.25 * std::sin(u * 0.17 + v * 0.3 + seed);
    Rgba p = Mix(Scaled(base, 0.88 + 0.12 * dome), Mix(base, style::kDusk, 0.4), mottling * 0.3);
    if (v == 0)
        p = light;
    else if (v == 1 || u == 0)
        p = Mix(p, light, 0.45);
    else if (v == height - 1 || u == width - 1)
        p = dark;
    else if (v == height - 2)
        p = Mix(p, dark, 0.35);
    return Mix(p, style::kInk, Hash(u, v, seed) * 0.14);
}

Canvas WallArt() {
    Canvas c = Cell();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            int course = y < 18 ? 0 : 1;
            int v = y - course * 18 - 1;
            int u = course == 0 ? x - 1 : (x + 18) % 36 - 1;
            if (v < 0 || u < 0) {
                c.Set(x, y, kMortar);
                continue;
            }
            c.Set(x, y, StonePixel(course == 0 ? kStoneA : kStoneB, u, v, 35, 17, course == 0 ? 7u : 13u));
        }
    // A crack in the upper stone and a chipped edge in the lower course.
    c.Line(9, 5, 12, 9, 0.7, Alpha(kMortar, 130));
    c.Line(12, 9, 11, 12, 0.7, Alpha(kMortar, 100));
    c.FillPolygon({{27, 35}, {29.5, 33}, {31, 35}}, Alpha(kMortar, 150));
    // A touch of lichen by the joint.
    c.FillCircle(4, 31, 1.4, Alpha(Rgba{108, 140, 110, 255}, 90));
    c.FillCircle(6, 32, 1.0, Alpha(Rgba{108, 140, 110, 255}, 70));
    return c;
}

// A stone shelf along the top of the square; the rest is open.
Canvas LedgeArt() {
    Canvas c = Cell();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (x == 0) {
                c.Set(x, y, kMortar);
                continue;
            }
            Rgba p = StonePixel(kStoneA, x - 1, y, 35, 12, 21);
            if (y >= 10)
                p = Mix(kMortar, kStoneB, y == 10 ? 0.35 : 0.0);
            c.Set(x, y, p);
        }
    c.FillRect(0, 0, kCell, 1, Mix(Mix(kStoneA, kPaper, 0.35), style::kAmber, 0.15));
    return c;
}

// Rotten boards nailed across the square: grey-green, split and gapped.
constexpr Rgba kRotWood{124, 112, 84, 255};

Rgba BoardPixel(int x, int y, int board) {
    const Rgba wood = Mix(kRotWood, Rgba{96, 110, 86, 255}, 0.25 * (board % 2)), dark = Mix(wood, style::kInk, 0.5);
    double grain = 0.5 + 0.5 * std::sin(y * 2.3 + std::sin(x * 0.21 + board * 1.7) * 2.0 + board);
    Rgba p = Mix(wood, dark, grain * 0.25 + Hash(x, y, 31 + board) * 0.12);
    int top = board * 12 + 1;
    if (y == top)
        p = Mix(p, kPaper, 0.22);
    if (y == top + 9)
        p = Mix(p, style::kInk, 0.35);
    return p;
}

Canvas PlankArt() {
    Canvas c = Cell();
    for (int board = 0; board < 3; ++board) {
        int top = board * 12 + 1;
        for (int y = top; y < top + 10; ++y)
            for (int x = 0; x < kCell; ++x)
                c.Set(x, y, BoardPixel(x, y, board));
        // Dark gaps between the boards, where the light comes through.
        c.FillRect(0, top - 1, kCell, 1, Alpha(style::kInk, 200));
        c.FillRect(0, top + 10, kCell, 1, Alpha(style::kInk, 150));
        // Nails at both ends hold the board: it is fixed, not loose.
        for (int nx : {3, 32}) {
            c.FillCircle(nx, top + 4.5, 1.2, Rgba{70, 62, 70, 255});
            c.Set(nx - 1, top + 3, Rgba{150, 140, 140, 255});
        }
    }
    // Splits, a knot and the rot creeping in.
    c.Line(9, 2, 21, 4, 0.9, Alpha(style::kInk, 200));
    c.Line(21, 4, 25, 3, 0.8, Alpha(style::kInk, 170));
    c.FillCircle(26, 18, 1.6, Mix(kRotWood, style::kInk, 0.6));
    c.Ring(26, 18, 2.6, 0.8, Alpha(Mix(kRotWood, style::kInk, 0.4), 200));
    c.Line(6, 30, 16, 29, 0.9, Alpha(style::kInk, 210));
    c.Line(16, 29, 19, 32, 0.8, Alpha(style::kInk, 170));
    c.FillPolygon({{13, 23}, {18, 23}, {15, 25.5}}, Alpha(style::kInk, 200));
    for (auto [x, y, r] : {std::array<double, 3>{12, 7, 2.2}, std::array<double, 3>{30, 28, 2.4}, std::array<double, 3>{20, 16, 1.6}})
        c.FillCircle(x, y, r, Alpha(Rgba{96, 130, 92, 255}, 110));
    return c;
}

// What is left once the boards give way: splintered stubs still nailed at each side, and
// nothing between them.
Canvas PlankBrokenArt() {
    Canvas c = Cell();
    Random rng(77);
    for (int board = 0; board < 3; ++board) {
        int top = board * 12 + 1;
        for (int side = 0; side < 2; ++side) {
            // A ragged end: a stub of board with a splinter or two of different lengths.
            const double base = 5 + rng.Unit() * 3;
            const int spikeA = top + 1 + rng.Range(0, 6), spikeB = top + 1 + rng.Range(0, 7);
            const double longA = 5 + rng.Unit() * 5, longB = 2 + rng.Unit() * 3;
            for (int y = top; y < top + 10; ++y) {
                double len = base + (y == top || y == top + 9 ? -1.5 : 0) + std::sin(y * 2.1 + side) * 1.2;
                if (y == spikeA || y == spikeA + 1)
                    len += longA * (y == spikeA ? 1.0 : 0.6);
                if (y == spikeB)
                    len += longB;
                for (int i = 0; i < static_cast<int>(len); ++i) {
                    int x = side == 0 ? i : kCell - 1 - i;
                    c.Set(x, y, BoardPixel(x, y, board));
                }
                // The fresh wood shows pale along the break.
                int tip = side == 0 ? static_cast<int>(len) - 1 : kCell - static_cast<int>(len);
                c.Set(tip, y, Mix(Mix(kRotWood, kPaper, 0.4), style::kAmber, 0.12));
            }
            int nx = side == 0 ? 3 : 32;
            c.FillCircle(nx, top + 4.5, 1.2, Rgba{70, 62, 70, 255});
            c.Set(nx - 1, top + 3, Rgba{150, 140, 140, 255});
        }
    }
    // A splinter hanging on, and the dark gaps of the frame the boards were nailed to.
    c.Line(10, 29, 15, 32, 1.0, Mix(kRotWood, kPaper, 0.25));
    return c;
}

// A portcullis of dark timber and iron. Frame 0 is shut fast, the last frame is drawn up
// into its lintel and the way is open.
Canvas GateArt(int frame, int frames) {
    Canvas c = Cell();
    const double open = static_cast<double>(frame) / (frames - 1);
    const Rgba iron{52, 50, 70, 255}, ironLight{112, 108, 138, 255}, timber{70, 50, 52, 255};
    const Rgba brass = Mix(style::kAmber, style::kCrate, 0.25);
    const int lintel = 5;
    // The grooves the gate runs in stay on both sides, faint, so an open gate still shows
    // where it stands.
    c.FillRect(0, lintel, 2, kCell - lintel, Alpha(kMortar, 120));
    c.FillRect(34, lintel, 2, kCell - lintel, Alpha(kMortar, 120));
    // The gate itself, slid up by `open`.
    const int shift = static_cast<int>(std::lround(open * (kCell - lintel)));
    Canvas gate = Cell();
    gate.FillRect(1, 0, 34, 34, timber);
    for (int y = 0; y < 34; ++y)
        for (int x = 1; x < 35; ++x) {
            int board = (x - 1) / 7;
            double grain = 0.5 + 0.5 * std::sin(y * 0.7 + board * 1.9 + std::sin(x * 1.3) * 0.8);
            Rgba p = Mix(timber, Mix(timber, style::kInk, 0.45), grain * 0.3 + Hash(x, y, 41) * 0.1);
            if ((x - 1) % 7 == 0)
                p = Mix(timber, style::kInk, 0.6);
            gate.Set(x, y, p);
        }
    // Iron bands with rivets, and the spiked foot.
    for (int by : {4, 20}) {
        gate.FillRect(1, by, 34, 5, iron);
        gate.FillRect(1, by, 34, 1, ironLight);
        gate.FillRect(1, by + 4, 34, 1, Mix(iron, style::kInk, 0.5));
        for (int rx = 4; rx < 34; rx += 7) {
            gate.FillCircle(rx + 0.5, by + 2.5, 1.1, ironLight);
        }
    }
    for (int x = 1; x < 35; x += 5)
        gate.FillPolygon({{x + 0.0, 33.0}, {x + 2.5, 36.0}, {x + 5.0, 33.0}}, iron);
    gate.FillRect(1, 31, 34, 2, iron);
    // The keyplate answers the plates' amber.
    gate.FillCircle(18, 15, 2.6, brass);
    gate.FillRect(17, 15, 2, 3, Mix(brass, style::kInk, 0.6));
    gate.FillCircle(18, 15, 0.9, Mix(brass, style::kInk, 0.6));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            int sy = y + shift;
            if (y < lintel || sy >= kCell)
                continue;
            Rgba p = gate.Get(x, sy);
            if (p.a)
                c.Blend(x, y, p);
        }
    // The lintel, stone like the walls, with the gate's slot in it.
    for (int y = 0; y < lintel; ++y)
        for (int x = 0; x < kCell; ++x)
            c.Set(x, y, StonePixel(kStoneB, x, y, kCell, lintel, 51));
    c.FillRect(1, lintel - 1, 34, 1, Mix(kMortar, style::kInk, 0.5));
    // Edge lines so a shut gate reads as one block.
    if (shift == 0) {
        c.FillRect(0, lintel, 1, kCell - lintel, Mix(timber, style::kInk, 0.7));
        c.FillRect(35, lintel, 1, kCell - lintel, Mix(timber, style::kInk, 0.7));
    }
    return c;
}

// ---- things that others pass over ----

// Flat pieces sit in a shallow dark recess, so whatever rests on them stands clearly on top.
void Recess(Canvas& c, int inset, int alpha) {
    for (int y = inset; y < kCell - inset; ++y)
        for (int x = inset; x < kCell - inset; ++x) {
            double e = std::min({x - inset, kCell - 1 - inset - x, y - inset, kCell - 1 - inset - y});
            c.Blend(x, y, Alpha(style::kInk, static_cast<int>(alpha * (e < 1 ? 1.0 : 0.75))));
        }
}

// The Ledger's picture is this much wider than its square on every side: the covers and the
// ribbon show round a piece resting on it, so a crate on the Ledger never hides it.
constexpr int kLedgerRim = 6;

Canvas LedgerPages(double glow, int written);

// The open Ledger set into the ground. `glow` 0..1 lights it up; `written` adds new lines.
Canvas LedgerArt(double glow, int written) {
    Canvas inner = LedgerPages(glow, written);
    const int size = kCell + 2 * kLedgerRim;
    Canvas c(size, size);
    const Rgba leather{110, 44, 38, 255}, clasp = Mix(style::kAmber, kPaper, 0.15);
    // The boards of the covers, open flat, and the ribbon hanging out below.
    c.FillPolygon({{1, 6}, {size / 2.0, 3}, {size - 1.0, 6}, {size - 1.0, size - 7.0}, {size / 2.0, size - 4.0}, {1, size - 7.0}},
                  Mix(leather, style::kInk, 0.25));
    c.FillPolygon({{2.5, 7}, {size / 2.0, 4.5}, {size - 2.5, 7}, {size - 2.5, size - 8.5}, {size / 2.0, size - 5.5}, {2.5, size - 8.5}},
                  leather);
    c.FillRect(2, 7, 1, size - 15, Mix(leather, kPaper, 0.3));
    c.FillPolygon({{size / 2.0 - 1.5, size - 8.0}, {size / 2.0 + 2.5, size - 8.0}, {size / 2.0 + 3.5, size - 0.5},
                   {size / 2.0 + 1.0, size - 2.5}, {size / 2.0 - 2.0, size - 0.5}},
                  kWax);
    // Brass corners, bright enough to find the book in the dark.
    for (auto [x, y] : {std::pair{3.5, 8.5}, std::pair{size - 4.5, 8.5}, std::pair{3.5, size - 10.5}, std::pair{size - 4.5, size - 10.5}}) {
        c.FillCircle(x, y, 2.2, Mix(clasp, style::kInk, 0.35));
        c.FillCircle(x - 0.4, y - 0.4, 1.4, clasp);
    }
    if (glow > 0)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                Rgba p = c.Get(x, y);
                if (p.a > 0)
                    c.Set(x, y, Mix(p, Mix(kPaper, style::kAmber, 0.3), glow * 0.45));
            }
    c.Draw(inner, kLedgerRim, kLedgerRim);
    // Set into the ground: never fully opaque.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba p = c.Get(x, y);
            p.a = static_cast<std::uint8_t>(p.a * 0.92);
            c.Set(x, y, p);
        }
    return c;
}

// The Ledger's own square: the pages, the day's lines, the glow of a page arriving.
Canvas LedgerPages(double glow, int written) {
    Canvas c = Cell();
    Recess(c, 1, 90);
    if (glow > 0) {
        // Soft light and rays out to the edges, seen around a page resting on the book.
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                double dx = x + 0.5 - 18, dy = y + 0.5 - 19, d = std::hypot(dx, dy) / 25.0;
                double ray = std::pow(std::fabs(std::cos(std::atan2(dy, dx) * 4 + glow * 0.8)), 4);
                double a = glow * std::max(0.0, 1 - d * 0.75) * (0.75 + 0.9 * ray);
                c.Blend(x, y, Alpha(Mix(style::kAmber, kPaper, 0.2 + 0.3 * ray), static_cast<int>(255 * std::min(1.0, a))));
            }
    }
    const Rgba leather{110, 44, 38, 255};
    const Rgba page = Mix(kPaper, style::kCrate, 0.18), shade = Mix(kPaper, style::kCrate, 0.4);
    // Cover, then the two pages bowing away from the spine.
    c.FillPolygon({{2, 8}, {18, 6}, {34, 8}, {34, 31}, {18, 33}, {2, 31}}, leather);
    c.FillRect(2, 8, 1, 23, Mix(leather, kPaper, 0.25));
    c.FillPolygon({{4, 8}, {10, 6.5}, {17, 7.5}, {17, 31}, {10, 30}, {4, 30}}, page);
    c.FillPolygon({{19, 7.5}, {26, 6.5}, {32, 8}, {32, 30}, {26, 30}, {19, 31}}, page);
    for (int x = 13; x <= 17; ++x)
        c.BlendRect(x, 7, 1, 24, Alpha(shade, (x - 12) * 40));
    for (int x = 19; x <= 22; ++x)
        c.BlendRect(x, 7, 1, 24, Alpha(shade, (23 - x) * 45));
    c.FillRect(18, 6, 1, 27, Mix(leather, style::kInk, 0.35));
    // Lines of the day's fall; a page arriving adds its own.
    for (int i = 0; i < 5 + written; ++i) {
        int y = 11 + (i % 5) * 4;
        bool right = i >= 5;
        int x0 = right ? 21 : 6, len = right ? 8 - (i % 2) * 2 : 9 - (i % 3);
        c.FillRect(x0, y, len, 1, Alpha(kSepia, right ? static_cast<int>(120 + 110 * glow) : 170));
    }
    // The red ribbon bookmark.
    c.FillPolygon({{17.5, 30}, {20, 30}, {21, 35}, {19.5, 34}, {18, 35.5}}, kWax);
    if (glow > 0)
        for (int y = 7; y < 31; ++y)
            for (int x = 4; x < 33; ++x) {
                Rgba p = c.Get(x, y);
                c.Set(x, y, Mix(p, Mix(kPaper, style::kAmber, 0.3), glow * 0.35));
            }
    if (glow > 0.6)
        Sparkle(c, 28, 6, 2 + glow * 2, Alpha(kPaper, static_cast<int>(255 * glow)));
    return c;
}

// Plates: a square stone pressed into a recess. The plain plate carries an amber lozenge
// that lights when pressed; the seal plate is round and carries the keeper's wax seal,
// which stays stamped once pressed.
Canvas PlateArt(bool down) {
    Canvas c = Cell();
    Recess(c, 2, 130);
    const Rgba stone = Alpha(Mix(kStoneA, style::kDusk, 0.2), 215);
    const int inset = down ? 6 : 5;
    const int size = kCell - 2 * inset;
    c.FillRect(inset, inset, size, size, stone);
    Rgba light = Alpha(Mix(kStoneA, kPaper, 0.35), 230), dark = Alpha(Mix(kStoneA, style::kInk, 0.55), 230);
    if (down)
        std::swap(light, dark);
    c.FillRect(inset, inset, size, 2, light);
    c.FillRect(inset, inset, 2, size, light);
    c.FillRect(inset, inset + size - 2, size, 2, dark);
    c.FillRect(inset + size - 2, inset, 2, size, dark);
    Points lozenge{{18, 10.5}, {25.5, 18}, {18, 25.5}, {10.5, 18}};
    Points inner{{18, 14}, {22, 18}, {18, 22}, {14, 18}};
    if (down) {
        front::Glow(c, 18, 18, 17, style::kAmber, 170);
        c.FillPolygon(lozenge, Mix(style::kAmber, kPaper, 0.2));
        c.FillPolygon(inner, Mix(style::kAmber, kPaper, 0.7));
    } else {
        c.FillPolygon(lozenge, Alpha(Mix(style::kAmber, style::kInk, 0.5), 220));
        c.FillPolygon(inner, Alpha(Mix(kStoneA, style::kInk, 0.3), 230));
    }
    return c;
}

Canvas SealPlateArt(bool down) {
    Canvas c = Cell();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double d = std::hypot(x + 0.5 - 18, y + 0.5 - 18);
            if (d < 16.5)
                c.Blend(x, y, Alpha(style::kInk, static_cast<int>(140 * std::min(1.0, 16.5 - d))));
        }
    const Rgba stone = Alpha(Mix(kStoneA, style::kDusk, 0.2), 220);
    const double r = down ? 12.5 : 13.5;
    c.FillCircle(18, 18, r, stone);
    Rgba light = Alpha(Mix(kStoneA, kPaper, 0.35), 230), dark = Alpha(Mix(kStoneA, style::kInk, 0.55), 230);
    if (down)
        std::swap(light, dark);
    for (int k = 0; k < 40; ++k) {
        double a = k * kPi / 20;
        double lit = 0.5 + 0.5 * std::cos(a + kPi * 0.75);
        c.Line(18 + std::cos(a) * (r - 0.8), 18 + std::sin(a) * (r - 0.8), 18 + std::cos(a + kPi / 20) * (r - 0.8),
               18 + std::sin(a + kPi / 20) * (r - 0.8), 1.6, Mix(dark, light, lit));
    }
    // The wax seal: a scalloped disc with a quill pressed into it.
    const Rgba wax = down ? Mix(kWax, style::kEmber, 0.35) : Mix(kWax, style::kInk, 0.45);
    if (down)
        front::Glow(c, 18, 18, 16, Mix(kWax, style::kAmber, 0.5), 200);
    Points scallop;
    for (int k = 0; k < 24; ++k) {
        double a = k * kPi / 12, rr = k % 2 ? 8.2 : 7.2;
        scallop.emplace_back(18 + std::cos(a) * rr, 18 + std::sin(a) * rr);
    }
    c.FillPolygon(scallop, wax);
    // Pressed into it, a keyhole: the seal that unlocks its gates for good.
    const Rgba mark = down ? Mix(style::kAmber, kPaper, 0.45) : Mix(wax, style::kInk, 0.55);
    c.Ring(18, 18, 5.6, 0.9, down ? Mix(kWax, kPaper, 0.35) : Mix(wax, style::kInk, 0.3));
    c.FillCircle(18, 16.3, 1.9, mark);
    c.FillPolygon({{17.1, 16.5}, {18.9, 16.5}, {19.6, 21.2}, {16.4, 21.2}}, mark);
    if (down)
        c.FillCircle(13.5, 13.5, 1.0, Alpha(kPaper, 190));
    return c;
}

// Water running one way: a channel set into the floor with streaks along the flow and a
// strong foam-pale arrow. Drawn pointing right, turned for the other three.
Canvas CurrentArt(int quarterTurns) {
    Canvas c = Cell();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            // Rounded corners, so a lone current reads as a pool and a run as one channel.
            double cx = std::max({2.5 - x, x - 32.5, 0.0}), cy = std::max({2.5 - y, y - 32.5, 0.0});
            double corner = std::clamp(3.0 - std::hypot(cx, cy), 0.0, 1.0);
            if (corner <= 0)
                continue;
            double flow = std::sin(y * 1.05 + std::sin(x * 0.32 + y * 0.4) * 1.3);
            double streak = std::max(0.0, flow - 0.7) / 0.3;
            Rgba p = Mix(Mix(kWater, style::kLake, 0.55), kFoam, streak * 0.45);
            c.Set(x, y, Alpha(p, static_cast<int>((85 + streak * 50) * corner)));
        }
    DrawArrow(c, 18, 18, 28, 22, 0, Alpha(Mix(style::kLake, style::kInk, 0.45), 190));
    DrawArrow(c, 18.3, 18, 24, 17, 0, Alpha(Mix(kFoam, kWater, 0.15), 225));
    DrawArrow(c, 16.8, 18, 13, 6, 0, Alpha(kFoam, 255));
    return Turned(c, quarterTurns);
}

// An eddy: a round pool with a swirl and a curved arrow showing the turn. Turn Right runs
// clockwise on screen, Turn Left anticlockwise (the same picture mirrored).
Canvas TurnArt(bool clockwise) {
    Canvas c = Cell();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double dx = x + 0.5 - 18, dy = y + 0.5 - 18, d = std::hypot(dx, dy);
            if (d > 17)
                continue;
            double a = std::atan2(dy, dx);
            double swirl = 0.5 + 0.5 * std::sin(a * 2 + d * 0.5);
            c.Set(x, y, Alpha(Mix(Mix(kWater, style::kLake, 0.5), kWater, swirl * 0.35), static_cast<int>(std::min(1.0, 17 - d) * 105)));
        }
    const Rgba arrow = clockwise ? Mix(style::kAmber, kPaper, 0.15) : Mix(kFoam, kWater, 0.1);
    const Rgba edge = Alpha(Mix(style::kLake, style::kInk, 0.5), 220);
    // The arc runs through three quarters of the circle; its head carries on the turn.
    // Open at the upper left like a hand on a clock face; the head sits at the top.
    const double radius = 10.5, sweep = kPi * 1.5, start = -kPi * 0.5 - 0.5 - sweep;
    auto at = [&](double t, double r) {
        double a = start + sweep * t;
        return std::make_pair(18 + std::cos(a) * r, 18 + std::sin(a) * r);
    };
    for (int pass = 0; pass < 2; ++pass) {
        double thick = pass == 0 ? 6.0 : 3.6;
        for (int k = 0; k < 40; ++k) {
            auto [x0, y0] = at(k / 40.0, radius);
            auto [x1, y1] = at((k + 1) / 40.0, radius);
            c.Line(x0, y0, x1, y1, thick, pass == 0 ? edge : arrow);
        }
        double a = start + sweep;
        double tx = -std::sin(a), ty = std::cos(a);  // the way a clockwise turn carries on
        auto [hx, hy] = at(1.0, radius);
        double grow = pass == 0 ? 1.6 : 0.0;
        double len = 7.5 + grow, wide = 5.2 + grow;
        c.FillPolygon({{hx + tx * len, hy + ty * len},
                       {hx - tx * 1.5 + std::cos(a) * wide, hy - ty * 1.5 + std::sin(a) * wide},
                       {hx - tx * 1.5 - std::cos(a) * wide, hy - ty * 1.5 - std::sin(a) * wide}},
                      pass == 0 ? edge : arrow);
    }
    c.FillCircle(18, 18, 2.2, Alpha(kFoam, 150));
    if (clockwise)
        return c;
    Canvas mirrored = Cell();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            mirrored.Set(kCell - 1 - x, y, c.Get(x, y));
    return mirrored;
}

// Seen only in the editor: a faint mark where a line of story waits.
Canvas WhisperArt() {
    Canvas c = Cell();
    for (int k = 0; k < 12; ++k) {
        double a = k * kPi / 6;
        c.FillCircle(18 + std::cos(a) * 14, 18 + std::sin(a) * 14, 1.3, Alpha(style::kAmber, 150));
    }
    // Three short strokes of a voice.
    for (int i = 0; i < 3; ++i) {
        double y = 13 + i * 5;
        for (int k = 0; k < 8; ++k) {
            double x0 = 11 + k * 1.8 + i, x1 = x0 + 1.8;
            c.Line(x0, y + std::sin(k * 1.3) * 1.2, x1, y + std::sin((k + 1) * 1.3) * 1.2, 1.1, Alpha(kPaper, 130));
        }
    }
    return c;
}

void WritePieces(const AssetContext& ctx) {
    ctx.WriteGamePng(kArt + "Page.png", PageArt());
    ctx.WriteGamePng(kArt + "Inkpot.png", InkpotWhole());
    ctx.WriteGamePng(kArt + "InkpotSpilled.png", InkpotSpilled());
    ctx.WriteGamePng(kArt + "Quill.png", QuillArt());
    ctx.WriteGamePng(kArt + "Crate.png", CrateArt());
    ctx.WriteGamePng(kArt + "Wall.png", WallArt());
    ctx.WriteGamePng(kArt + "Ledge.png", LedgeArt());
    ctx.WriteGamePng(kArt + "Jar.png", JarWhole());
    ctx.WriteGamePng(kArt + "JarShards.png", JarShards());
    ctx.WriteGamePng(kArt + "Plank.png", PlankArt());
    ctx.WriteGamePng(kArt + "PlankBroken.png", PlankBrokenArt());
    ctx.WriteGamePng(kArt + "Ledger.png", LedgerArt(0, 0));
    // The glow swells while the page is taken (frame 5), then settles on the new lines.
    const double glow[8] = {0.3, 0.55, 0.8, 0.95, 1.0, 1.0, 0.65, 0.3};
    for (int f = 0; f < 8; ++f)
        ctx.WriteGamePng(kArt + "LedgerGlow" + std::to_string(f) + ".png", LedgerArt(glow[f], f < 5 ? 0 : std::min(5, (f - 4) * 2 + 1)));
    ctx.WriteGamePng(kArt + "Plate.png", PlateArt(false));
    ctx.WriteGamePng(kArt + "PlateDown.png", PlateArt(true));
    ctx.WriteGamePng(kArt + "SealPlate.png", SealPlateArt(false));
    ctx.WriteGamePng(kArt + "SealPlateDown.png", SealPlateArt(true));
    for (int f = 0; f < 6; ++f)
        ctx.WriteGamePng(kArt + "Gate" + std::to_string(f) + ".png", GateArt(f, 6));
    ctx.WriteGamePng(kArt + "CurrentRight.png", CurrentArt(0));
    ctx.WriteGamePng(kArt + "CurrentDown.png", CurrentArt(1));
    ctx.WriteGamePng(kArt + "CurrentLeft.png", CurrentArt(2));
    ctx.WriteGamePng(kArt + "CurrentUp.png", CurrentArt(3));
    ctx.WriteGamePng(kArt + "TurnLeft.png", TurnArt(false));
    ctx.WriteGamePng(kArt + "TurnRight.png", TurnArt(true));
    ctx.WriteGamePng(kArt + "Whisper.png", WhisperArt());
}

void Generate(const AssetContext& ctx) {
    WritePieces(ctx);
    WriteMainBackdrops(ctx);
    WriteMainDialogPictures(ctx);
    WriteMainSounds(ctx);
}

RegisterAssetGroup mainPieces("main_pieces", Generate);

}  // namespace
