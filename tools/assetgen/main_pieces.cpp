// The campaign's pieces, backdrops and sounds (module Main). Every piece is a 36-pixel
// square; the boxes live in the module's Pieces.ini, so a picture can change freely.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/front_art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"
#include "tools/assetgen/synth.h"

namespace {

constexpr int kCell = 36;
constexpr double kPi = 3.141592653589793;
const std::string kArt = "Modules/Main/Art/";

Rgba Alpha(Rgba c, int a) {
    c.a = static_cast<std::uint8_t>(std::clamp(a, 0, 255));
    return c;
}

Canvas Cell() { return Canvas(kCell, kCell); }

Canvas PageArt() {
    Canvas c = Cell();
    c.FillRect(5, 3, 26, 31, Mix(style::kParchment, style::kCrate, 0.35));
    c.FillRect(6, 4, 24, 29, style::kParchment);
    c.Grain(6, 4, 24, 29, 6, 501);
    for (int y = 9; y < 28; y += 4)
        c.FillRect(9, y, 18 - (y % 8), 1, Alpha(Rgba{90, 30, 20, 255}, 170));
    c.FillCircle(24, 27, 4, Rgba{170, 30, 30, 255});
    c.FillCircle(23, 26, 1.5, Rgba{220, 90, 80, 255});
    return c;
}

Canvas InkpotArt(bool spilled) {
    Canvas c = Cell();
    const Rgba glass = Mix(style::kNight, style::kTeal, 0.35);
    if (!spilled) {
        c.FillRect(8, 12, 20, 21, glass);
        c.FillRect(12, 6, 12, 7, Mix(glass, style::kInk, 0.3));
        c.FillRect(11, 4, 14, 3, style::kCrate);
        c.FillRect(10, 14, 3, 16, Alpha(style::kParchment, 90));
        c.FillRect(13, 20, 10, 8, style::kParchment);
        c.FillRect(15, 23, 6, 1, Alpha(style::kInk, 200));
    } else {
        c.FillPolygon({{2, 34}, {8, 26}, {18, 28}, {30, 25}, {35, 34}}, Rgba{16, 14, 40, 255});
        c.FillPolygon({{6, 30}, {10, 22}, {14, 30}}, glass);
        c.FillPolygon({{20, 31}, {26, 20}, {29, 31}}, glass);
        c.FillCircle(18, 31, 2, Alpha(style::kTeal, 160));
    }
    return c;
}

Canvas QuillArt() {
    Canvas c = Cell();
    front::Glow(c, 18, 18, 18, style::kAmber, 90);
    DrawQuill(c, 7, 31, 31, 4, 8, style::kParchment, style::kAmber);
    return c;
}

Canvas CrateArt() {
    Canvas c = Cell();
    DrawCrate(c, 1, 1, 34);
    return c;
}

Canvas WallArt() {
    Canvas c = Cell();
    c.Bevel(0, 0, kCell, kCell, Mix(style::kStone, style::kNight, 0.45), 3);
    c.FillRect(0, 17, kCell, 2, Alpha(style::kInk, 120));
    c.FillRect(17, 0, 2, 17, Alpha(style::kInk, 120));
    c.FillRect(8, 19, 2, 17, Alpha(style::kInk, 120));
    c.Grain(0, 0, kCell, kCell, 8, 502);
    return c;
}

Canvas LedgeArt() {
    Canvas c = Cell();
    const Rgba wood = Mix(style::kCrate, style::kInk, 0.25);
    c.Bevel(0, 0, kCell, 12, wood, 2);
    c.FillRect(0, 5, kCell, 1, Alpha(style::kInk, 90));
    c.Grain(0, 0, kCell, 12, 8, 503);
    return c;
}

Canvas JarArt(bool broken) {
    Canvas c = Cell();
    const Rgba clay = Mix(style::kEmber, style::kCrate, 0.5);
    if (!broken) {
        c.FillCircle(18, 22, 12, clay);
        c.FillRect(12, 5, 12, 8, clay);
        c.FillRect(10, 3, 16, 4, Mix(clay, style::kInk, 0.3));
        c.FillRect(8, 20, 20, 2, Alpha(style::kParchment, 110));
        c.FillCircle(13, 18, 3, Alpha(style::kParchment, 70));
    } else {
        Random rng(504);
        for (int i = 0; i < 7; ++i) {
            double x = 3 + rng.Unit() * 28, y = 20 + rng.Unit() * 12;
            c.FillPolygon({{x, y}, {x + 5 + rng.Unit() * 4, y + 2}, {x + 2, y + 6}}, Mix(clay, style::kInk, rng.Unit() * 0.4));
        }
        c.FillRect(2, 33, 32, 3, Mix(clay, style::kInk, 0.5));
    }
    return c;
}

Canvas PlankArt(bool broken) {
    Canvas c = Cell();
    const Rgba wood = Mix(style::kCrate, Rgba{90, 110, 70, 255}, 0.35);
    if (!broken) {
        for (int i = 0; i < 3; ++i)
            c.Bevel(0, i * 12, kCell, 12, Mix(wood, style::kInk, 0.1 * i), 2);
        c.Line(6, 4, 14, 9, 1, Alpha(style::kInk, 150));
        c.Line(22, 27, 30, 22, 1, Alpha(style::kInk, 150));
        c.Grain(0, 0, kCell, kCell, 10, 505);
    } else {
        c.FillPolygon({{0, 0}, {8, 0}, {5, 10}, {0, 14}}, Alpha(wood, 200));
        c.FillPolygon({{36, 22}, {30, 26}, {33, 36}, {36, 36}}, Alpha(wood, 200));
    }
    return c;
}

Canvas LedgerArt(double glow, int lines) {
    Canvas c = Cell();
    if (glow > 0)
        front::Glow(c, 18, 18, 20, style::kAmber, glow);
    c.FillRect(2, 8, 32, 24, Mix(style::kEmber, style::kInk, 0.5));
    c.FillRect(4, 9, 13, 20, style::kParchment);
    c.FillRect(19, 9, 13, 20, style::kParchment);
    c.FillRect(17, 9, 2, 21, Mix(style::kCrate, style::kInk, 0.4));
    for (int i = 0; i < lines; ++i) {
        c.FillRect(6, 12 + i * 4, 9, 1, Alpha(style::kInk, 150));
        c.FillRect(21, 12 + i * 4, 9, 1, Alpha(style::kInk, 150));
    }
    return c;
}

Canvas PlateArt(bool down, bool seal) {
    Canvas c = Cell();
    const Rgba stone = Mix(style::kStone, style::kNight, 0.35);
    c.FillRect(3, 3, 30, 30, Mix(stone, style::kInk, 0.4));
    Rgba face = down ? style::kAmber : stone;
    c.Bevel(down ? 6 : 5, down ? 6 : 5, down ? 24 : 26, down ? 24 : 26, face, down ? 1 : 2);
    if (seal)
        c.FillCircle(18, 18, 6, down ? Rgba{200, 50, 40, 255} : Rgba{130, 30, 30, 255});
    else
        c.Ring(18, 18, 6, 1.5, down ? style::kParchment : Alpha(style::kAmber, 200));
    return c;
}

// Frame 0 closed, the last frame fully open: the bars draw up into the lintel.
Canvas GateArt(int frame, int frames) {
    Canvas c = Cell();
    const double open = static_cast<double>(frame) / (frames - 1);
    const Rgba iron = Mix(style::kStone, style::kInk, 0.5);
    c.FillRect(0, 0, kCell, 5, Mix(style::kStone, style::kNight, 0.3));
    const int bottom = 5 + static_cast<int>((1.0 - open) * 31);
    for (int x = 3; x < kCell; x += 8)
        c.FillRect(x, 5, 3, bottom - 5, iron);
    if (bottom > 8) {
        c.FillRect(0, bottom - 3, kCell, 3, iron);
        c.FillRect(0, (5 + bottom) / 2, kCell, 2, iron);
    }
    return c;
}

Canvas CurrentArt(int degrees) {
    Canvas c = Cell();
    c.FillRect(1, 1, 34, 34, Alpha(style::kTeal, 90));
    DrawArrow(c, 18, 18, 26, 18, degrees, Alpha(Mix(style::kTeal, style::kParchment, 0.6), 230));
    return c;
}

Canvas TurnArt(bool left) {
    Canvas c = Cell();
    c.FillCircle(18, 18, 16, Alpha(style::kDusk, 140));
    c.Ring(18, 18, 10, 3, Alpha(style::kAmber, 230));
    // Arrowhead at the end of the ring, pointing the way of the turn.
    if (left)
        c.FillPolygon({{1, 17}, {14, 17}, {8, 26}}, style::kAmber);
    else
        c.FillPolygon({{35, 17}, {22, 17}, {28, 26}}, style::kAmber);
    return c;
}

Canvas WhisperArt() {
    Canvas c = Cell();
    c.Ring(18, 18, 14, 2, Alpha(style::kAmber, 160));
    c.Ring(18, 18, 7, 1.5, Alpha(style::kAmber, 120));
    return c;
}

// Quiet, dark pictures under the pieces: each chapter's place, dimmed.
void Dim(Canvas& c, double amount) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            c.Set(x, y, Mix(c.Get(x, y), style::kNight, amount));
}

