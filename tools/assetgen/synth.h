#pragma once
// A small deterministic synthesiser: the voices of the music and of the sound effects.
// Every note is rendered on its own into a mono buffer and mixed in by the caller.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

// Seeded so the same source always gives the same bytes.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    std::uint32_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<std::uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
    }
    double Unit() { return Next() / 4294967296.0; }            // [0, 1)
    double Signed() { return Unit() * 2.0 - 1.0; }             // [-1, 1)
    int Range(int lo, int hi) { return lo + static_cast<int>(Unit() * (hi - lo + 1)); }  // [lo, hi]
    bool Chance(double p) { return Unit() < p; }

private:
    std::uint64_t state;
};

enum class Voice {
    Harp,       // plucked string, long ring
    Pluck,      // plucked string, short and dry
    PluckBass,  // low plucked string with a round body
    Bass,       // soft round bass
    Pad,        // slow, wide, warm
    Strings,    // bowed, with vibrato
    Flute,      // breathy lead
    Bell,       // struck metal, inharmonic
    Glass,      // glassy celesta
    MusicBox,   // small tines
    Marimba,    // wooden bars
    EPiano,     // tine piano
    Kick,       // soft low thump
    Shaker,     // high noise
    Hat,        // short closed tick
    Rim,        // wooden click
    Brush,      // brushed snare
};

struct Note {
    double frequency = 440.0;
    double seconds = 0.5;  // how long it is held; voices may ring on past it
    float velocity = 1.0f;
    std::uint32_t seed = 1;
};

double MidiToHz(double midi);

// One note of a voice at the given sample rate, release tail included.
std::vector<float> Render(Voice voice, const Note& note, int rate);

// Stereo buffer with a constant-power pan (-1 left .. 1 right).
struct Stereo {
    explicit Stereo(std::size_t frames = 0) : left(frames), right(frames) {}
    std::size_t Frames() const { return left.size(); }
    void Mix(const std::vector<float>& mono, std::size_t at, float gain, float pan);
    std::vector<float> left, right;
};

// A plain stereo hall (parallel combs into allpasses) for the reverb send.
Stereo Reverb(const Stereo& send, int rate, float roomSize, float damping);

// Interleaved samples, for encoders and WAV files.
std::vector<float> Interleave(const Stereo& s);

}  // namespace synth
