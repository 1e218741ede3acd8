#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace synth {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kTableSize = 2048;

// A one-pole low-pass; cheap enough for every voice to carry one.
class LowPass {
public:
    LowPass(double cutoff, int rate) : a(1.0 - std::exp(-kTwoPi * cutoff / rate)) {}
    float operator()(float x) { return y += static_cast<float>(a) * (x - y); }

private:
    double a;
    float y = 0.0f;
};

// One band-limited cycle per spectrum and harmonic count, shared by every note.
const std::vector<float>& Table(const std::vector<double>& spectrum, int harmonics) {
    static thread_local std::map<std::pair<const void*, int>, std::vector<float>> cache;
    auto key = std::make_pair(static_cast<const void*>(&spectrum), harmonics);
    auto found = cache.find(key);
    if (found != cache.end())
        return found->second;
    std::vector<float> table(kTableSize + 1);
    double peak = 0.0;
    std::vector<double> raw(kTableSize);
    for (int i = 0; i < kTableSize; ++i) {
        double v = 0.0;
        for (int k = 1; k <= harmonics && k <= static_cast<int>(spectrum.size()); ++k)
            v += spectrum[k - 1] * std::sin(kTwoPi * k * i / kTableSize);
        raw[i] = v;
        peak = std::max(peak, std::abs(v));
    }
    for (int i = 0; i < kTableSize; ++i)
        table[i] = static_cast<float>(raw[i] / (peak > 0 ? peak : 1));
    table[kTableSize] = table[0];
    return cache.emplace(key, std::move(table)).first->second;
}

class TableOsc {
public:
    TableOsc(const std::vector<double>& spectrum, double hz, int rate, double phase = 0.0)
        : table(Table(spectrum, std::max(1, static_cast<int>(0.45 * rate / hz)))), step(hz * kTableSize / rate),
          pos(phase * kTableSize) {}
    float Next(double bend = 1.0) {
        int i = static_cast<int>(pos);
        float f = static_cast<float>(pos - i);
        float v = table[i] + (table[i + 1] - table[i]) * f;
        pos += step * bend;
        while (pos >= kTableSize)
            pos -= kTableSize;
        return v;
    }

private:
    const std::vector<float>& table;
    double step;
    double pos;
};

double Smooth(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// Attack, exponential decay towards a sustain level, release after the held time.
double Envelope(double t, double hold, double attack, double decay, double sustain, double release) {
    double level;
    if (t < attack)
        level = Smooth(t / attack);
    else
        level = sustain + (1.0 - sustain) * std::exp(-(t - attack) / decay);
    if (t > hold)
        level *= std::exp(-(t - hold) / (release / 4.0));
    return level;
}

std::vector<float> Silence(double seconds, int rate) {
    return std::vector<float>(static_cast<std::size_t>(std::max(0.0, seconds) * rate) + 1, 0.0f);
}

std::vector<float> PluckedString(const Note& n, int rate, double t60, double brightness, double release, double tone) {
    std::vector<float> out = Silence(n.seconds + release, rate);
    double period = rate / n.frequency - 0.5;
    int length = std::max(2, static_cast<int>(period));
    double frac = period - length;
    double c = (1.0 - frac) / (1.0 + frac);
    Rng rng(n.seed);
    std::vector<float> line(length);
    float smooth = 0.0f, mean = 0.0f;
    for (float& s : line) {
        smooth += static_cast<float>(brightness) * (static_cast<float>(rng.Signed()) - smooth);
        s = smooth;
        mean += s;
    }
    mean /= static_cast<float>(length);
    for (float& s : line)
        s -= mean;
    double loss = std::pow(10.0, -3.0 / (t60 * n.frequency));
    float x1 = 0.0f, y1 = 0.0f;
    LowPass soften(tone, rate), soften2(tone, rate);  // takes the scratch off the pick
    int at = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        float here = line[at];
        float next = line[(at + 1) % length];
        float avg = static_cast<float>(0.5 * (here + next) * loss);
        float y = static_cast<float>(c) * avg + x1 - static_cast<float>(c) * y1;
        x1 = avg;
        y1 = y;
        line[at] = y;
        at = (at + 1) % length;
        double t = static_cast<double>(i) / rate;
        double env = std::min(1.0, t / 0.002);
        if (t > n.seconds)
            env *= std::exp(-(t - n.seconds) / (release / 4.0));
        out[i] = soften2(soften(here)) * static_cast<float>(env);
    }
    return out;
}