// One backdrop per chapter: the lake at dusk, the reed beds, the glasshouse, the moonlit
// water and the last island.
Canvas LakeBackdrop(const front::SkyColours& sky, int horizon, std::uint32_t seed) {
    Canvas c(640, 480);
    front::Sky(c, horizon, sky, 160, seed);
    front::Ridge(c, horizon, 40, 110, Mix(sky.middle, style::kNight, 0.55), seed + 1);
    front::ReflectLake(c, horizon, seed + 2);
    return c;
}

Canvas ReedsBackdrop() {
    Canvas c = LakeBackdrop(front::DuskSky(), 200, 611);
    Random rng(612);
    for (int i = 0; i < 160; ++i) {
        double x = rng.Unit() * 640, h = 60 + rng.Unit() * 200;
        c.Line(x, 480, x + rng.Range(-12, 12), 480 - h, 2, Alpha(Mix(style::kNight, style::kTeal, 0.3), 200));
    }
    return c;
}

Canvas GlasshouseBackdrop() {
    Canvas c(640, 480);
    c.VerticalGradient(0, 0, 640, 480, style::kNight, Mix(style::kTeal, style::kNight, 0.55));
    for (int i = 0; i <= 10; ++i) {
        double x = i * 64.0;
        c.Line(x, 480, 320 + (x - 320) * 0.45, 0, 3, Alpha(style::kTeal, 120));
    }
    for (int r = 0; r < 6; ++r)
        c.Line(0, 440 - r * 80.0, 640, 440 - r * 80.0, 2, Alpha(style::kTeal, 70));
    front::Glow(c, 320, 200, 260, Rgba{200, 255, 200, 255}, 40);
    return c;
}

