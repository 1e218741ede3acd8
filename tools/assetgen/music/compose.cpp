#include "tools/assetgen/music/compose.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace music {

namespace {

using synth::Rng;
using synth::Voice;

struct Step {
    int at, length;  // in sixteenths from the start of a two-bar phrase
};
using Rhythm = std::vector<Step>;

// Two-bar phrase rhythms that sing well; the last one of each list closes a section.
const std::vector<Rhythm> kCommon = {
    {{0, 6}, {6, 2}, {8, 4}, {12, 4}, {16, 8}, {24, 8}},
    {{0, 4}, {4, 4}, {8, 6}, {14, 2}, {16, 12}, {28, 4}},
    {{2, 2}, {4, 4}, {8, 4}, {12, 2}, {14, 2}, {16, 4}, {20, 12}},
    {{0, 8}, {8, 4}, {12, 4}, {16, 4}, {20, 4}, {24, 8}},
    {{0, 12}, {12, 4}, {16, 16}},
    {{0, 3}, {3, 1}, {4, 4}, {8, 8}, {16, 6}, {22, 2}, {24, 8}},
};
const Rhythm kCommonCadence = {{0, 4}, {4, 4}, {8, 8}, {16, 16}};
const std::vector<Rhythm> kWaltz = {
    {{0, 8}, {8, 4}, {12, 4}, {16, 4}, {20, 4}},
    {{0, 4}, {4, 4}, {8, 4}, {12, 12}},
    {{0, 6}, {6, 2}, {8, 4}, {12, 8}, {20, 4}},
    {{0, 12}, {12, 4}, {16, 4}, {20, 4}},
    {{4, 4}, {8, 4}, {12, 8}, {20, 4}},
};
const Rhythm kWaltzCadence = {{0, 4}, {4, 4}, {8, 4}, {12, 12}};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

struct Harmony {
    int root;
    Mode mode;
    // Scale index to MIDI: index 0 is the tonic, 7 the tonic an octave up.
    int Midi(int index) const { return root + 12 * FloorDiv(index, 7) + mode[((index % 7) + 7) % 7]; }
};

struct Chord {
    int degree;
    bool seventh, sus;
    std::vector<int> Tones() const {  // scale degrees within one octave from the root
        std::vector<int> t = {degree, degree + (sus ? 1 : 2), degree + 4};
        if (seventh)
            t.push_back(degree + 6);
        return t;
    }
    bool Has(int index) const {
        int pc = ((index % 7) + 7) % 7;
        for (int t : Tones())
            if (t % 7 == pc)
                return true;
        return false;
    }
};

Chord MakeChord(int code) { return {code % 10, code % 100 >= 10 && code % 100 < 20, code >= 20}; }

int NearestChordTone(const Chord& chord, int index) {
    for (int d = 0; d < 7; ++d) {
        if (chord.Has(index - d))
            return index - d;
        if (chord.Has(index + d))
            return index + d;
    }
    return index;
}

// A phrase comes home on the chord's own root.
int NearestRoot(const Chord& chord, int index) {
    int below = index - (((index - chord.degree) % 7) + 7) % 7;
    return index - below <= below + 7 - index ? below : below + 7;
}

struct TuneNote {
    int at, length, index;  // sixteenths from the section start; scale index
};
using Tune = std::vector<TuneNote>;

// Steps between neighbouring notes: mostly by step, a leap now and then, and after a leap
// a turn back the other way, as a singer would.
std::vector<int> Contour(Rng& rng, std::size_t count) {
    std::vector<int> steps;
    int last = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0) {
            steps.push_back(0);
            continue;
        }
        int s;
        if (std::abs(last) >= 2)
            s = last > 0 ? -rng.Range(1, 2) + (rng.Chance(0.3) ? 1 : 0) : rng.Range(1, 2) - (rng.Chance(0.3) ? 1 : 0);
        else {
            double r = rng.Unit();
            s = r < 0.3 ? -1 : r < 0.6 ? 1 : r < 0.72 ? 2 : r < 0.82 ? -2 : r < 0.88 ? 3 : r < 0.92 ? -3 : 0;
        }
        steps.push_back(s);
        last = s;
    }
    return steps;
}