struct Partial {
    double ratio, amplitude, decay;
};

std::vector<float> Struck(const Note& n, int rate, const std::vector<Partial>& partials, double ring) {
    std::vector<float> out = Silence(n.seconds + ring, rate);
    for (const Partial& p : partials) {
        double hz = n.frequency * p.ratio;
        if (hz > 0.45 * rate)
            continue;
        double w = kTwoPi * hz / rate;
        for (std::size_t i = 0; i < out.size(); ++i) {
            double t = static_cast<double>(i) / rate;
            double a = p.amplitude * std::exp(-t / p.decay);
            if (a < 1e-4)
                break;
            out[i] += static_cast<float>(a * std::sin(w * i));
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double env = std::min(1.0, t / 0.003);
        if (t > n.seconds + ring * 0.5)
            env *= std::exp(-(t - n.seconds - ring * 0.5) / (ring * 0.12));
        out[i] *= static_cast<float>(env);
    }
    return out;
}

std::vector<float> Fm(const Note& n, int rate, double ratio, double index, double indexDecay, double decay,
                      double release) {
    std::vector<float> out = Silence(n.seconds + release, rate);
    double wc = kTwoPi * n.frequency / rate;
    double wm = wc * ratio;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double idx = index * std::exp(-t / indexDecay) + 0.15;
        double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        if (t > n.seconds)
            env *= std::exp(-(t - n.seconds) / (release / 4.0));
        out[i] = static_cast<float>(env * std::sin(wc * i + idx * std::sin(wm * i)));
    }
    return out;
}

const std::vector<double> kPadSpectrum = {1, 0.5, 0.3, 0.2, 0.13, 0.09, 0.06, 0.04, 0.03, 0.02};
const std::vector<double> kStringSpectrum = {1, 0.55, 0.36, 0.26, 0.2, 0.15, 0.11, 0.08, 0.06, 0.05, 0.04, 0.03};
const std::vector<double> kFluteSpectrum = {1, 0.42, 0.16, 0.08, 0.035, 0.015};
const std::vector<double> kBassSpectrum = {1, 0.32, 0.1, 0.04};

std::vector<float> PadVoice(const Note& n, int rate) {
    const double release = 1.8;
    std::vector<float> out = Silence(n.seconds + release, rate);
    Rng rng(n.seed);
    TableOsc a(kPadSpectrum, n.frequency * 0.996, rate, rng.Unit());
    TableOsc b(kPadSpectrum, n.frequency, rate, rng.Unit());
    TableOsc c(kPadSpectrum, n.frequency * 1.004, rate, rng.Unit());
    LowPass lp(1500.0, rate), lp2(1500.0, rate);
    double lfo = rng.Unit() * kTwoPi;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double env = Envelope(t, n.seconds, 0.9, 1.0, 1.0, release) * (1.0 + 0.08 * std::sin(lfo + t * kTwoPi * 0.23));
        float v = (a.Next() + b.Next() + c.Next()) / 3.0f;
        out[i] = lp2(lp(v)) * static_cast<float>(env);
    }
    return out;
}

std::vector<float> StringVoice(const Note& n, int rate) {
    const double release = 0.5;
    std::vector<float> out = Silence(n.seconds + release, rate);
    Rng rng(n.seed);
    TableOsc a(kStringSpectrum, n.frequency, rate, rng.Unit());
    TableOsc b(kStringSpectrum, n.frequency * 1.003, rate, rng.Unit());
    LowPass lp(2600.0, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double vib = 1.0 + 0.003 * Smooth((t - 0.2) / 0.4) * std::sin(t * kTwoPi * 5.2);
        double env = Envelope(t, n.seconds, 0.28, 1.0, 1.0, release);
        out[i] = lp(0.5f * (a.Next(vib) + b.Next(vib))) * static_cast<float>(env);
    }
    return out;
}