Canvas IslandBackdrop() {
    Canvas c = LakeBackdrop(front::NightSky(), 300, 631);
    front::Moon(c, 520, 90, 26);
    c.FillPolygon({{0, 480}, {0, 400}, {160, 360}, {320, 350}, {500, 364}, {640, 390}, {640, 480}},
                  Mix(style::kNight, style::kInk, 0.6));
    return c;
}

void WritePieces(const AssetContext& ctx) {
    ctx.WriteGamePng(kArt + "Page.png", PageArt());
    ctx.WriteGamePng(kArt + "Inkpot.png", InkpotArt(false));
    ctx.WriteGamePng(kArt + "InkpotSpilled.png", InkpotArt(true));
    ctx.WriteGamePng(kArt + "Quill.png", QuillArt());
    ctx.WriteGamePng(kArt + "Crate.png", CrateArt());
    ctx.WriteGamePng(kArt + "Wall.png", WallArt());
    ctx.WriteGamePng(kArt + "Ledge.png", LedgeArt());
    ctx.WriteGamePng(kArt + "Jar.png", JarArt(false));
    ctx.WriteGamePng(kArt + "JarShards.png", JarArt(true));
    ctx.WriteGamePng(kArt + "Plank.png", PlankArt(false));
    ctx.WriteGamePng(kArt + "PlankBroken.png", PlankArt(true));
    ctx.WriteGamePng(kArt + "Ledger.png", LedgerArt(0, 4));
    for (int f = 0; f < 8; ++f)
        ctx.WriteGamePng(kArt + "LedgerGlow" + std::to_string(f) + ".png",
                         LedgerArt(60 + 120 * std::sin(kPi * f / 7.0), 4));
    ctx.WriteGamePng(kArt + "Plate.png", PlateArt(false, false));
    ctx.WriteGamePng(kArt + "PlateDown.png", PlateArt(true, false));
    ctx.WriteGamePng(kArt + "SealPlate.png", PlateArt(false, true));
    ctx.WriteGamePng(kArt + "SealPlateDown.png", PlateArt(true, true));
    for (int f = 0; f < 6; ++f)
        ctx.WriteGamePng(kArt + "Gate" + std::to_string(f) + ".png", GateArt(f, 6));
    ctx.WriteGamePng(kArt + "CurrentRight.png", CurrentArt(0));
    ctx.WriteGamePng(kArt + "CurrentDown.png", CurrentArt(90));
    ctx.WriteGamePng(kArt + "CurrentLeft.png", CurrentArt(180));
    ctx.WriteGamePng(kArt + "CurrentUp.png", CurrentArt(270));
    ctx.WriteGamePng(kArt + "TurnLeft.png", TurnArt(true));
    ctx.WriteGamePng(kArt + "TurnRight.png", TurnArt(false));
    ctx.WriteGamePng(kArt + "Whisper.png", WhisperArt());

    Canvas shore = LakeBackdrop(front::DuskSky(), 240, 601);
    Dim(shore, 0.45);
    ctx.WriteGamePng(kArt + "ShoreBackdrop.png", shore);
    Canvas reeds = ReedsBackdrop();
    Dim(reeds, 0.45);
    ctx.WriteGamePng(kArt + "ReedsBackdrop.png", reeds);
    Canvas glass = GlasshouseBackdrop();
    Dim(glass, 0.35);
    ctx.WriteGamePng(kArt + "GlasshouseBackdrop.png", glass);
    Canvas night = LakeBackdrop(front::NightSky(), 260, 621);
    Dim(night, 0.4);
    ctx.WriteGamePng(kArt + "NightBackdrop.png", night);
    Canvas island = IslandBackdrop();
    Dim(island, 0.4);
    ctx.WriteGamePng(kArt + "IslandBackdrop.png", island);
}