class Composer {
public:
    Composer(const TrackPlan& plan)
        : plan(plan), harmony{plan.root, plan.mode}, stepsPerBar(plan.beatsPerBar * 4),
          stepSeconds(60.0 / plan.bpm / 4.0), bars(static_cast<int>(plan.form.size()) * 8),
          loopFrames(static_cast<std::size_t>(std::llround(bars * stepsPerBar * stepSeconds * kRate))),
          dry(loopFrames + kTail), send(loopFrames + kTail), rng(plan.seed) {}

    RenderedTrack Run();

private:
    static constexpr std::size_t kTail = 6 * kRate;

    const std::vector<Rhythm>& Rhythms() const { return plan.beatsPerBar == 3 ? kWaltz : kCommon; }
    const Rhythm& Cadence() const { return plan.beatsPerBar == 3 ? kWaltzCadence : kCommonCadence; }
    Chord ChordAt(char section, int bar) const {
        const std::vector<int>& list = (section == 'B' || section == 'b') ? plan.chordsB : plan.chordsA;
        return MakeChord(list[static_cast<std::size_t>(bar) % list.size()]);
    }
    bool Strong(int step) const {
        int inBar = step % stepsPerBar;
        return plan.beatsPerBar == 3 ? inBar == 0 : inBar % 8 == 0;
    }

    Tune MakeTune(char section, int centre);
    void Play(Voice voice, int midi, double start, double hold, float velocity, float pan, float gain, float sendLevel);
    double StepTime(int step) const;
    void Section(char section, int firstBar, const Tune& tune, bool echo);
    void PadBar(const Chord& chord, double start, double hold, float level);
    void ArpBar(const Chord& chord, int barStep, float level);
    void BassBar(const Chord& chord, const Chord& next, int barStep, int heldBars);
    void DrumBar(int barStep, bool light);
    void CounterBar(const Chord& chord, int barStep);

    const TrackPlan& plan;
    Harmony harmony;
    int stepsPerBar;
    double stepSeconds;
    int bars;
    std::size_t loopFrames;
    synth::Stereo dry, send;
    Rng rng;
    std::vector<int> lastPad;
    std::uint32_t noteSeed = 1;
};

double Composer::StepTime(int step) const {
    double t = step * stepSeconds;
    if (plan.swing > 0 && step % 4 == 2)
        t += plan.swing * stepSeconds;
    return t;
}

void Composer::Play(Voice voice, int midi, double start, double hold, float velocity, float pan, float gain,
                    float sendLevel) {
    synth::Note note;
    note.frequency = synth::MidiToHz(midi);
    note.seconds = hold;
    note.velocity = velocity;
    note.seed = plan.seed * 7919u + noteSeed++;
    std::vector<float> samples = synth::Render(voice, note, kRate);
    auto at = static_cast<std::size_t>(std::max(0.0, start) * kRate);
    dry.Mix(samples, at, gain, pan);
    send.Mix(samples, at, gain * sendLevel, pan);
}

