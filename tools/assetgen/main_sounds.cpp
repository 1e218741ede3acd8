// The campaign's sounds, made with the voices of the music: woody taps, glass and a warm
// chime. Each is short, starts and ends in silence, and is levelled to sit no louder than
// the menus' blip.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/synth.h"

namespace {

constexpr int kRate = 22050;
using synth::Voice;

struct Sound {
    std::vector<float> samples;

    // Adds a voice's note at a time offset, growing the buffer as needed.
    void Add(Voice voice, double midi, double at, double hold, float gain, std::uint32_t seed) {
        synth::Note note;
        note.frequency = synth::MidiToHz(midi);
        note.seconds = hold;
        note.velocity = gain;
        note.seed = seed;
        std::vector<float> s = synth::Render(voice, note, kRate);
        auto start = static_cast<std::size_t>(at * kRate);
        if (samples.size() < start + s.size())
            samples.resize(start + s.size(), 0.0f);
        for (std::size_t i = 0; i < s.size(); ++i)
            samples[start + i] += s[i];
    }

    // Takes the edge off the brightest partials: nothing in these should bite.
    void Soften(double cutoff) {
        const float a = static_cast<float>(1.0 - std::exp(-2.0 * 3.141592653589793 * cutoff / kRate));
        float y1 = 0.0f, y2 = 0.0f;
        for (float& s : samples) {
            y1 += a * (s - y1);
            y2 += a * (y1 - y2);
            s = y2;
        }
    }

    // Cuts to length, fades both ends so neither clicks, and levels the loudest moment.
    std::vector<float> Finish(double seconds, double peak, double fadeOut) {
        auto length = std::min(samples.size(), static_cast<std::size_t>(seconds * kRate));
        samples.resize(length);
        const std::size_t in = kRate / 500, out = std::min(length, static_cast<std::size_t>(fadeOut * kRate));
        for (std::size_t i = 0; i < in && i < length; ++i)
            samples[i] *= static_cast<float>(i) / in;
        for (std::size_t i = 0; i < out; ++i) {
            double t = static_cast<double>(i) / out;
            samples[length - 1 - i] *= static_cast<float>(t * t);
        }
        float loudest = 0.0f;
        for (float s : samples)
            loudest = std::max(loudest, std::fabs(s));
        if (loudest > 0)
            for (float& s : samples)
                s *= static_cast<float>(peak / loudest);
        return samples;
    }
};

// A stone plate going down: a low wooden tock with a fifth above it.
std::vector<float> PlateClick() {
    Sound s;
    s.Add(Voice::Marimba, 55, 0.0, 0.05, 0.8f, 11);
    s.Add(Voice::Marimba, 62, 0.004, 0.05, 0.45f, 12);
    s.Add(Voice::Kick, 43, 0.0, 0.05, 0.35f, 13);
    s.Soften(3200);
    return s.Finish(0.32, 0.36, 0.12);
}

// The gate winding up: a run of small wooden ticks climbing, then a glassy note as it opens.
std::vector<float> GateOpen() {
    Sound s;
    const int steps[] = {60, 62, 64, 67, 69};
    for (int i = 0; i < 5; ++i)
        s.Add(Voice::Marimba, steps[i] + 12, i * 0.045, 0.03, 0.35f + i * 0.04f, 21 + i);
    s.Add(Voice::Glass, 84, 0.24, 0.12, 0.3f, 27);
    s.Add(Voice::Harp, 72, 0.24, 0.2, 0.35f, 28);
    s.Soften(4200);
    return s.Finish(0.8, 0.34, 0.3);
}

// The gate letting down: the same ticks falling, and a soft thump as it seats.
std::vector<float> GateClose() {
    Sound s;
    const int steps[] = {69, 67, 64, 62, 60};
    for (int i = 0; i < 5; ++i)
        s.Add(Voice::Marimba, steps[i] + 12, i * 0.04, 0.03, 0.45f - i * 0.04f, 31 + i);
    s.Add(Voice::Kick, 40, 0.21, 0.05, 0.7f, 37);
    s.Add(Voice::Marimba, 48, 0.21, 0.05, 0.5f, 38);
    s.Soften(3000);
    return s.Finish(0.6, 0.36, 0.2);
}

// Clay and glass breaking: a dull knock, then a scatter of small glassy pieces settling.
std::vector<float> Shatter() {
    Sound s;
    s.Add(Voice::Marimba, 50, 0.0, 0.04, 0.7f, 41);
    s.Add(Voice::Kick, 45, 0.0, 0.04, 0.4f, 42);
    s.Add(Voice::Brush, 70, 0.0, 0.05, 0.25f, 43);
    const int pieces[] = {91, 86, 96, 88, 93, 84, 98, 89};
    synth::Rng rng(44);
    double at = 0.012;
    for (int i = 0; i < 8; ++i) {
        s.Add(Voice::Glass, pieces[i], at, 0.02, 0.16f - i * 0.012f, 45 + i);
        at += 0.018 + rng.Unit() * 0.03;
    }
    s.Soften(5200);
    return s.Finish(0.75, 0.34, 0.35);
}

// Rotten boards giving way: a hollow crack, splinters and the boards dropping away.
std::vector<float> PlankSnap() {
    Sound s;
    s.Add(Voice::Marimba, 46, 0.0, 0.03, 0.7f, 51);
    s.Add(Voice::Pluck, 58, 0.0, 0.02, 0.45f, 52);
    s.Add(Voice::Brush, 60, 0.005, 0.04, 0.3f, 53);
    s.Add(Voice::Pluck, 55, 0.05, 0.02, 0.3f, 54);
    s.Add(Voice::Pluck, 51, 0.085, 0.02, 0.25f, 55);
    s.Add(Voice::Marimba, 41, 0.14, 0.04, 0.5f, 56);
    s.Add(Voice::Kick, 38, 0.14, 0.05, 0.45f, 57);
    s.Soften(2600);
    return s.Finish(0.6, 0.36, 0.2);
}

// A page written back into the Ledger: a warm rising arpeggio over a soft chord.
std::vector<float> LedgerChime() {
    Sound s;
    const int notes[] = {72, 76, 79, 84, 88};
    for (int i = 0; i < 5; ++i) {
        s.Add(Voice::Glass, notes[i], i * 0.07, 0.25, 0.3f, 61 + i);
        s.Add(Voice::Harp, notes[i] - 12, i * 0.07, 0.3, 0.22f, 66 + i);
    }
    s.Add(Voice::Pad, 60, 0.0, 0.5, 0.25f, 71);
    s.Add(Voice::Pad, 67, 0.0, 0.5, 0.18f, 72);
    s.Add(Voice::MusicBox, 91, 0.36, 0.1, 0.12f, 73);
    s.Soften(5000);
    return s.Finish(1.7, 0.36, 0.8);
}

}  // namespace

void WriteMainSounds(const AssetContext& ctx) {
    const std::string dir = "Modules/Main/Sounds/";
    ctx.WriteGameWav(dir + "PlateClick.wav", PlateClick());
    ctx.WriteGameWav(dir + "GateOpen.wav", GateOpen());
    ctx.WriteGameWav(dir + "GateClose.wav", GateClose());
    ctx.WriteGameWav(dir + "Shatter.wav", Shatter());
    ctx.WriteGameWav(dir + "PlankSnap.wav", PlankSnap());
    ctx.WriteGameWav(dir + "LedgerChime.wav", LedgerChime());
}
