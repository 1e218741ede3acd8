#pragma once
// A small RGBA drawing surface for the asset generator, written out as PNG.
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

Rgba Mix(Rgba a, Rgba b, double t);

class Canvas {
public:
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});
    int Width() const { return width; }
    int Height() const { return height; }

    Rgba Get(int x, int y) const;
    void Set(int x, int y, Rgba c);
    // Draws c over the pixel, weighted by c.a and `coverage` (0..1).
    void Blend(int x, int y, Rgba c, double coverage = 1.0);

    void FillRect(int x, int y, int w, int h, Rgba c);
    void BlendRect(int x, int y, int w, int h, Rgba c);
    void VerticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);
    void FillCircle(double cx, double cy, double radius, Rgba c);
    void Ring(double cx, double cy, double radius, double thickness, Rgba c);
    void Line(double x0, double y0, double x1, double y1, double thickness, Rgba c);
    void FillPolygon(const std::vector<std::pair<double, double>>& points, Rgba c);
    // A bevelled panel: raised light top-left edge and shadowed bottom-right edge.
    void Bevel(int x, int y, int w, int h, Rgba face, int edge);
    // Deterministic grain so flat areas don't look synthetic.
    void Grain(int x, int y, int w, int h, int amount, std::uint32_t seed);
    void Draw(const Canvas& other, int x, int y);

    // Throws std::runtime_error when the file can't be written.
    void WritePng(const std::string& path) const;
    std::vector<std::uint8_t> EncodePng() const;

private:
    int width;
    int height;
    std::vector<Rgba> pixels;
};

// A small deterministic random source (xorshift).
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t Next();
    double Unit();  // [0, 1)
    int Range(int lo, int hi);  // [lo, hi]

private:
    std::uint32_t state;
};
