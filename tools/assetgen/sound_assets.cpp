// The game's sound effects, made with the same voices as the music.
#include <algorithm>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/synth.h"

namespace {

constexpr int kRate = 22050;

// Adds a voice's note at a time offset, growing the buffer as needed.
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

// Cuts to length with a short fade so the end never clicks.
void Trim(std::vector<float>& out, double seconds) {
    auto length = std::min(out.size(), static_cast<std::size_t>(seconds * kRate));
    out.resize(length);
    std::size_t fade = std::min<std::size_t>(length, kRate / 50);
    for (std::size_t i = 0; i < fade; ++i)
        out[length - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

// Two soft glass notes a fifth apart: a light "pip" for every button.
std::vector<float> Blip() {
    std::vector<float> out;
    Layer(out, synth::Voice::Glass, 86, 0.0, 0.03, 0.24f, 1);
    Layer(out, synth::Voice::Glass, 93, 0.035, 0.03, 0.17f, 2);
    Trim(out, 0.22);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] *= static_cast<float>(std::min(1.0, (out.size() - i) / (0.15 * kRate)));
    return out;
}

void Generate(const AssetContext& ctx) { ctx.WriteGameWav("GUI/Blip.wav", Blip()); }

RegisterAssetGroup sounds("sounds", Generate);

}  // namespace
