#include "tools/assetgen/canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

Rgba Mix(Rgba a, Rgba b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgba{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

Canvas::Canvas(int w, int h, Rgba fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

Rgba Canvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    return pixels[static_cast<std::size_t>(y) * width + x];
}

void Canvas::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    pixels[static_cast<std::size_t>(y) * width + x] = c;
}

void Canvas::Blend(int x, int y, Rgba c, double coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    Rgba& d = pixels[static_cast<std::size_t>(y) * width + x];
    double sa = c.a / 255.0 * std::clamp(coverage, 0.0, 1.0);
    double da = d.a / 255.0;
    double oa = sa + da * (1 - sa);
    if (oa <= 0) {
        d = Rgba{0, 0, 0, 0};
        return;
    }
    auto ch = [&](int s, int dst) { return static_cast<std::uint8_t>(std::lround((s * sa + dst * da * (1 - sa)) / oa)); };
    d = Rgba{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), static_cast<std::uint8_t>(std::lround(oa * 255))};
}

void Canvas::FillRect(int x, int y, int w, int h, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            Set(i, j, c);
}

void Canvas::BlendRect(int x, int y, int w, int h, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            Blend(i, j, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
    for (int j = 0; j < h; ++j) {
        Rgba c = Mix(top, bottom, h > 1 ? static_cast<double>(j) / (h - 1) : 0.0);
        for (int i = 0; i < w; ++i)
            Set(x + i, y + j, c);
    }
}

void Canvas::FillCircle(double cx, double cy, double radius, Rgba c) {
    for (int j = static_cast<int>(cy - radius - 1); j <= static_cast<int>(cy + radius + 1); ++j)
        for (int i = static_cast<int>(cx - radius - 1); i <= static_cast<int>(cx + radius + 1); ++i) {
            double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
            Blend(i, j, c, radius + 0.5 - d);
        }
}

void Canvas::Ring(double cx, double cy, double radius, double thickness, Rgba c) {
    for (int j = static_cast<int>(cy - radius - thickness - 1); j <= static_cast<int>(cy + radius + thickness + 1); ++j)
        for (int i = static_cast<int>(cx - radius - thickness - 1); i <= static_cast<int>(cx + radius + thickness + 1); ++i) {
            double d = std::fabs(std::hypot(i + 0.5 - cx, j + 0.5 - cy) - radius);
            Blend(i, j, c, thickness / 2 + 0.5 - d);
        }
}

void Canvas::Line(double x0, double y0, double x1, double y1, double thickness, Rgba c) {
    double minX = std::min(x0, x1) - thickness - 1, maxX = std::max(x0, x1) + thickness + 1;
    double minY = std::min(y0, y1) - thickness - 1, maxY = std::max(y0, y1) + thickness + 1;
    double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int j = static_cast<int>(minY); j <= static_cast<int>(maxY); ++j)
        for (int i = static_cast<int>(minX); i <= static_cast<int>(maxX); ++i) {
            double px = i + 0.5, py = j + 0.5;
            double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0.0;
            double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
            Blend(i, j, c, thickness / 2 + 0.5 - d);
        }
}

void Canvas::FillPolygon(const std::vector<std::pair<double, double>>& pts, Rgba c) {
    if (pts.size() < 3)
        return;
    double minY = pts[0].second, maxY = pts[0].second;
    for (auto& p : pts) {
        minY = std::min(minY, p.second);
        maxY = std::max(maxY, p.second);
    }
    // Four sub-rows per pixel row give soft edges top and bottom; sides use coverage per span.
    for (int j = static_cast<int>(std::floor(minY)); j <= static_cast<int>(std::ceil(maxY)); ++j) {
        std::vector<double> coverage(static_cast<std::size_t>(width), 0.0);
        for (int sub = 0; sub < 4; ++sub) {
            double y = j + (sub + 0.5) / 4.0;
            std::vector<double> xs;
            for (std::size_t k = 0; k < pts.size(); ++k) {
                auto a = pts[k], b = pts[(k + 1) % pts.size()];
                if ((a.second <= y && b.second > y) || (b.second <= y && a.second > y))
                    xs.push_back(a.first + (y - a.second) / (b.second - a.second) * (b.first - a.first));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
                for (int i = std::max(0, static_cast<int>(std::floor(xs[k]))); i < std::min(width, static_cast<int>(std::ceil(xs[k + 1]))); ++i) {
                    double left = std::max<double>(i, xs[k]), right = std::min<double>(i + 1, xs[k + 1]);
                    coverage[static_cast<std::size_t>(i)] += std::max(0.0, right - left) / 4.0;
                }
        }
        for (int i = 0; i < width; ++i)
            if (coverage[static_cast<std::size_t>(i)] > 0)
                Blend(i, j, c, coverage[static_cast<std::size_t>(i)]);
    }
}

void Canvas::Bevel(int x, int y, int w, int h, Rgba face, int edge) {
    FillRect(x, y, w, h, face);
    Rgba light = Mix(face, Rgba{255, 255, 255, face.a}, 0.45);
    Rgba dark = Mix(face, Rgba{0, 0, 0, face.a}, 0.45);
    for (int e = 0; e < edge; ++e) {
        FillRect(x + e, y + e, w - 2 * e, 1, light);
        FillRect(x + e, y + e, 1, h - 2 * e, light);
        FillRect(x + e, y + h - 1 - e, w - 2 * e, 1, dark);
        FillRect(x + w - 1 - e, y + e, 1, h - 2 * e, dark);
    }
}

void Canvas::Grain(int x, int y, int w, int h, int amount, std::uint32_t seed) {
    Random rng(seed);
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            Rgba c = Get(i, j);
            if (c.a == 0)
                continue;
            int n = rng.Range(-amount, amount);
            auto adj = [n](int v) { return static_cast<std::uint8_t>(std::clamp(v + n, 0, 255)); };
            Set(i, j, Rgba{adj(c.r), adj(c.g), adj(c.b), c.a});
        }
}

void Canvas::Draw(const Canvas& other, int x, int y) {
    for (int j = 0; j < other.height; ++j)
        for (int i = 0; i < other.width; ++i)
            Blend(x + i, y + j, other.Get(i, j));
}

namespace {
void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}
}  // namespace

std::vector<std::uint8_t> Canvas::EncodePng() const {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info)
        throw std::runtime_error("libpng could not start");
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to encode");
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(&pixels[static_cast<std::size_t>(y) * width]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void Canvas::WritePng(const std::string& path) const {
    std::vector<std::uint8_t> bytes = EncodePng();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

std::uint32_t Random::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double Random::Unit() { return Next() / 4294967296.0; }
int Random::Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }
