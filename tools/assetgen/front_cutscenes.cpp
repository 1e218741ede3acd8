// The story pictures. The opening tells how the keeper's quill was lost and the Ledger's
// pages scattered over the mere; the glowing pictures show the light that points to the
// last island; the closing tells how the apprentice brought the quill home.
#include <cmath>
#include <functional>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"
#include "tools/assetgen/text.h"

namespace {
using namespace front;

constexpr double kPi = 3.141592653589793;
const Rgba kSilhouette = Mix(style::kNight, style::kInk, 0.7);
const Rgba kRim = Mix(style::kAmber, style::kEmber, 0.3);
const Rgba kPaper{244, 232, 204, 235};

Rgba Alpha(Rgba c, int a) { return Rgba{c.r, c.g, c.b, static_cast<std::uint8_t>(std::clamp(a, 0, 255))}; }

void Put(Canvas& c, const Canvas& sprite, int centreX, int baseY) { c.Draw(sprite, centreX - sprite.Width() / 2, baseY - sprite.Height()); }
void PutReflected(Canvas& c, const Canvas& sprite, int centreX, int baseY) {
    DrawReflected(c, sprite, centreX - sprite.Width() / 2, baseY - sprite.Height());
}

// The lake with the keep on its shore. `keepX` < 0 leaves the keep out.
void Shore(Canvas& c, const SkyColours& sky, int horizon, std::uint32_t seed, int keepX, int keepHeight, bool lit,
           double moonX = -1, double moonY = 0) {
    Sky(c, horizon, sky, 200, seed);
    if (moonX >= 0)
        Moon(c, moonX, moonY, 22);
    Ridge(c, horizon, 48, 100, Mix(sky.middle, style::kNight, 0.55), seed + 1);
    Ridge(c, horizon, 24, 60, Mix(style::kNight, style::kInk, 0.45), seed + 2);
    if (keepX >= 0) {
        Canvas keep = Keep(keepHeight, lit, kSilhouette);
        c.Draw(keep, keepX - keep.Width() / 2, horizon - keepHeight);
        if (lit)
            Glow(c, keepX + keep.Width() * 0.08, horizon - keepHeight * 0.55, keepHeight * 0.5, style::kAmber, 45);
    }
    ReflectLake(c, horizon, seed + 3);
}

// An island standing in the lake, drawn with its reflection.
Canvas Island(int width, int height) {
    Canvas s(width, height);
    std::vector<std::pair<double, double>> rock{{0, static_cast<double>(height)}};
    for (int i = 0; i <= 24; ++i) {
        double t = i / 24.0;
        rock.emplace_back(t * width, height - height * std::pow(std::sin(t * kPi), 0.7) * (0.8 + 0.2 * std::sin(t * 17)));
    }
    rock.emplace_back(width, height);
    s.FillPolygon(rock, kSilhouette);
    return s;
}

// A leaning tower of crates on the island.
void CrateTower(Canvas& c, int baseX, int baseY, int count, int size, double lean, double glow) {
    for (int i = 0; i < count; ++i) {
        double x = baseX + std::sin(i * 1.3) * size * 0.18 + i * lean;
        DrawCrate(c, static_cast<int>(x - size / 2.0), baseY - (i + 1) * size, size);
    }
    if (glow > 0) {
        double topX = baseX + (count - 1) * lean, topY = baseY - count * size;
        Glow(c, topX, topY - 14, 70, style::kAmber, glow);
        DrawQuill(c, topX - 4, topY + 2, topX + 16, topY - 40, 8, style::kParchment, style::kAmber);
    }
}

void Wind(Canvas& c, int x, int y, int w, int h, std::uint32_t seed) {
    Random rng(seed);
    for (int i = 0; i < 14; ++i) {
        double y0 = y + rng.Unit() * h, x0 = x + rng.Unit() * w * 0.3;
        double len = w * (0.3 + rng.Unit() * 0.5);
        for (int k = 0; k < 12; ++k) {
            double t0 = k / 12.0, t1 = (k + 1) / 12.0;
            c.Line(x0 + len * t0, y0 + std::sin(t0 * 5 + i) * 6, x0 + len * t1, y0 + std::sin(t1 * 5 + i) * 6, 1.2,
                   Alpha(style::kParchment, static_cast<int>(60 * std::sin(t0 * kPi))));
        }
    }
}

void ScatteredPages(Canvas& c, int count, int x, int y, int w, int h, double size, int alpha, std::uint32_t seed) {
    Random rng(seed);
    for (int i = 0; i < count; ++i) {
        double px = x + rng.Unit() * w, py = y + rng.Unit() * h;
        double s = size * (0.6 + rng.Unit() * 0.6);
        Glow(c, px, py, s * 1.6, style::kAmber, alpha * 0.25);
        Page(c, px, py, s, s * 1.3, rng.Unit() * 360, Alpha(kPaper, alpha));
    }
}

// A trail of light from (x0, y0) to (x1, y1), bowed upward.
void LightStream(Canvas& c, double x0, double y0, double x1, double y1, double bow, int alpha) {
    for (int k = 0; k < 60; ++k) {
        double t = k / 60.0, u = (k + 1) / 60.0;
        auto at = [&](double s) { return std::make_pair(x0 + (x1 - x0) * s, y0 + (y1 - y0) * s - bow * std::sin(s * kPi)); };
        auto [ax, ay] = at(t);
        auto [bx, by] = at(u);
        c.Line(ax, ay, bx, by, 3.5, Alpha(style::kAmber, alpha / 3));
        c.Line(ax, ay, bx, by, 1.2, Alpha(style::kParchment, alpha));
    }
}

void Desk(Canvas& c, int x, int y, int w) {
    Rgba wood = Mix(style::kCrate, style::kInk, 0.5);
    c.FillRect(x, y, w, 12, Mix(wood, style::kParchment, 0.1));
    c.FillRect(x, y + 12, w, 6, Mix(wood, style::kInk, 0.4));
    c.FillRect(x + 12, y + 18, 14, 480 - y, Mix(wood, style::kInk, 0.3));
    c.FillRect(x + w - 26, y + 18, 14, 480 - y, Mix(wood, style::kInk, 0.3));
}

void Candle(Canvas& c, int x, int baseY) {
    Glow(c, x, baseY - 38, 160, style::kAmber, 70);
    c.FillRect(x - 5, baseY - 30, 10, 30, style::kParchment);
    c.FillPolygon({{x - 4.0, baseY - 36.0}, {x + 0.0, baseY - 52.0}, {x + 4.0, baseY - 36.0}, {x + 0.0, baseY - 30.0}}, style::kAmber);
    c.FillCircle(x, baseY - 37, 2.5, Rgba{255, 246, 210, 255});
}

void Inkwell(Canvas& c, int x, int baseY, bool withQuill) {
    c.FillRect(x - 12, baseY - 18, 24, 18, Mix(style::kNight, style::kInk, 0.3));
    c.FillRect(x - 8, baseY - 22, 16, 5, Mix(style::kNight, style::kInk, 0.2));
    c.FillRect(x - 12, baseY - 18, 24, 2, Alpha(style::kParchment, 60));
    if (withQuill)
        DrawQuill(c, x - 2, baseY - 16, x + 46, baseY - 120, 16, style::kParchment, style::kAmber);
}

// The study with a figure at the desk.
void StudyWithDesk(Canvas& c, std::uint32_t seed, Who writer, bool candle, int writtenLines) {
    Study(c, seed);
    Desk(c, 150, 330, 300);
    OpenBook(c, 300, 292, 150, 36, writtenLines, seed + 5);
    Inkwell(c, 412, 330, false);
    if (candle)
        Candle(c, 190, 330);
    Canvas f = Figure(writer == Who::Keeper ? 230 : 200, writer, kSilhouette, kRim, false);
    Put(c, f, 250, 480);
}

using Painter = std::function<void(const AssetContext&, Canvas&)>;

void Write(const AssetContext& ctx, const std::string& name, const std::string& caption, const Painter& paint) {
    Canvas c(640, 480, Rgba{0, 0, 0, 255});
    paint(ctx, c);
    Letterbox(ctx, c, caption);
    ctx.WriteGamePng("GUI/Cutscenes/" + name + ".png", c);
}

void Opening(const AssetContext& ctx) {
    Write(ctx, "Opening1", "Quillmere, at dusk. The keep stands where the lake lies stillest.", [](auto&, Canvas& c) {
        Shore(c, DuskSky(), 290, 101, 200, 190, true);
        Put(c, Boat(90, kSilhouette), 470, 330);
    });
    Write(ctx, "Opening2", "Each evening the old keeper wrote the day's fall into the Ledger.", [](auto&, Canvas& c) {
        StudyWithDesk(c, 102, Who::Keeper, true, 11);
    });
    Write(ctx, "Opening3", "Whatever the quill wrote, the mere obeyed: down was down because he wrote it so.",
          [](auto&, Canvas& c) {
              c.VerticalGradient(0, 0, 640, 480, Mix(style::kCrate, style::kInk, 0.7), style::kInk);
              Glow(c, 320, 260, 330, style::kAmber, 60);
              OpenBook(c, 320, 150, 480, 240, 10, 103);
              DrawArrow(c, 420, 250, 120, 70, 90, Alpha(Rgba{40, 20, 30, 255}, 190));
              DrawQuill(c, 470, 320, 610, 80, 40, style::kParchment, style::kAmber);
              for (int i = 0; i < 3; ++i)
                  DrawCrate(c, 110 + i * 46, 334 - i % 2 * 0, 40);
          });
    Write(ctx, "Opening4", "One evening the wind came in off the water.", [](auto&, Canvas& c) {
        StudyWithDesk(c, 104, Who::Keeper, false, 6);
        Wind(c, 300, 90, 340, 260, 1041);
        ScatteredPages(c, 5, 330, 130, 200, 150, 26, 230, 1042);
    });
    Write(ctx, "Opening5", "The quill was torn from his hand and carried out over the lake...", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 330, 105, 80, 150, true, 520, 80);
        DrawQuill(c, 300, 240, 420, 110, 30, style::kParchment, style::kAmber);
        Glow(c, 360, 175, 90, style::kAmber, 60);
        Wind(c, 60, 100, 560, 180, 1051);
        ScatteredPages(c, 8, 120, 150, 220, 140, 18, 220, 1052);
    });
    Write(ctx, "Opening6", "...and with nothing left to write it, the fall of things came loose.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 330, 106, 320, 170, false);
        Random rng(1061);
        for (int i = 0; i < 9; ++i)
            TiltedCrate(c, 90 + rng.Unit() * 460, 70 + rng.Unit() * 190, 26 + rng.Unit() * 20, rng.Unit() * 360);
        for (int d = 0; d < 4; ++d)
            DrawArrow(c, 320 + std::cos(d * kPi / 2) * 230, 200 + std::sin(d * kPi / 2) * 110, 50, 30, d * 90 + 180,
                      Alpha(style::kAmber, 150));
    });
    Write(ctx, "Opening7", "The pages of the Ledger scattered over every shore of the mere.", [](auto&, Canvas& c) {
        Shore(c, DuskSky(), 250, 107, -1, 0, false);
        PutReflected(c, Island(140, 40), 140, 262);
        PutReflected(c, Island(90, 28), 420, 258);
        PutReflected(c, Island(60, 18), 580, 254);
        ScatteredPages(c, 14, 40, 110, 560, 240, 16, 235, 1071);
    });
    Write(ctx, "Opening8", "\"Gather them, apprentice. Turn the fall by hand until the quill is found.\"",
          [](auto&, Canvas& c) {
              Shore(c, DuskSky(), 320, 108, 540, 150, true);
              Put(c, Figure(250, Who::Keeper, kSilhouette, kRim, false), 210, 440);
              Put(c, Figure(180, Who::Apprentice, kSilhouette, kRim, true), 340, 440);
              c.FillRect(0, 430, 640, 50, kSilhouette);
          });
    Write(ctx, "Opening9", "So the apprentice set out across the darkening water.", [](auto&, Canvas& c) {
        Shore(c, DuskSky(), 260, 109, 90, 110, true);
        Canvas boat = Boat(160, kSilhouette);
        Canvas rower = Figure(90, Who::Apprentice, kSilhouette, kRim, true);
        Canvas both(200, 130);
        both.Draw(rower, 60, 130 - 40 - 90 + 22);
        both.Draw(boat, 20, 130 - 40);
        PutReflected(c, both, 380, 380);
        Glow(c, 405, 330, 120, style::kAmber, 40);
    });
}