// ---- sounds ----

constexpr int kRate = 22050;

void Layer(std::vector<float>& out, synth::Voice voice, double midi, double at, double hold, float gain,
           std::uint32_t seed) {
    synth::Note note;
    note.frequency = synth::MidiToHz(midi);
    note.seconds = hold;
    note.velocity = gain;
    note.seed = seed;
    std::vector<float> samples = synth::Render(voice, note, kRate);
    auto start = static_cast<std::size_t>(at * kRate);
    if (out.size() < start + samples.size())
        out.resize(start + samples.size(), 0.0f);
    for (std::size_t i = 0; i < samples.size(); ++i)
        out[start + i] += samples[i];
}

std::vector<float> Trimmed(std::vector<float> out, double seconds) {
    auto length = std::min(out.size(), static_cast<std::size_t>(seconds * kRate));
    out.resize(length);
    std::size_t fade = std::min<std::size_t>(length, kRate / 20);
    for (std::size_t i = 0; i < fade; ++i)
        out[length - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    return out;
}

void WriteSounds(const AssetContext& ctx) {
    const std::string dir = "Modules/Main/Sounds/";
    std::vector<float> click;
    Layer(click, synth::Voice::Rim, 72, 0, 0.05, 0.5f, 11);
    Layer(click, synth::Voice::Marimba, 67, 0.01, 0.08, 0.35f, 12);
    ctx.WriteGameWav(dir + "PlateClick.wav", Trimmed(click, 0.35));

    std::vector<float> open;
    for (int i = 0; i < 4; ++i)
        Layer(open, synth::Voice::Rim, 50 + i * 2, i * 0.06, 0.04, 0.35f, 20 + i);
    Layer(open, synth::Voice::Bell, 62, 0.22, 0.2, 0.25f, 25);
    ctx.WriteGameWav(dir + "GateOpen.wav", Trimmed(open, 0.8));

    std::vector<float> close;
    for (int i = 0; i < 4; ++i)
        Layer(close, synth::Voice::Rim, 56 - i * 2, i * 0.06, 0.04, 0.35f, 30 + i);
    Layer(close, synth::Voice::Kick, 40, 0.24, 0.1, 0.5f, 35);
    ctx.WriteGameWav(dir + "GateClose.wav", Trimmed(close, 0.7));

    std::vector<float> shatter;
    Layer(shatter, synth::Voice::Shaker, 90, 0, 0.12, 0.6f, 41);
    for (int i = 0; i < 5; ++i)
        Layer(shatter, synth::Voice::Glass, 88 + (i * 5) % 9, 0.02 + i * 0.03, 0.03, 0.3f, 42 + i);
    ctx.WriteGameWav(dir + "Shatter.wav", Trimmed(shatter, 0.7));

    std::vector<float> snap;
    Layer(snap, synth::Voice::Rim, 48, 0, 0.05, 0.7f, 51);
    Layer(snap, synth::Voice::Brush, 60, 0.02, 0.15, 0.5f, 52);
    Layer(snap, synth::Voice::Kick, 36, 0.05, 0.1, 0.5f, 53);
    ctx.WriteGameWav(dir + "PlankSnap.wav", Trimmed(snap, 0.6));

    std::vector<float> chime;
    const int notes[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i)
        Layer(chime, synth::Voice::Glass, notes[i], i * 0.09, 0.3, 0.3f, 60 + i);
    Layer(chime, synth::Voice::Pad, 60, 0, 0.6, 0.15f, 65);
    ctx.WriteGameWav(dir + "LedgerChime.wav", Trimmed(chime, 1.6));
}

// Speaker pictures (140x140) and flag pictures (140x100) for the campaign's dialogs.
void WriteDialogPictures(const AssetContext& ctx) {
    const Rgba body = Mix(style::kNight, style::kInk, 0.7), rim = Mix(style::kAmber, style::kEmber, 0.3);
    for (auto [file, who] : {std::pair{"KeeperIcon", front::Who::Keeper}, std::pair{"ApprenticeIcon", front::Who::Apprentice}}) {
        Canvas c(140, 140);
        c.VerticalGradient(0, 0, 140, 140, style::kDusk, style::kNight);
        front::Glow(c, 70, 60, 70, style::kAmber, 50);
        Canvas f = front::Figure(200, who, body, rim, who == front::Who::Apprentice);
        c.Draw(f, 70 - f.Width() / 2, 10);
        ctx.WriteGamePng(kArt + file + ".png", c);
    }
    struct Flag {
        const char* file;
        Rgba top, bottom;
    };
    for (const Flag& f : {Flag{"ShoreFlag", style::kDusk, style::kLake}, Flag{"ReedsFlag", style::kDusk, style::kTeal},
                          Flag{"GlasshouseFlag", style::kTeal, style::kNight}, Flag{"NightFlag", style::kNight, style::kLake},
                          Flag{"IslandFlag", style::kNight, style::kInk}, Flag{"LedgerFlag", style::kCrate, style::kInk},
                          Flag{"QuillFlag", style::kDusk, style::kCrate}, Flag{"SecretFlag", style::kEmber, style::kDusk}}) {
        Canvas c(140, 100);
        c.VerticalGradient(0, 0, 140, 100, f.top, f.bottom);
        c.Grain(0, 0, 140, 100, 6, 700);
        ctx.WriteGamePng(kArt + f.file + ".png", c);
    }
}

void Generate(const AssetContext& ctx) {
    WritePieces(ctx);
    WriteDialogPictures(ctx);
    WriteSounds(ctx);
}

RegisterAssetGroup mainPieces("main_pieces", Generate);

}  // namespace