Tune Composer::MakeTune(char section, int centre) {
    const std::vector<Rhythm>& rhythms = Rhythms();
    const Rhythm& motifRhythm = rhythms[rng.Range(0, static_cast<int>(rhythms.size()) - 1)];
    const Rhythm* contrastRhythm = &rhythms[rng.Range(0, static_cast<int>(rhythms.size()) - 1)];
    if (contrastRhythm == &motifRhythm)
        contrastRhythm = &rhythms[(contrastRhythm - rhythms.data() + 1) % rhythms.size()];
    std::vector<int> motif = Contour(rng, motifRhythm.size());
    std::vector<int> answer = motif;
    for (std::size_t i = answer.size() > 2 ? answer.size() - 2 : 1; i < answer.size(); ++i)
        answer[i] = rng.Range(-2, 2);
    std::vector<int> contrast = Contour(rng, contrastRhythm->size());
    const Rhythm& cadence = Cadence();
    std::vector<int> closing(cadence.size(), -1);
    closing[0] = 0;
    closing[1] = rng.Chance(0.5) ? 1 : -1;

    const int low = centre - 5, high = centre + 6;
    Tune tune;
    int current = NearestChordTone(ChordAt(section, 0), centre);
    for (int phrase = 0; phrase < 4; ++phrase) {
        const Rhythm& rhythm = phrase < 2 ? motifRhythm : phrase == 2 ? *contrastRhythm : cadence;
        const std::vector<int>& steps = phrase == 0 ? motif : phrase == 1 ? answer : phrase == 2 ? contrast : closing;
        int offset = phrase * 2 * stepsPerBar;
        if (phrase == 1)
            current = NearestChordTone(ChordAt(section, 2), tune[0].index + (rng.Chance(0.5) ? 1 : -1));
        if (phrase == 2)
            current = NearestChordTone(ChordAt(section, 4), current + 2);  // the lift before the close
        for (std::size_t i = 0; i < rhythm.size(); ++i) {
            int at = offset + rhythm[i].at;
            int length = rhythm[i].length;
            if (i > 0 || phrase == 3)
                current += steps[i];
            if (current > high)
                current -= 2 * (current - high);
            if (current < low)
                current += 2 * (low - current);
            Chord chord = ChordAt(section, at / stepsPerBar);
            bool last = phrase == 3 && i + 1 == rhythm.size();
            if (last)
                current = NearestRoot(chord, current);
            else if (Strong(at) || length >= 6)
                current = NearestChordTone(chord, current);
            tune.push_back({at, length, current});
        }
    }
    return tune;
}

void Composer::PadBar(const Chord& chord, double start, double hold, float level) {
    // Each chord tone sits in the octave nearest the last voicing, so the pad glides.
    std::vector<int> voicing;
    for (std::size_t i = 0; i < chord.Tones().size(); ++i) {
        int midi = harmony.Midi(chord.Tones()[i]) - 12;
        int target = lastPad.size() > i ? lastPad[i] : plan.root - 5;
        while (midi - target > 6)
            midi -= 12;
        while (target - midi > 6)
            midi += 12;
        voicing.push_back(std::clamp(midi, plan.root - 17, plan.root + 7));
    }
    lastPad = voicing;
    float pan = -0.3f;
    for (int midi : voicing) {
        Play(plan.padVoice, midi, start, hold, level, pan, 0.11f, 0.6f);
        pan += 0.2f;
    }
}

void Composer::ArpBar(const Chord& chord, int barStep, float level) {
    std::vector<int> t = chord.Tones();
    int base = plan.root - 12;
    std::vector<int> tones = {harmony.Midi(t[0]) - 12, harmony.Midi(t[2]) - 12, harmony.Midi(t[1]),
                              harmony.Midi(t[0]), harmony.Midi(t[2])};
    if (t.size() > 3)
        tones[4] = harmony.Midi(t[3]);
    for (int& m : tones)
        while (m > base + 19)
            m -= 12;
    std::vector<int> pattern;
    int stride = 2;
    switch (plan.arp) {
    case Arp::None:
        return;
    case Arp::Eighths:
        pattern = plan.beatsPerBar == 3 ? std::vector<int>{0, 1, 2, 3, 2, 1} : std::vector<int>{0, 1, 2, 3, 4, 3, 2, 1};
        break;
    case Arp::Sixteenths:
        stride = 1;
        pattern = plan.beatsPerBar == 3 ? std::vector<int>{0, 1, 2, 1, 3, 2, 4, 2, 3, 2, 1, 2}
                                        : std::vector<int>{0, 1, 2, 1, 3, 2, 4, 2, 0, 1, 2, 1, 3, 2, 4, 3};
        break;
    case Arp::Broken:
        stride = 4;
        pattern = plan.beatsPerBar == 3 ? std::vector<int>{0, 2, 3} : std::vector<int>{0, 2, 1, 3};
        break;
    case Arp::Waltz:
        stride = 4;
        pattern = {-1, -2, -2};
        break;
    }
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        int step = barStep + static_cast<int>(i) * stride;
        double when = StepTime(step) + rng.Signed() * 0.004;
        float accent = (i == 0 ? 1.0f : (i * stride) % 4 == 0 ? 0.85f : 0.7f) * level;
        accent *= static_cast<float>(0.92 + 0.08 * rng.Unit());
        double hold = stride * stepSeconds * 1.6;
        if (pattern[i] >= 0) {
            Play(plan.arpVoice, tones[pattern[i]], when, hold, accent, -0.35f, 0.2f, 0.45f);
        } else if (pattern[i] == -1) {
            Play(plan.arpVoice, tones[0], when, hold * 2, accent, -0.2f, 0.22f, 0.45f);
        } else {
            Play(plan.arpVoice, tones[2], when, hold, accent * 0.7f, -0.4f, 0.16f, 0.45f);
            Play(plan.arpVoice, tones[4], when + 0.012, hold, accent * 0.7f, 0.1f, 0.16f, 0.45f);
        }
    }
}