void Glowing(const AssetContext& ctx) {
    Write(ctx, "Glowing1", "Among the glasshouse crates, something had taken root.", [](auto&, Canvas& c) {
        c.VerticalGradient(0, 0, 640, 480, style::kNight, Mix(style::kTeal, style::kNight, 0.5));
        // Glasshouse ribs.
        for (int i = 0; i <= 8; ++i) {
            double x = 40 + i * 70;
            c.Line(x, 480, 320 + (x - 320) * 0.4, 40, 4, Alpha(style::kTeal, 160));
        }
        for (int r = 0; r < 5; ++r)
            c.Line(0, 420 - r * 80.0, 640, 420 - r * 80.0, 2, Alpha(style::kTeal, 90));
        for (int i = 0; i < 5; ++i)
            DrawCrate(c, 70 + i * 110, 380 - (i % 2) * 10, 70);
        Glow(c, 320, 250, 260, Rgba{200, 255, 200, 255}, 120);
        Glow(c, 320, 250, 120, style::kAmber, 150);
        // The flower climbing out of its crate.
        c.Line(320, 380, 316, 260, 4, Rgba{90, 170, 120, 255});
        for (int k = 0; k < 3; ++k)
            c.FillPolygon({{318.0, 340.0 - k * 30}, {280.0 - k * 6, 318.0 - k * 30}, {316.0, 326.0 - k * 30}}, Rgba{90, 170, 120, 255});
        for (int p = 0; p < 6; ++p) {
            double a = p * kPi / 3;
            c.FillCircle(316 + std::cos(a) * 16, 250 + std::sin(a) * 16, 12, Rgba{255, 226, 150, 255});
        }
        c.FillCircle(316, 250, 10, Rgba{255, 250, 230, 255});
        DrawCrate(c, 282, 372, 76);
    });
    Write(ctx, "Glowing2", "Its light fell across the water, and out on the last island, something answered.",
          [](auto&, Canvas& c) {
              Shore(c, NightSky(), 280, 202, -1, 0, false);
              PutReflected(c, Island(130, 50), 520, 292);
              Glow(c, 528, 236, 60, style::kAmber, 150);
              c.FillCircle(528, 238, 3, style::kParchment);
              LightStream(c, 60, 440, 520, 240, 60, 200);
              Glow(c, 60, 440, 120, Rgba{200, 255, 200, 255}, 110);
          });
}

