// The interface's sound effects, made with the same voices as the music: soft glass and
// wood, short, each starting and ending in silence.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/synth.h"

namespace {

constexpr int kRate = 22050;
using synth::Voice;

// Adds a voice's note at a time offset, growing the buffer as needed.
void Layer(std::vector<float>& out, Voice voice, double midi, double at, double hold, float gain, std::uint32_t seed) {
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

// Cuts to length with a short fade so the end never clicks.
void Trim(std::vector<float>& out, double seconds) {
    auto length = std::min(out.size(), static_cast<std::size_t>(seconds * kRate));
    out.resize(length);
    std::size_t fade = std::min<std::size_t>(length, kRate / 50);
    for (std::size_t i = 0; i < fade; ++i)
        out[length - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

// Levels the loudest moment, so every cue sits as loud as the blip and no louder.
std::vector<float> Level(std::vector<float> out, double peak) {
    float loudest = 0.0f;
    for (float s : out)
        loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0)
        for (float& s : out)
            s *= static_cast<float>(peak / loudest);
    return out;
}

// Two soft glass notes a fifth apart: a light "pip" for every button.
std::vector<float> Blip() {
    std::vector<float> out;
    Layer(out, Voice::Glass, 86, 0.0, 0.03, 0.24f, 1);
    Layer(out, Voice::Glass, 93, 0.035, 0.03, 0.17f, 2);
    Trim(out, 0.22);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] *= static_cast<float>(std::min(1.0, (out.size() - i) / (0.15 * kRate)));
    return out;
}

// The ring moving on: one small wooden tick.
std::vector<float> MenuMove() {
    std::vector<float> out;
    Layer(out, Voice::Marimba, 84, 0.0, 0.02, 0.5f, 101);
    Trim(out, 0.09);
    return Level(out, 0.22);
}

// A choice made: the blip's glass, a step higher, over a wooden tap.
std::vector<float> MenuChoose() {
    std::vector<float> out;
    Layer(out, Voice::Marimba, 72, 0.0, 0.03, 0.45f, 111);
    Layer(out, Voice::Glass, 88, 0.0, 0.04, 0.24f, 112);
    Layer(out, Voice::Glass, 95, 0.04, 0.04, 0.18f, 113);
    Trim(out, 0.25);
    return Level(out, 0.28);
}

// Gravity turning: a soft low swell that leans the way things will fall.
std::vector<float> Turn() {
    std::vector<float> out;
    Layer(out, Voice::Harp, 55, 0.0, 0.08, 0.4f, 121);
    Layer(out, Voice::Glass, 79, 0.0, 0.05, 0.16f, 122);
    Layer(out, Voice::Harp, 62, 0.05, 0.08, 0.3f, 123);
    Trim(out, 0.3);
    return Level(out, 0.26);
}

// Everything come to rest: a dull wooden knock with a little thump under it.
std::vector<float> Land() {
    std::vector<float> out;
    Layer(out, Voice::Marimba, 48, 0.0, 0.04, 0.6f, 131);
    Layer(out, Voice::Kick, 41, 0.0, 0.04, 0.35f, 132);
    Layer(out, Voice::Marimba, 55, 0.012, 0.03, 0.25f, 133);
    Trim(out, 0.26);
    return Level(out, 0.3);
}

// A turn taken back: the turn's two notes the other way round, falling.
std::vector<float> Undo() {
    std::vector<float> out;
    Layer(out, Voice::Harp, 62, 0.0, 0.06, 0.3f, 141);
    Layer(out, Voice::Harp, 55, 0.05, 0.08, 0.35f, 142);
    Layer(out, Voice::Glass, 74, 0.05, 0.04, 0.12f, 143);
    Trim(out, 0.3);
    return Level(out, 0.24);
}

// The level laid out afresh: a quick falling run of glass, then a wooden knock.
std::vector<float> Restart() {
    std::vector<float> out;
    const int run[] = {91, 88, 84, 79};
    for (int i = 0; i < 4; ++i)
        Layer(out, Voice::Glass, run[i], i * 0.04, 0.03, 0.2f, 151 + static_cast<std::uint32_t>(i));
    Layer(out, Voice::Marimba, 55, 0.17, 0.04, 0.45f, 155);
    Trim(out, 0.42);
    return Level(out, 0.26);
}

// A key kept for when the board rests: the softest glass tick.
std::vector<float> KeyKept() {
    std::vector<float> out;
    Layer(out, Voice::Glass, 91, 0.0, 0.02, 0.2f, 161);
    Trim(out, 0.1);
    return Level(out, 0.14);
}

// A key that does nothing: two low dry plucks, a "no".
std::vector<float> KeyRefused() {
    std::vector<float> out;
    Layer(out, Voice::Pluck, 50, 0.0, 0.03, 0.5f, 171);
    Layer(out, Voice::Pluck, 49, 0.07, 0.03, 0.45f, 172);
    Trim(out, 0.2);
    return Level(out, 0.22);
}

void Generate(const AssetContext& ctx) {
    ctx.WriteGameWav("GUI/Blip.wav", Blip());
    ctx.WriteGameWav("GUI/MenuMove.wav", MenuMove());
    ctx.WriteGameWav("GUI/MenuChoose.wav", MenuChoose());
    ctx.WriteGameWav("GUI/Turn.wav", Turn());
    ctx.WriteGameWav("GUI/Land.wav", Land());
    ctx.WriteGameWav("GUI/Undo.wav", Undo());
    ctx.WriteGameWav("GUI/Restart.wav", Restart());
    ctx.WriteGameWav("GUI/KeyKept.wav", KeyKept());
    ctx.WriteGameWav("GUI/KeyRefused.wav", KeyRefused());
}

RegisterAssetGroup sounds("sounds", Generate);

}  // namespace
