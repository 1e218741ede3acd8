#pragma once
// The game's music: each track is a short score plan that the composer turns into notes
// and renders with the synthesiser.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/synth.h"

namespace music {

using Mode = std::array<int, 7>;
inline constexpr Mode kIonian = {0, 2, 4, 5, 7, 9, 11};
inline constexpr Mode kDorian = {0, 2, 3, 5, 7, 9, 10};
inline constexpr Mode kPhrygian = {0, 1, 3, 5, 7, 8, 10};
inline constexpr Mode kLydian = {0, 2, 4, 6, 7, 9, 11};
inline constexpr Mode kMixolydian = {0, 2, 4, 5, 7, 9, 10};
inline constexpr Mode kAeolian = {0, 2, 3, 5, 7, 8, 10};

enum class Arp { None, Eighths, Sixteenths, Broken, Waltz };
enum class Bass { None, Whole, RootFifth, Pulse, Walk, Drone };
enum class Drums { None, Shaker, Soft, Brushes, Pulse };
enum class Counter { None, Bells, Chimes };

// Chords are scale degrees from 0, one per bar; +10 adds the seventh, +20 makes it sus2.
struct TrackPlan {
    std::string name;
    std::uint32_t seed = 1;
    double bpm = 90;
    int beatsPerBar = 4;
    int root = 60;  // MIDI note of the tonic in the lead's octave
    Mode mode = kIonian;
    std::vector<int> chordsA, chordsB;  // eight bars each
    // Sections of eight bars: 'i' opening (A chords, no tune), 'A' and 'B' with their
    // tunes, 'a' the A tune again with a new ending and an echo, 'b' B chords without tune.
    std::string form;
    synth::Voice lead = synth::Voice::Flute;
    synth::Voice leadB = synth::Voice::Flute;
    synth::Voice arpVoice = synth::Voice::Harp;
    synth::Voice padVoice = synth::Voice::Pad;
    synth::Voice bassVoice = synth::Voice::Bass;
    synth::Voice counterVoice = synth::Voice::Bell;
    Arp arp = Arp::Eighths;
    Bass bass = Bass::Whole;
    Drums drums = Drums::None;
    Counter counter = Counter::Bells;
    float reverb = 0.35f;
    float swing = 0.0f;  // fraction of a sixteenth the off-beat eighths lean late
};

const std::vector<TrackPlan>& AllTracks();

constexpr int kRate = 22050;

struct RenderedTrack {
    synth::Stereo audio;
    double seconds = 0;
};

// Renders one full loop: the last notes' tails are folded onto the start so the end
// runs straight into the beginning.
RenderedTrack Render(const TrackPlan& plan);

// Ogg Vorbis bytes of a stereo buffer.
std::string EncodeVorbis(const synth::Stereo& audio, int rate, float quality, int serial, const std::string& title);

}  // namespace music