void Closing(const AssetContext& ctx) {
    Write(ctx, "Closing1", "Every page was gathered. Only the quill was missing, and the island waited.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 250, 301, -1, 0, false, 120, 90);
        PutReflected(c, Island(260, 70), 420, 262);
        CrateTower(c, 430, 210, 4, 28, 3, 0);
        Canvas boat = Boat(120, kSilhouette);
        Canvas rower = Figure(70, Who::Apprentice, kSilhouette, kRim, true);
        Canvas both(150, 100);
        both.Draw(rower, 45, 100 - 30 - 70 + 16);
        both.Draw(boat, 15, 100 - 30);
        PutReflected(c, both, 170, 400);
    });
    Write(ctx, "Closing2", "The island's crates had fallen upward, and stood piled into a tower.", [](auto&, Canvas& c) {
        Sky(c, 400, NightSky(), 220, 302);
        Moon(c, 120, 100, 20);
        c.FillPolygon({{0, 480}, {0, 410}, {160, 380}, {320, 372}, {500, 384}, {640, 404}, {640, 480}}, kSilhouette);
        CrateTower(c, 330, 380, 8, 38, 4, 0);
        Put(c, Figure(80, Who::Apprentice, kSilhouette, kRim, true), 180, 392);
    });
    Write(ctx, "Closing3", "At its top, caught fast between two crates: the quill.", [](auto&, Canvas& c) {
        Sky(c, 480, NightSky(), 160, 303);
        DrawCrate(c, 150, 300, 150);
        DrawCrate(c, 330, 290, 160);
        Glow(c, 325, 250, 200, style::kAmber, 120);
        DrawQuill(c, 310, 320, 400, 70, 44, style::kParchment, style::kAmber);
    });
    Write(ctx, "Closing5", "The apprentice turned the fall one last time: down.", [](auto&, Canvas& c) {
        Sky(c, 400, NightSky(), 200, 305);
        c.FillPolygon({{0, 480}, {0, 410}, {160, 380}, {320, 372}, {500, 384}, {640, 404}, {640, 480}}, kSilhouette);
        Random rng(3051);
        for (int i = 0; i < 7; ++i)
            TiltedCrate(c, 300 + rng.Range(-50, 80), 90 + i * 40, 36, rng.Range(-20, 20));
        DrawArrow(c, 520, 220, 190, 110, 90, Alpha(style::kAmber, 210));
        Put(c, Figure(80, Who::Apprentice, kSilhouette, kRim, true), 150, 392);
    });
    Write(ctx, "Closing6", "The tower came down, and the quill came free.", [](auto&, Canvas& c) {
        Sky(c, 400, NightSky(), 200, 306);
        c.FillPolygon({{0, 480}, {0, 410}, {160, 380}, {320, 372}, {500, 384}, {640, 404}, {640, 480}}, kSilhouette);
        Random rng(3061);
        for (int i = 0; i < 8; ++i)
            TiltedCrate(c, 330 + rng.Range(-150, 180), 362 - rng.Range(0, 20), 36, rng.Range(-30, 30));
        Put(c, Figure(110, Who::Apprentice, kSilhouette, kRim, false), 300, 392);
        Glow(c, 330, 250, 90, style::kAmber, 140);
        DrawQuill(c, 318, 290, 360, 200, 18, style::kParchment, style::kAmber);
    });
    Write(ctx, "Closing7", "At its touch, the gathered pages rose into the air...", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 260, 307, -1, 0, false, 520, 70);
        PutReflected(c, Island(150, 40), 120, 270);
        PutReflected(c, Island(110, 30), 560, 266);
        LightStream(c, 120, 240, 320, 80, 40, 170);
        LightStream(c, 560, 240, 320, 80, 40, 170);
        LightStream(c, 330, 420, 320, 80, -10, 170);
        ScatteredPages(c, 12, 100, 80, 440, 170, 14, 235, 3071);
    });
    Write(ctx, "Closing8", "...and flew home to the keep.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 310, 308, 470, 200, true, 120, 80);
        LightStream(c, 40, 160, 480, 150, 60, 200);
        ScatteredPages(c, 10, 60, 90, 380, 100, 13, 235, 3081);
    });
    Write(ctx, "Closing9", "The boat came back across the moonlit water.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 270, 309, 540, 120, true, 200, 110);
        Canvas boat = Boat(150, kSilhouette);
        Canvas rower = Figure(84, Who::Apprentice, kSilhouette, kRim, true);
        Canvas both(190, 120);
        both.Draw(rower, 56, 120 - 38 - 84 + 20);
        both.Draw(boat, 20, 120 - 38);
        PutReflected(c, both, 300, 390);
    });
    Write(ctx, "Closing10", "The old keeper was waiting at the door.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 330, 310, 500, 240, true);
        c.FillRect(0, 420, 640, 60, kSilhouette);
        Glow(c, 360, 380, 140, style::kAmber, 70);
        Put(c, Figure(190, Who::Keeper, kSilhouette, kRim, true), 350, 430);
        Put(c, Figure(160, Who::Apprentice, kSilhouette, kRim, false), 160, 430);
    });
    Write(ctx, "Closing11", "At the desk the apprentice wrote one word, in a steady hand: down.", [](auto&, Canvas& c) {
        StudyWithDesk(c, 311, Who::Apprentice, true, 4);
        DrawQuill(c, 300, 300, 330, 230, 14, style::kParchment, style::kAmber);
        Glow(c, 300, 300, 60, style::kAmber, 90);
    });
    Write(ctx, "Closing12", "Everything in Quillmere settled back where it belonged.", [](auto&, Canvas& c) {
        Study(c, 312);
        Desk(c, 150, 330, 300);
        OpenBook(c, 300, 292, 150, 36, 12, 3121);
        Inkwell(c, 412, 330, true);
        Candle(c, 190, 330);
        for (int i = 0; i < 4; ++i)
            DrawCrate(c, 470 + (i % 2) * 52, 434 - (i / 2) * 50, 48);
    });
    Write(ctx, "Closing13", "\"The Ledger is yours now,\" said the keeper.", [](auto&, Canvas& c) {
        Study(c, 313);
        Candle(c, 320, 330);
        Put(c, Figure(240, Who::Keeper, kSilhouette, kRim, false), 200, 480);
        Put(c, Figure(200, Who::Apprentice, kSilhouette, kRim, true), 430, 480);
    });
    Write(ctx, "Closing14", "Night passed over the mere, quiet at last.", [](auto&, Canvas& c) {
        Shore(c, NightSky(), 300, 314, 150, 140, true, 480, 90);
    });
    Write(ctx, "Closing15", "And, for the first time in a long while, morning came.", [](auto&, Canvas& c) {
        Shore(c, DawnSky(), 300, 315, -1, 0, false);
        Glow(c, 330, 300, 260, Rgba{255, 220, 160, 255}, 130);
        c.FillCircle(330, 300, 40, Rgba{255, 236, 190, 255});
        ReflectLake(c, 300, 3151);
    });
    Write(ctx, "Closing16", "The keep stood in the early light.", [](auto&, Canvas& c) {
        Shore(c, DawnSky(), 320, 316, 320, 230, false);
        Glow(c, 560, 320, 200, Rgba{255, 220, 160, 255}, 110);
    });
    Write(ctx, "Closing17", "In the Ledger, a new page was begun.", [](auto&, Canvas& c) {
        c.VerticalGradient(0, 0, 640, 480, Mix(style::kCrate, style::kParchment, 0.25), Mix(style::kCrate, style::kInk, 0.5));
        Glow(c, 520, 60, 400, Rgba{255, 230, 180, 255}, 90);
        OpenBook(c, 320, 140, 480, 250, 2, 3171);
        DrawQuill(c, 430, 330, 590, 120, 38, style::kParchment, style::kAmber);
    });
    Write(ctx, "Closing18", "The quill rests in its well. The mere is still.", [](auto&, Canvas& c) {
        c.VerticalGradient(0, 0, 640, 480, Mix(style::kDusk, style::kCrate, 0.3), Mix(style::kCrate, style::kInk, 0.7));
        Glow(c, 320, 240, 300, Rgba{255, 230, 180, 255}, 70);
        c.FillRect(0, 360, 640, 120, Mix(style::kCrate, style::kInk, 0.5));
        c.FillRect(270, 300, 100, 62, Mix(style::kNight, style::kInk, 0.3));
        c.FillRect(290, 286, 60, 16, Mix(style::kNight, style::kInk, 0.2));
        c.FillRect(270, 300, 100, 4, Alpha(style::kParchment, 70));
        DrawQuill(c, 318, 292, 430, 60, 46, style::kParchment, style::kAmber);
    });
    // The last picture stays up under the ending dialog, which covers the foot of the screen.
    Canvas c(640, 480);
    Shore(c, DawnSky(), 250, 319, 110, 110, false);
    Glow(c, 470, 240, 200, Rgba{255, 220, 160, 255}, 120);
    c.FillRect(0, 0, 640, 30, Rgba{0, 0, 0, 255});
    if (DrawShadowedText(ctx, c, "QUILLMERE", 56, 320, 50, style::kParchment, 3, TextAlign::Center) >= 0)
        DrawText(ctx, c, "THE END", 24, 320, 120, style::kParchment, TextAlign::Center);
    c.FillRect(220, 156, 200, 2, style::kAmber);
    ctx.WriteGamePng("GUI/Cutscenes/Closing19.png", c);
}

void Generate(const AssetContext& ctx) {
    Opening(ctx);
    Glowing(ctx);
    Closing(ctx);
}

RegisterAssetGroup frontCutscenes("front_cutscenes", Generate);

}  // namespace
