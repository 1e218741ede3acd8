#include "tools/assetgen/art.h"

#include <cmath>

#include "tools/assetgen/style.h"

void DrawDuskScene(Canvas& c, int horizon, std::uint32_t seed) {
    const int w = c.Width(), h = c.Height();
    int mid = horizon * 2 / 3;
    c.VerticalGradient(0, 0, w, mid, style::kNight, style::kDusk);
    c.VerticalGradient(0, mid, w, horizon - mid, style::kDusk, Mix(style::kEmber, style::kDusk, 0.35));
    Random rng(seed);
    for (int i = 0; i < w * horizon / 900; ++i) {
        double x = rng.Unit() * w, y = rng.Unit() * horizon * 0.75;
        double r = 0.4 + rng.Unit() * 0.9;
        c.FillCircle(x, y, r, Rgba{255, 248, 230, static_cast<std::uint8_t>(90 + rng.Range(0, 150))});
    }
    // Two ridges of hills, the nearer one darker.
    for (int layer = 0; layer < 2; ++layer) {
        std::vector<std::pair<double, double>> ridge;
        ridge.emplace_back(0, horizon);
        double phase = rng.Unit() * 6.28;
        for (int x = 0; x <= w; x += 8) {
            double y = horizon - 18 - layer * -6 - 22 * std::sin(x / (90.0 + layer * 40) + phase) -
                       10 * std::sin(x / 31.0 + phase * 2);
            ridge.emplace_back(x, y - (1 - layer) * 14);
        }
        ridge.emplace_back(w, horizon);
        c.FillPolygon(ridge, layer == 0 ? Mix(style::kDusk, style::kNight, 0.55) : Mix(style::kNight, style::kInk, 0.5));
    }
    c.VerticalGradient(0, horizon, w, h - horizon, style::kLake, style::kNight);
    for (int i = 0; i < 70; ++i) {
        int y = horizon + 3 + rng.Range(0, std::max(1, h - horizon - 6));
        int len = 10 + rng.Range(0, 60);
        int x = rng.Range(0, w);
        c.BlendRect(x, y, len, 1, Rgba{200, 220, 255, static_cast<std::uint8_t>(20 + rng.Range(0, 40))});
    }
    c.Grain(0, 0, w, h, 3, seed ^ 0xabcdu);
}

void DrawCrate(Canvas& c, int x, int y, int size) {
    const Rgba wood = style::kCrate;
    const Rgba dark = Mix(wood, style::kInk, 0.55);
    const Rgba light = Mix(wood, style::kParchment, 0.35);
    c.FillRect(x, y, size, size, dark);
    int rim = std::max(1, size / 8);
    c.FillRect(x + 1, y + 1, size - 2, size - 2, wood);
    // Planks.
    for (int p = 1; p < 4; ++p)
        c.FillRect(x + rim, y + p * size / 4, size - 2 * rim, 1, Mix(wood, dark, 0.6));
    c.Line(x + rim + 0.5, y + rim + 0.5, x + size - rim - 0.5, y + size - rim - 0.5, std::max(1.0, size / 10.0), light);
    c.Line(x + size - rim - 0.5, y + rim + 0.5, x + rim + 0.5, y + size - rim - 0.5, std::max(1.0, size / 10.0), Mix(light, wood, 0.5));
    c.FillRect(x + 1, y + 1, size - 2, rim, light);
    c.FillRect(x + 1, y + 1, rim, size - 2, light);
    c.FillRect(x + 1, y + size - 1 - rim, size - 2, rim, dark);
    c.FillRect(x + size - 1 - rim, y + 1, rim, size - 2, dark);
}

void DrawArrow(Canvas& c, double cx, double cy, double length, double width, int degrees, Rgba colour) {
    double a = degrees * 3.141592653589793 / 180.0;
    double dx = std::cos(a), dy = std::sin(a), nx = -dy, ny = dx;
    double half = length / 2, head = length * 0.45, shaft = width * 0.42;
    auto at = [&](double along, double across) { return std::make_pair(cx + dx * along + nx * across, cy + dy * along + ny * across); };
    c.FillPolygon({at(-half, -shaft), at(half - head, -shaft), at(half - head, -width / 2 - 0.0), at(half, 0),
                   at(half - head, width / 2), at(half - head, shaft), at(-half, shaft)},
                  colour);
}

void DrawQuill(Canvas& c, double x0, double y0, double x1, double y1, double breadth, Rgba vane, Rgba shaft) {
    double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    double ux = dx / len, uy = dy / len, nx = -uy, ny = ux;
    std::vector<std::pair<double, double>> left, right;
    for (int i = 0; i <= 24; ++i) {
        double t = 0.18 + 0.82 * i / 24.0;
        double b = breadth * std::sin(3.141592653589793 * std::pow((t - 0.18) / 0.82, 0.7)) * (1 - 0.25 * t);
        double px = x0 + dx * t, py = y0 + dy * t;
        left.emplace_back(px + nx * b, py + ny * b);
        right.emplace_back(px - nx * b * 0.8, py - ny * b * 0.8);
    }
    std::vector<std::pair<double, double>> outline(left.begin(), left.end());
    outline.insert(outline.end(), right.rbegin(), right.rend());
    c.FillPolygon(outline, vane);
    // Barbs: fine darker strokes across the vane.
    Rgba barb = Mix(vane, style::kInk, 0.25);
    for (int i = 2; i < 24; i += 2) {
        auto [lx, ly] = left[static_cast<std::size_t>(i)];
        double t = 0.18 + 0.82 * i / 24.0;
        double px = x0 + dx * t, py = y0 + dy * t;
        c.Line(px, py, lx - ux * len * 0.04, ly - uy * len * 0.04, 1.0, barb);
    }
    c.Line(x0, y0, x1 - ux * len * 0.05, y1 - uy * len * 0.05, std::max(1.0, breadth / 8), shaft);
}

void DrawPanel(Canvas& c, int x, int y, int w, int h, Rgba face, Rgba rim) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            // Corner radius 6: skip pixels outside the rounded corners.
            int cx = i < 6 ? 6 - i : (i >= w - 6 ? i - (w - 7) : 0);
            int cy = j < 6 ? 6 - j : (j >= h - 6 ? j - (h - 7) : 0);
            double d = std::hypot(cx, cy);
            if (d > 6.5)
                continue;
            bool edge = d > 5.0 || i < 2 || j < 2 || i >= w - 2 || j >= h - 2;
            c.Blend(x + i, y + j, edge ? rim : face, std::min(1.0, 6.5 - d));
        }
}
