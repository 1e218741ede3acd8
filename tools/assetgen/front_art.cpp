#include "tools/assetgen/front_art.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/assetgen/art.h"
#include "tools/assetgen/style.h"
#include "tools/assetgen/text.h"

namespace front {

namespace {
constexpr double kPi = 3.141592653589793;

Rgba WithAlpha(Rgba c, int a) { return Rgba{c.r, c.g, c.b, static_cast<std::uint8_t>(std::clamp(a, 0, 255))}; }

using Points = std::vector<std::pair<double, double>>;

Points Turned(const Points& pts, double cx, double cy, double degrees) {
    double a = degrees * kPi / 180, cs = std::cos(a), sn = std::sin(a);
    Points out;
    for (auto [x, y] : pts)
        out.emplace_back(cx + x * cs - y * sn, cy + x * sn + y * cs);
    return out;
}
}  // namespace

SkyColours DuskSky() { return {style::kNight, style::kDusk, Mix(style::kEmber, style::kDusk, 0.3)}; }
SkyColours NightSky() { return {Rgba{8, 8, 24, 255}, style::kNight, Mix(style::kDusk, style::kNight, 0.4)}; }
SkyColours DawnSky() { return {Mix(style::kDusk, style::kTeal, 0.35), Rgba{176, 122, 140, 255}, Rgba{250, 196, 120, 255}}; }

void Sky(Canvas& c, int horizon, const SkyColours& sky, int stars, std::uint32_t seed) {
    int mid = horizon * 3 / 5;
    c.VerticalGradient(0, 0, c.Width(), mid, sky.top, sky.middle);
    c.VerticalGradient(0, mid, c.Width(), horizon - mid, sky.middle, sky.low);
    Random rng(seed);
    for (int i = 0; i < stars; ++i) {
        double x = rng.Unit() * c.Width(), y = rng.Unit() * horizon * 0.7;
        double fade = 1.0 - y / (horizon * 0.7);
        c.FillCircle(x, y, 0.35 + rng.Unit() * 0.8,
                     Rgba{255, 246, 226, static_cast<std::uint8_t>((70 + rng.Range(0, 170)) * fade)});
    }
    // A couple of long thin clouds lit from below.
    for (int i = 0; i < 5; ++i) {
        double y = horizon * (0.35 + rng.Unit() * 0.45);
        double x = rng.Unit() * c.Width(), len = 80 + rng.Unit() * 180;
        for (int k = 0; k < 3; ++k)
            c.Line(x - len / 2 + k * 7, y + k * 2, x + len / 2 - k * 11, y + k * 2, 2.5 - k * 0.6,
                   WithAlpha(Mix(sky.low, style::kParchment, 0.3), 36 - k * 8));
    }
}

void Glow(Canvas& c, double cx, double cy, double radius, Rgba colour, double strength) {
    int x0 = static_cast<int>(cx - radius), x1 = static_cast<int>(cx + radius);
    int y0 = static_cast<int>(cy - radius), y1 = static_cast<int>(cy + radius);
    for (int y = std::max(0, y0); y <= std::min(c.Height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(c.Width() - 1, x1); ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d >= 1)
                continue;
            double a = strength * (1 - d) * (1 - d);
            c.Blend(x, y, WithAlpha(colour, static_cast<int>(a)));
        }
}

void Moon(Canvas& c, double cx, double cy, double radius) {
    Glow(c, cx, cy, radius * 3.2, Rgba{255, 236, 196, 255}, 60);
    c.FillCircle(cx, cy, radius, style::kParchment);
    c.FillCircle(cx + radius * 0.3, cy - radius * 0.25, radius * 0.3, Rgba{226, 210, 178, 120});
    c.FillCircle(cx - radius * 0.35, cy + radius * 0.3, radius * 0.2, Rgba{226, 210, 178, 110});
}

void Ridge(Canvas& c, int baseY, double height, double wavelength, Rgba colour, std::uint32_t seed) {
    Random rng(seed);
    double phase = rng.Unit() * 2 * kPi;
    Points ridge{{0, baseY + 1.0}};
    for (int x = 0; x <= c.Width(); x += 6)
        ridge.emplace_back(x, baseY - height * (0.55 + 0.35 * std::sin(x / wavelength + phase) +
                                                0.1 * std::sin(x / (wavelength * 0.31) + phase * 3)));
    ridge.emplace_back(c.Width(), baseY + 1.0);
    c.FillPolygon(ridge, colour);
}

void ReflectLake(Canvas& c, int lineY, std::uint32_t seed) {
    Random rng(seed);
    const int h = c.Height();
    Canvas copy = c;
    for (int y = lineY; y < h; ++y) {
        double depth = static_cast<double>(y - lineY) / std::max(1, h - lineY);
        int src = lineY - 1 - static_cast<int>((y - lineY) * 1.1);
        double wobble = std::sin(y * 0.7) * (1 + depth * 3) + std::sin(y * 0.23 + 1.3) * depth * 2;
        Rgba lake = Mix(style::kLake, style::kNight, 0.25 + depth * 0.65);
        for (int x = 0; x < c.Width(); ++x) {
            Rgba from = src >= 0 ? copy.Get(std::clamp(x + static_cast<int>(wobble), 0, c.Width() - 1), src) : lake;
            c.Set(x, y, Mix(from, lake, 0.38 + depth * 0.4));
        }
    }
    // Glints where the wind touches the water.
    for (int i = 0; i < 90; ++i) {
        int y = lineY + 2 + rng.Range(0, std::max(1, h - lineY - 4));
        int len = 6 + rng.Range(0, 40);
        c.BlendRect(rng.Range(0, c.Width()), y, len, 1, Rgba{210, 226, 255, static_cast<std::uint8_t>(14 + rng.Range(0, 30))});
    }
    c.BlendRect(0, lineY, c.Width(), 1, Rgba{255, 220, 170, 40});
}

void DrawReflected(Canvas& c, const Canvas& sprite, int x, int y, double strength) {
    c.Draw(sprite, x, y);
    int bottom = y + sprite.Height();
    for (int j = 0; j < sprite.Height(); ++j) {
        double fade = strength * (1 - static_cast<double>(j) / sprite.Height());
        int wobble = static_cast<int>(std::lround(std::sin((bottom + j) * 0.8) * (1 + j * 0.03)));
        for (int i = 0; i < sprite.Width(); ++i) {
            Rgba p = sprite.Get(i, sprite.Height() - 1 - j);
            // Faint halos would mirror as grey smudges; only solid shapes reflect.
            if (p.a < 96)
                continue;
            Rgba tinted = Mix(p, Mix(style::kLake, style::kNight, 0.6), 0.4);
            tinted.a = static_cast<std::uint8_t>(p.a * fade);
            c.Blend(x + i + wobble, bottom + j, tinted);
        }
    }
}

Canvas Keep(int height, bool lit, Rgba body) {
    const int w = height * 9 / 10;
    Canvas k(w, height);
    const double towerW = height * 0.3, towerX = w * 0.58;
    Rgba stoneLight = Mix(body, style::kDusk, 0.35);
    // Cottage roof and walls to the left of the tower.
    double ch = height * 0.32, cw = w * 0.46, cx = w * 0.08;
    k.FillRect(static_cast<int>(cx), static_cast<int>(height - ch), static_cast<int>(cw), static_cast<int>(ch), body);
    k.FillPolygon({{cx - height * 0.04, height - ch}, {cx + cw * 0.5, height - ch - height * 0.17}, {cx + cw + height * 0.03, height - ch}},
                  Mix(body, style::kInk, 0.3));
    k.FillRect(static_cast<int>(cx + cw * 0.2), static_cast<int>(height - ch - height * 0.2), static_cast<int>(height * 0.045),
               static_cast<int>(height * 0.1), body);
    // The tower, narrowing a little toward its top.
    double top = height * 0.18;
    k.FillPolygon({{towerX - towerW / 2 - 2, static_cast<double>(height)}, {towerX - towerW * 0.44, top},
                   {towerX + towerW * 0.44, top}, {towerX + towerW / 2 + 2, static_cast<double>(height)}},
                  body);
    // Courses of stone catching the last light on the tower's west side.
    for (double y = top + 8; y < height - 4; y += height * 0.045)
        k.Line(towerX - towerW * 0.42, y, towerX - towerW * 0.1, y, 1.0, WithAlpha(stoneLight, 120));
    // Battlements and the lantern room.
    for (int i = 0; i < 4; ++i)
        k.FillRect(static_cast<int>(towerX - towerW * 0.5 + i * towerW * 0.3), static_cast<int>(top - height * 0.04),
                   static_cast<int>(towerW * 0.18), static_cast<int>(height * 0.045), body);
    k.FillRect(static_cast<int>(towerX - towerW * 0.2), static_cast<int>(top - height * 0.12), static_cast<int>(towerW * 0.4),
               static_cast<int>(height * 0.09), lit ? Mix(style::kAmber, style::kParchment, 0.3) : Mix(body, style::kDusk, 0.2));
    k.FillPolygon({{towerX - towerW * 0.3, top - height * 0.12}, {towerX, top - height * 0.18}, {towerX + towerW * 0.3, top - height * 0.12}},
                  body);
    // Windows: one in the tower, one in the cottage.
    Rgba window = lit ? style::kAmber : Mix(body, style::kInk, 0.4);
    double wy = height * 0.42;
    k.FillRect(static_cast<int>(towerX - towerW * 0.1), static_cast<int>(wy), static_cast<int>(towerW * 0.2),
               static_cast<int>(height * 0.1), window);
    k.FillCircle(towerX, wy, towerW * 0.1, window);
    k.FillRect(static_cast<int>(cx + cw * 0.3), static_cast<int>(height - ch * 0.7), static_cast<int>(cw * 0.22),
               static_cast<int>(ch * 0.3), window);
    k.FillRect(static_cast<int>(cx + cw * 0.3 + cw * 0.1), static_cast<int>(height - ch * 0.7), 1, static_cast<int>(ch * 0.3), body);
    // Door.
    k.FillRect(static_cast<int>(towerX - towerW * 0.12), static_cast<int>(height - height * 0.13), static_cast<int>(towerW * 0.24),
               static_cast<int>(height * 0.13), Mix(body, style::kInk, 0.5));
    return k;
}

Canvas Figure(int height, Who who, Rgba body, Rgba rim, bool lantern) {
    const int w = height;
    Canvas f(w, height);
    double x = w * 0.5, base = height - 0.5;
    double lean = who == Who::Keeper ? height * 0.05 : 0.0;
    double head = height * (who == Who::Keeper ? 0.085 : 0.095);
    double neck = base - height * 0.74;
    auto paint = [&](double dx, double dy, Rgba colour) {
        // A long cloak with rounded shoulders, and a hooded head.
        f.FillPolygon({{x - height * 0.21 + dx, base + dy},
                       {x - height * 0.15 + dx, base - height * 0.4 + dy},
                       {x - height * 0.14 + dx + lean * 0.5, neck + height * 0.06 + dy},
                       {x - height * 0.1 + dx + lean, neck + dy},
                       {x + height * 0.1 + dx + lean, neck + dy},
                       {x + height * 0.14 + dx + lean * 0.5, neck + height * 0.06 + dy},
                       {x + height * 0.16 + dx, base - height * 0.4 + dy},
                       {x + height * 0.23 + dx, base + dy}},
                      colour);
        f.FillCircle(x + lean + dx, neck - head * 0.75 + dy, head, colour);
        f.FillPolygon({{x + lean - head * 1.05 + dx, neck + head * 0.4 + dy}, {x + lean + dx, neck - head * 2.1 + dy},
                       {x + lean + head * 1.05 + dx, neck + head * 0.4 + dy}},
                      colour);
    };
    // The rim of light is the same shape shifted toward the light, under the body.
    paint(-1.6, -1.0, rim);
    paint(0, 0, body);
    if (who == Who::Keeper) {
        f.Line(x - height * 0.26, base, x - height * 0.2 + lean, base - height * 0.98, std::max(1.5, height * 0.02), rim);
        f.Line(x - height * 0.25, base, x - height * 0.19 + lean, base - height * 0.98, std::max(1.2, height * 0.018), body);
    }
    if (lantern) {
        double lx = x + height * 0.25, ly = base - height * 0.42;
        f.Line(x + height * 0.1, base - height * 0.6, lx, ly - height * 0.06, std::max(1.2, height * 0.025), body);
        Glow(f, lx, ly, height * 0.35, style::kAmber, 110);
        f.FillRect(static_cast<int>(lx - height * 0.035), static_cast<int>(ly - height * 0.05), static_cast<int>(height * 0.07),
                   static_cast<int>(height * 0.1), Mix(style::kAmber, style::kParchment, 0.4));
        f.FillRect(static_cast<int>(lx - height * 0.045), static_cast<int>(ly - height * 0.065), static_cast<int>(height * 0.09),
                   std::max(1, height / 60), body);
    }
    return f;
}

Canvas Boat(int length, Rgba body) {
    int h = length / 4;
    Canvas b(length, h);
    Points hull;
    for (int i = 0; i <= 20; ++i) {
        double t = i / 20.0;
        hull.emplace_back(t * length, h * 0.35 + h * 0.55 * std::sin(t * kPi) * 0.9 - h * 0.3 * std::pow(std::fabs(t - 0.5) * 2, 3));
    }
    Points shape{{0, h * 0.05}};
    for (auto& p : hull)
        shape.push_back(p);
    shape.emplace_back(length, h * 0.05);
    b.FillPolygon(shape, body);
    b.Line(length * 0.02, h * 0.12, length * 0.98, h * 0.12, std::max(1.0, h * 0.08), Mix(body, style::kAmber, 0.35));
    return b;
}

void TiltedCrate(Canvas& c, double cx, double cy, double size, double degrees) {
    double s = size / 2;
    const Rgba wood = style::kCrate, dark = Mix(wood, style::kInk, 0.55), light = Mix(wood, style::kParchment, 0.35);
    c.FillPolygon(Turned({{-s, -s}, {s, -s}, {s, s}, {-s, s}}, cx, cy, degrees), dark);
    double r = s * 0.86;
    c.FillPolygon(Turned({{-r, -r}, {r, -r}, {r, r}, {-r, r}}, cx, cy, degrees), wood);
    auto p = Turned({{-r, -r}, {r, r}, {r, -r}, {-r, r}, {-r, -r * 0.33}, {r, -r * 0.33}, {-r, r * 0.33}, {r, r * 0.33}}, cx, cy, degrees);
    c.Line(p[0].first, p[0].second, p[1].first, p[1].second, std::max(1.0, size / 10), light);
    c.Line(p[2].first, p[2].second, p[3].first, p[3].second, std::max(1.0, size / 12), Mix(light, wood, 0.5));
    c.Line(p[4].first, p[4].second, p[5].first, p[5].second, 1.0, dark);
    c.Line(p[6].first, p[6].second, p[7].first, p[7].second, 1.0, dark);
}

void Page(Canvas& c, double cx, double cy, double w, double h, double degrees, Rgba paper) {
    double hw = w / 2, hh = h / 2;
    c.FillPolygon(Turned({{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}}, cx, cy, degrees), paper);
    Rgba ink = WithAlpha(style::kInk, paper.a * 150 / 255);
    for (double y = -hh + h * 0.2; y < hh - h * 0.12; y += std::max(2.0, h * 0.14)) {
        auto line = Turned({{-hw * 0.7, y}, {hw * 0.6, y}}, cx, cy, degrees);
        c.Line(line[0].first, line[0].second, line[1].first, line[1].second, std::max(0.6, h * 0.03), ink);
    }
}

void OpenBook(Canvas& c, int cx, int topY, int width, int height, int writtenLines, std::uint32_t seed) {
    Random rng(seed);
    const Rgba paper = style::kParchment, shade = Mix(style::kParchment, style::kCrate, 0.35);
    double half = width / 2.0, slope = height * 0.12;
    // Leather cover peeking out under the pages.
    c.FillPolygon({{cx - half - 6.0, topY + slope + 4}, {cx + 0.0, topY + 4.0}, {cx + half + 6.0, topY + slope + 4},
                   {cx + half + 6.0, topY + height + slope + 6}, {cx + 0.0, topY + height + 8.0}, {cx - half - 6.0, topY + height + slope + 6}},
                  Rgba{92, 40, 34, 255});
    c.FillPolygon({{cx - half, topY + slope}, {cx + 0.0, topY + 0.0}, {cx + 0.0, topY + height + 0.0}, {cx - half, topY + height + slope}}, paper);
    c.FillPolygon({{cx + 0.0, topY + 0.0}, {cx + half, topY + slope}, {cx + half, topY + height + slope}, {cx + 0.0, topY + height + 0.0}}, shade);
    c.Line(cx, topY, cx, topY + height, 1.5, Mix(shade, style::kInk, 0.4));
    int lines = 0;
    for (int side = 0; side < 2; ++side)
        for (double t = 0.12; t < 0.9 && lines < writtenLines; t += 0.09, ++lines) {
            double x0 = side == 0 ? cx - half * 0.88 : cx + half * 0.1;
            double len = half * (0.55 + rng.Unit() * 0.2);
            double y0 = topY + height * t + (side == 0 ? slope * (1 - (x0 - (cx - half)) / half) : slope * ((x0 - cx) / half));
            double y1 = y0 + (side == 0 ? -slope * len / half : slope * len / half);
            c.Line(x0, y0, x0 + len, y1, 1.0, WithAlpha(style::kInk, 170));
        }
}

void Study(Canvas& c, std::uint32_t seed) {
    const int w = c.Width(), h = c.Height();
    c.VerticalGradient(0, 0, w, h, Mix(style::kPanel, style::kNight, 0.2), Mix(style::kNight, style::kInk, 0.5));
    Random rng(seed);
    // Stone courses of the wall.
    for (int row = 0; row * 34 < h * 3 / 4; ++row) {
        int y = row * 34;
        c.BlendRect(0, y, w, 2, Rgba{0, 0, 0, 60});
        for (int x = (row % 2) * 45; x < w; x += 90)
            c.BlendRect(x + rng.Range(-4, 4), y, 2, 34, Rgba{0, 0, 0, 50});
    }
    // Arched window with the lake outside.
    const int wx = 380, wy = 70, ww = 170, wh = 200;
    Canvas view(ww, wh);
    Sky(view, 140, DuskSky(), 30, seed + 1);
    Ridge(view, 140, 18, 40, Mix(style::kDusk, style::kNight, 0.6), seed + 2);
    ReflectLake(view, 140, seed + 3);
    for (int y = 0; y < wh; ++y)
        for (int x = 0; x < ww; ++x) {
            double dx = x - ww / 2.0, dy = y - ww / 2.0;
            bool inside = y >= ww / 2 || dx * dx + dy * dy <= (ww / 2.0) * (ww / 2.0);
            if (inside)
                c.Set(wx + x, wy + y, view.Get(x, y));
        }
    Rgba frame = Mix(style::kCrate, style::kInk, 0.55);
    c.Ring(wx + ww / 2.0, wy + ww / 2.0, ww / 2.0 + 3, 7, frame);
    c.FillRect(wx - 7, wy + ww / 2, 7, wh - ww / 2 + 6, frame);
    c.FillRect(wx + ww, wy + ww / 2, 7, wh - ww / 2 + 6, frame);
    c.FillRect(wx + ww / 2 - 2, wy, 5, wh, frame);
    c.FillRect(wx, wy + 120, ww, 5, frame);
    c.FillRect(wx - 14, wy + wh, ww + 28, 10, Mix(style::kStone, style::kInk, 0.5));
    Glow(c, wx + ww / 2.0, wy + wh / 2.0, 260, Mix(style::kEmber, style::kDusk, 0.4), 50);
    // Floorboards.
    int floorY = h * 3 / 4;
    c.VerticalGradient(0, floorY, w, h - floorY, Mix(style::kCrate, style::kInk, 0.6), Mix(style::kCrate, style::kInk, 0.85));
    for (int x = -200; x < w + 200; x += 60)
        c.Line(w / 2.0 + (x - w / 2.0) * 0.55, floorY, x, h, 1.0, Rgba{0, 0, 0, 70});
    // Shelves of crates on the left wall.
    for (int s = 0; s < 3; ++s) {
        int y = 120 + s * 90;
        c.FillRect(30, y, 190, 8, frame);
        for (int i = 0; i < 3 - (s == 1); ++i)
            DrawCrate(c, 44 + i * 56 + (s == 2) * 20, y - 44, 44);
    }
}

void Letterbox(const AssetContext& ctx, Canvas& c, const std::string& caption) {
    const int bar = 48;
    c.FillRect(0, 0, c.Width(), bar, Rgba{0, 0, 0, 255});
    c.FillRect(0, c.Height() - bar, c.Width(), bar, Rgba{0, 0, 0, 255});
    c.FillRect(120, c.Height() - bar + 4, c.Width() - 240, 1, WithAlpha(style::kAmber, 90));
    if (caption.empty())
        return;
    // Measure on a scrap canvas; a caption too wide for one line is broken at the space
    // nearest its middle.
    Canvas scrap(1, 1);
    int size = 19;
    if (DrawText(ctx, scrap, caption, size, 0, 0, style::kParchment) <= c.Width() - 40) {
        DrawText(ctx, c, caption, size, c.Width() / 2, c.Height() - bar + 13, style::kParchment, TextAlign::Center);
        return;
    }
    std::size_t best = std::string::npos;
    for (std::size_t i = caption.find(' '); i != std::string::npos; i = caption.find(' ', i + 1))
        if (best == std::string::npos || std::abs(static_cast<long>(i) - static_cast<long>(caption.size() / 2)) <
                                             std::abs(static_cast<long>(best) - static_cast<long>(caption.size() / 2)))
            best = i;
    size = 17;
    std::string first = best == std::string::npos ? caption : caption.substr(0, best);
    std::string second = best == std::string::npos ? "" : caption.substr(best + 1);
    DrawText(ctx, c, first, size, c.Width() / 2, c.Height() - bar + 5, style::kParchment, TextAlign::Center);
    DrawText(ctx, c, second, size, c.Width() / 2, c.Height() - bar + 25, style::kParchment, TextAlign::Center);
}

void ParchmentSheet(Canvas& c, int x, int y, int w, int h, std::uint32_t seed) {
    Random rng(seed);
    // Soft shadow first, so the sheet seems to lie on the scene.
    for (int s = 10; s > 0; s -= 2)
        c.BlendRect(x + s, y + s + 2, w, h, Rgba{0, 0, 0, 14});
    const Rgba paper = style::kParchment, aged = Mix(style::kParchment, style::kCrate, 0.35);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            // Darker toward the edges, like old paper.
            double ex = std::min(i, w - 1 - i) / 40.0, ey = std::min(j, h - 1 - j) / 40.0;
            double edge = 1 - std::min(1.0, std::min(ex, ey));
            double blot = 0.5 + 0.5 * std::sin(i * 0.031 + j * 0.017) * std::sin(j * 0.027 - i * 0.011);
            Rgba p = Mix(paper, aged, std::clamp(edge * 0.75 + blot * 0.18, 0.0, 1.0));
            c.Set(x + i, y + j, p);
        }
    c.Grain(x, y, w, h, 5, seed);
    // A ragged outline, then the amber rim and an inner ink rule.
    for (int i = 0; i < w; i += 3) {
        c.BlendRect(x + i, y, 3, rng.Range(0, 2), Rgba{0, 0, 0, 0});
        c.Set(x + i, y + h - 1, aged);
    }
    c.FillRect(x, y, w, 2, style::kAmber);
    c.FillRect(x, y + h - 2, w, 2, style::kAmber);
    c.FillRect(x, y, 2, h, style::kAmber);
    c.FillRect(x + w - 2, y, 2, h, style::kAmber);
    Rgba rule = WithAlpha(Rgba{135, 0, 0, 255}, 90);
    c.BlendRect(x + 8, y + 8, w - 16, 1, rule);
    c.BlendRect(x + 8, y + h - 9, w - 16, 1, rule);
    c.BlendRect(x + 8, y + 8, 1, h - 16, rule);
    c.BlendRect(x + w - 9, y + 8, 1, h - 16, rule);
    // Corner flourishes: a tiny quill mark in each corner.
    for (int k = 0; k < 4; ++k) {
        double qx = k % 2 ? x + w - 16 : x + 16, qy = k / 2 ? y + h - 16 : y + 16;
        c.FillCircle(qx, qy, 3, WithAlpha(style::kAmber, 200));
        c.Ring(qx, qy, 6, 1, rule);
    }
}

void InkWell(Canvas& c, int x, int y, int w, int h) {
    c.FillRect(x - 3, y - 3, w + 6, h + 6, Mix(style::kCrate, style::kInk, 0.5));
    c.FillRect(x - 1, y - 1, w + 2, h + 2, style::kAmber);
    c.VerticalGradient(x, y, w, h, style::kNight, style::kPanel);
}

}  // namespace front