void Composer::BassBar(const Chord& chord, const Chord& next, int barStep, int heldBars) {
    int root = harmony.Midi(chord.degree) - 24;
    while (root > plan.root - 14)
        root -= 12;
    while (root < plan.root - 26)
        root += 12;
    int fifth = root + (harmony.Midi(chord.degree + 4) - harmony.Midi(chord.degree));
    double bar = stepsPerBar * stepSeconds;
    double start = StepTime(barStep);
    switch (plan.bass) {
    case Bass::None:
        return;
    case Bass::Whole:
        if (heldBars > 0)
            Play(plan.bassVoice, root, start, bar * (heldBars - 0.05), 0.9f, 0.0f, 0.34f, 0.05f);
        break;
    case Bass::Drone:
        if (heldBars > 0) {
            Play(plan.bassVoice, root, start, bar * (heldBars + 0.02), 0.8f, 0.0f, 0.3f, 0.1f);
            Play(plan.bassVoice, root + 12, start, bar * (heldBars + 0.02), 0.25f, 0.0f, 0.3f, 0.1f);
        }
        break;
    case Bass::RootFifth: {
        int half = plan.beatsPerBar == 3 ? 8 : stepsPerBar / 2;
        Play(plan.bassVoice, root, start, half * stepSeconds * 0.95, 0.9f, 0.0f, 0.34f, 0.05f);
        Play(plan.bassVoice, fifth, StepTime(barStep + half), (stepsPerBar - half) * stepSeconds * 0.9, 0.7f, 0.0f,
             0.34f, 0.05f);
        break;
    }
    case Bass::Pulse:
        for (int s = 0; s < stepsPerBar; s += 2) {
            float v = s == 0 ? 0.95f : s % 8 == 0 ? 0.75f : 0.55f;
            Play(plan.bassVoice, s == stepsPerBar - 2 && rng.Chance(0.4) ? root + 12 : root, StepTime(barStep + s),
                 stepSeconds * 1.6, v, 0.0f, 0.3f, 0.04f);
        }
        break;
    case Bass::Walk: {
        int third = root + (harmony.Midi(chord.degree + 2) - harmony.Midi(chord.degree));
        int nextRoot = harmony.Midi(next.degree) - 24;
        while (nextRoot > root + 6)
            nextRoot -= 12;
        while (nextRoot < root - 6)
            nextRoot += 12;
        int approach = nextRoot + (nextRoot > root ? -1 : 1);
        std::vector<int> line = {root, third, fifth, approach};
        if (plan.beatsPerBar == 3)
            line = {root, fifth, approach};
        for (std::size_t i = 0; i < line.size(); ++i)
            Play(plan.bassVoice, line[i], StepTime(barStep + 4 * static_cast<int>(i)), stepSeconds * 3.6,
                 i == 0 ? 0.9f : 0.7f, 0.0f, 0.32f, 0.05f);
        break;
    }
    }
}