std::vector<float> FluteVoice(const Note& n, int rate) {
    const double release = 0.18;
    std::vector<float> out = Silence(n.seconds + release, rate);
    Rng rng(n.seed);
    TableOsc osc(kFluteSpectrum, n.frequency, rate);
    LowPass breath(2200.0, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double vib = 1.0 + 0.004 * Smooth((t - 0.25) / 0.3) * std::sin(t * kTwoPi * 4.8);
        double env = Envelope(t, n.seconds, 0.07, 0.6, 0.85, release);
        float noise = breath(static_cast<float>(rng.Signed()));
        float chiff = static_cast<float>(std::exp(-t / 0.03) * 0.25);
        out[i] = (osc.Next(vib) + noise * (0.12f + chiff)) * static_cast<float>(env);
    }
    return out;
}

std::vector<float> BassVoice(const Note& n, int rate) {
    const double release = 0.15;
    std::vector<float> out = Silence(n.seconds + release, rate);
    TableOsc osc(kBassSpectrum, n.frequency, rate);
    LowPass lp(900.0, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        out[i] = lp(osc.Next()) * static_cast<float>(Envelope(t, n.seconds, 0.012, 0.35, 0.55, release));
    }
    return out;
}

std::vector<float> Noise(const Note& n, int rate, double length, double attack, double decay, double lowCut,
                         double highCut) {
    std::vector<float> out = Silence(length, rate);
    Rng rng(n.seed);
    LowPass low(lowCut, rate), high(highCut, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        float x = static_cast<float>(rng.Signed());
        float band = high(x) - low(x);
        out[i] = band * static_cast<float>(std::min(1.0, t / attack) * std::exp(-t / decay));
    }
    return out;
}

std::vector<float> KickVoice(const Note& n, int rate) {
    std::vector<float> out = Silence(0.5, rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double hz = n.frequency + 70.0 * std::exp(-t / 0.035);
        phase += kTwoPi * hz / rate;
        out[i] = static_cast<float>(std::sin(phase) * std::min(1.0, t / 0.002) * std::exp(-t / 0.2));
    }
    return out;
}

}  // namespace

double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

std::vector<float> Render(Voice voice, const Note& note, int rate) {
    std::vector<float> out;
    switch (voice) {
    case Voice::Harp:
        out = PluckedString(note, rate, 2.6, 0.4, 1.2, 3400.0);
        break;
    case Voice::Pluck:
        out = PluckedString(note, rate, 0.9, 0.3, 0.25, 2800.0);
        break;
    case Voice::PluckBass: {
        out = PluckedString(note, rate, 1.4, 0.25, 0.2, 1400.0);
        std::vector<float> body = BassVoice(note, rate);
        out.resize(std::max(out.size(), body.size()));
        for (std::size_t i = 0; i < body.size(); ++i)
            out[i] = 0.7f * out[i] + 0.6f * body[i];
        break;
    }
    case Voice::Bass:
        out = BassVoice(note, rate);
        break;
    case Voice::Pad:
        out = PadVoice(note, rate);
        break;
    case Voice::Strings:
        out = StringVoice(note, rate);
        break;
    case Voice::Flute:
        out = FluteVoice(note, rate);
        break;
    case Voice::Bell:
        out = Fm(note, rate, 3.5, 2.2, 0.45, 1.9, 2.5);
        for (float& s : out)
            s *= 0.8f;
        break;
    case Voice::Glass:
        out = Struck(note, rate, {{1.0, 1.0, 1.3}, {2.0, 0.3, 0.6}, {3.0, 0.1, 0.3}, {4.16, 0.07, 0.15}}, 1.6);
        break;
    case Voice::MusicBox:
        out = Struck(note, rate, {{1.0, 1.0, 1.0}, {2.0, 0.22, 0.45}, {5.93, 0.16, 0.1}, {8.3, 0.05, 0.04}}, 1.3);
        break;
    case Voice::Marimba:
        out = Struck(note, rate, {{1.0, 1.0, 0.42}, {3.93, 0.3, 0.07}, {9.2, 0.08, 0.02}}, 0.6);
        break;
    case Voice::EPiano: {
        out = Fm(note, rate, 1.0, 1.6, 0.3, 1.5, 0.35);
        Note tine = note;
        tine.frequency *= 14.0;
        if (tine.frequency < 0.45 * rate) {
            std::vector<float> t = Struck(tine, rate, {{1.0, 0.05, 0.04}}, 0.1);
            for (std::size_t i = 0; i < t.size() && i < out.size(); ++i)
                out[i] += t[i];
        }
        break;
    }
    case Voice::Kick:
        out = KickVoice(note, rate);
        break;
    case Voice::Shaker:
        out = Noise(note, rate, 0.2, 0.012, 0.045, 3500.0, 9000.0);
        break;
    case Voice::Hat:
        out = Noise(note, rate, 0.12, 0.001, 0.025, 5000.0, 10500.0);
        break;
    case Voice::Rim: {
        out = Struck(note, rate, {{1.0, 1.0, 0.012}, {0.48, 0.6, 0.02}}, 0.08);
        std::vector<float> click = Noise(note, rate, 0.03, 0.0005, 0.004, 1500.0, 8000.0);
        for (std::size_t i = 0; i < click.size() && i < out.size(); ++i)
            out[i] += click[i];
        break;
    }
    case Voice::Brush:
        out = Noise(note, rate, 0.45, 0.006, 0.11, 500.0, 5000.0);
        break;
    }
    for (float& s : out)
        s *= note.velocity;
    return out;
}