void Composer::DrumBar(int barStep, bool light) {
    auto hit = [&](Voice v, int step, float vel, float pan, float gain, int midi = 60) {
        Play(v, midi, StepTime(barStep + step) + rng.Signed() * 0.003, 0.05,
             vel * static_cast<float>(0.85 + 0.15 * rng.Unit()), pan, gain, 0.18f);
    };
    bool waltz = plan.beatsPerBar == 3;
    switch (plan.drums) {
    case Drums::None:
        return;
    case Drums::Shaker:
        for (int s = 0; s < stepsPerBar; s += 2)
            hit(Voice::Shaker, s, s % 4 == 0 ? 0.6f : 1.0f, 0.3f, 0.07f);
        break;
    case Drums::Soft:
        if (!light) {
            hit(Voice::Kick, 0, 1.0f, 0.0f, 0.32f, 45);
            if (!waltz)
                hit(Voice::Kick, 8, 0.7f, 0.0f, 0.32f, 45);
        }
        for (int s = 0; s < stepsPerBar; s += 2)
            hit(Voice::Shaker, s, s % 4 == 0 ? 0.55f : 1.0f, 0.3f, 0.065f);
        break;
    case Drums::Brushes:
        if (!light) {
            hit(Voice::Kick, 0, 0.8f, 0.0f, 0.26f, 48);
            for (int beat = 1; beat < plan.beatsPerBar; beat += waltz ? 1 : 2)
                hit(Voice::Brush, beat * 4, 0.8f, -0.1f, 0.09f);
        }
        for (int s = 0; s < stepsPerBar; s += 2)
            hit(Voice::Hat, s, s % 4 == 0 ? 0.7f : 0.45f, -0.25f, 0.05f);
        break;
    case Drums::Pulse:
        if (!light) {
            for (int beat = 0; beat < plan.beatsPerBar; beat += waltz ? 3 : 2)
                hit(Voice::Kick, beat * 4, beat == 0 ? 1.0f : 0.75f, 0.0f, 0.3f, 44);
            hit(Voice::Rim, waltz ? 8 : 12, 0.7f, 0.2f, 0.08f, 72);
        }
        for (int s = 0; s < stepsPerBar; s += 2)
            hit(Voice::Hat, s, s % 4 == 0 ? 0.5f : 0.8f, -0.25f, 0.045f);
        break;
    }
}

void Composer::CounterBar(const Chord& chord, int barStep) {
    if (plan.counter == Counter::None)
        return;
    std::vector<int> t = chord.Tones();
    int top = harmony.Midi(t[2]) + 12;
    int mid = harmony.Midi(t[1]) + 12;
    if (plan.counter == Counter::Bells) {
        int first = plan.beatsPerBar == 3 ? 4 : 6;
        int second = plan.beatsPerBar == 3 ? 8 : 14;
        Play(plan.counterVoice, top, StepTime(barStep + first), stepSeconds * 4, 0.6f, 0.45f, 0.12f, 0.7f);
        Play(plan.counterVoice, mid, StepTime(barStep + second), stepSeconds * 4, 0.5f, 0.35f, 0.12f, 0.7f);
    } else {
        // A falling three-note chime across the bar.
        int gap = plan.beatsPerBar == 3 ? 4 : 5;
        int tones[] = {harmony.Midi(t[0]) + 24, top, mid};
        for (int i = 0; i < 3; ++i)
            Play(plan.counterVoice, tones[i], StepTime(barStep + 2 + i * gap), stepSeconds * 3, 0.5f - 0.08f * i,
                 0.4f - 0.2f * i, 0.11f, 0.75f);
    }
}

void Composer::Section(char section, int firstBar, const Tune& tune, bool echo) {
    bool opening = section == 'i';
    bool hasTune = section == 'A' || section == 'a' || section == 'B';
    bool bridge = section == 'B' || section == 'b';
    int sectionStep = firstBar * stepsPerBar;
    for (int bar = 0; bar < 8; ++bar) {
        Chord chord = ChordAt(section, bar);
        Chord next = ChordAt(section, bar + 1);
        int barStep = sectionStep + bar * stepsPerBar;
        double barSeconds = stepsPerBar * stepSeconds;
        // A chord held over several bars is one long pad note, not a pulse.
        int code = (bridge ? plan.chordsB : plan.chordsA)[static_cast<std::size_t>(bar) % 8];
        int prevCode = bar > 0 ? (bridge ? plan.chordsB : plan.chordsA)[static_cast<std::size_t>(bar - 1) % 8] : -1;
        int held = 0;  // bars this chord lasts from here; 0 while it carries on from before
        if (code != prevCode) {
            held = 1;
            while (bar + held < 8 && (bridge ? plan.chordsB : plan.chordsA)[static_cast<std::size_t>(bar + held)] == code)
                ++held;
            PadBar(chord, StepTime(barStep), barSeconds * held + 0.1, opening && bar < 4 ? 0.8f : 1.0f);
        }
        ArpBar(chord, barStep, opening && bar < 2 ? 0.7f : 0.9f);
        if (!opening || bar >= 4)
            BassBar(chord, next, barStep, opening && bar == 4 && held == 0 ? 1 : held);
        if (!opening || bar >= 4)
            DrumBar(barStep, opening || section == 'b');
        if (bridge || section == 'a')
            CounterBar(chord, barStep);
    }
    if (!hasTune)
        return;
    Voice voice = section == 'B' ? plan.leadB : plan.lead;
    for (const TuneNote& n : tune) {
        int midi = harmony.Midi(n.index);
        double start = StepTime(sectionStep + n.at) + rng.Signed() * 0.006;
        double hold = n.length * stepSeconds * 0.92;
        float vel = (n.at % stepsPerBar == 0 ? 1.0f : 0.85f) * static_cast<float>(0.9 + 0.1 * rng.Unit());
        Play(voice, midi, start, hold, vel, 0.05f, 0.3f, 0.4f);
        if (echo)
            Play(plan.counterVoice, midi + (midi < 84 ? 12 : 0), StepTime(sectionStep + n.at + 4 * (plan.beatsPerBar == 3 ? 1 : 2)),
                 hold * 0.6, vel * 0.35f, 0.5f, 0.12f, 0.8f);
    }
}

RenderedTrack Composer::Run() {
    int centreA = 7 + rng.Range(0, 2);
    Tune tuneA = MakeTune('A', centreA);
    Tune tuneB = MakeTune('B', centreA + 2);
    // The second time round the A tune keeps its opening and finds a new way home.
    Tune tuneA2 = MakeTune('A', centreA);
    Tune varied = tuneA;
    int half = 4 * stepsPerBar;
    varied.erase(std::remove_if(varied.begin(), varied.end(), [&](const TuneNote& n) { return n.at >= half; }),
                 varied.end());
    for (const TuneNote& n : tuneA2)
        if (n.at >= half)
            varied.push_back(n);

    bool seenA = false;
    for (std::size_t s = 0; s < plan.form.size(); ++s) {
        char section = plan.form[s];
        int firstBar = static_cast<int>(s) * 8;
        if (section == 'A') {
            Section('A', firstBar, seenA ? varied : tuneA, false);
            seenA = true;
        } else if (section == 'a') {
            Section('a', firstBar, varied, true);
        } else if (section == 'B') {
            Section('B', firstBar, tuneB, false);
        } else {
            Section(section, firstBar, {}, false);
        }
    }

    synth::Stereo wet = synth::Reverb(send, kRate, 0.82f, 0.35f);
    synth::Stereo out(loopFrames);
    for (std::size_t i = 0; i < dry.Frames(); ++i) {
        float l = dry.left[i] + wet.left[i] * plan.reverb * 3.0f;
        float r = dry.right[i] + wet.right[i] * plan.reverb * 3.0f;
        std::size_t at = i % loopFrames;  // what rings past the end sounds again at the start
        out.left[at] += l;
        out.right[at] += r;
    }
    double peak = 0.0, energy = 0.0;
    for (std::size_t i = 0; i < loopFrames; ++i) {
        peak = std::max({peak, static_cast<double>(std::abs(out.left[i])), static_cast<double>(std::abs(out.right[i]))});
        energy += out.left[i] * out.left[i] + out.right[i] * out.right[i];
    }
    double rms = std::sqrt(energy / (2.0 * static_cast<double>(loopFrames)));
    double gain = std::min(0.9 / std::max(peak, 1e-9), 0.16 / std::max(rms, 1e-9));
    for (std::size_t i = 0; i < loopFrames; ++i) {
        out.left[i] = static_cast<float>(out.left[i] * gain);
        out.right[i] = static_cast<float>(out.right[i] * gain);
    }
    return {std::move(out), static_cast<double>(loopFrames) / kRate};
}

}  // namespace

RenderedTrack Render(const TrackPlan& plan) { return Composer(plan).Run(); }

}  // namespace music