void Stereo::Mix(const std::vector<float>& mono, std::size_t at, float gain, float pan) {
    double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * 0.25 * 3.141592653589793;
    float gl = static_cast<float>(std::cos(angle) * 1.41421356 * gain);
    float gr = static_cast<float>(std::sin(angle) * 1.41421356 * gain);
    for (std::size_t i = 0; i < mono.size() && at + i < Frames(); ++i) {
        left[at + i] += mono[i] * gl;
        right[at + i] += mono[i] * gr;
    }
}

Stereo Reverb(const Stereo& send, int rate, float roomSize, float damping) {
    static const int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int kAllpasses[] = {556, 441, 341, 225};
    const double scale = rate / 44100.0;
    const float feedback = 0.28f + 0.7f * roomSize;
    Stereo out(send.Frames());
    for (int side = 0; side < 2; ++side) {
        int spread = side == 0 ? 0 : static_cast<int>(23 * scale);
        struct Comb {
            std::vector<float> line;
            std::size_t at = 0;
            float store = 0.0f;
        };
        std::vector<Comb> combs;
        for (int length : kCombs)
            combs.push_back({std::vector<float>(static_cast<std::size_t>(length * scale) + spread, 0.0f)});
        std::vector<std::vector<float>> passes;
        std::vector<std::size_t> passAt(4, 0);
        for (int length : kAllpasses)
            passes.emplace_back(static_cast<std::size_t>(length * scale) + spread, 0.0f);
        std::vector<float>& target = side == 0 ? out.left : out.right;
        for (std::size_t i = 0; i < send.Frames(); ++i) {
            float input = (send.left[i] + send.right[i]) * 0.015f;
            float sum = 0.0f;
            for (Comb& c : combs) {
                float y = c.line[c.at];
                c.store = y * (1.0f - damping) + c.store * damping;
                c.line[c.at] = input + c.store * feedback;
                c.at = (c.at + 1) % c.line.size();
                sum += y;
            }
            for (std::size_t p = 0; p < passes.size(); ++p) {
                float buffered = passes[p][passAt[p]];
                passes[p][passAt[p]] = sum + buffered * 0.5f;
                sum = buffered - sum;
                passAt[p] = (passAt[p] + 1) % passes[p].size();
            }
            target[i] = sum;
        }
    }
    return out;
}

std::vector<float> Interleave(const Stereo& s) {
    std::vector<float> out(s.Frames() * 2);
    for (std::size_t i = 0; i < s.Frames(); ++i) {
        out[2 * i] = s.left[i];
        out[2 * i + 1] = s.right[i];
    }
    return out;
}

}  // namespace synth
