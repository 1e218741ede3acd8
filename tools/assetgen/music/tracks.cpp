// The score plans of every track: key, tempo, band and the chords of each section.
#include "tools/assetgen/music/compose.h"

namespace music {

namespace {

using V = synth::Voice;

TrackPlan Plan(const char* name, std::uint32_t seed, double bpm, int beats, int root, Mode mode,
               std::vector<int> a, std::vector<int> b, const char* form) {
    TrackPlan p;
    p.name = name;
    p.seed = seed;
    p.bpm = bpm;
    p.beatsPerBar = beats;
    p.root = root;
    p.mode = mode;
    p.chordsA = std::move(a);
    p.chordsB = std::move(b);
    p.form = form;
    return p;
}

std::vector<TrackPlan> Build() {
    std::vector<TrackPlan> all;

    // The menus: evening over the lake, a harp and a flute, nothing in a hurry.
    TrackPlan title = Plan("TITLETRACK", 11, 78, 4, 62, kDorian, {0, 6, 3, 0, 2, 6, 14, 0}, {2, 6, 0, 4, 2, 3, 4, 4}, "iAB");
    title.lead = V::Flute;
    title.leadB = V::Glass;
    title.arp = Arp::Eighths;
    title.bass = Bass::Whole;
    title.counter = Counter::Bells;
    title.reverb = 0.4f;
    all.push_back(title);

    // The opening pictures: mist, bells and a long drone.
    TrackPlan intro = Plan("INTROTRACK", 23, 66, 4, 57, kAeolian, {20, 5, 2, 6, 0, 5, 13, 4}, {5, 6, 0, 0, 5, 6, 4, 4}, "iA");
    intro.lead = V::Glass;
    intro.arpVoice = V::Harp;
    intro.arp = Arp::Broken;
    intro.bass = Bass::Drone;
    intro.counterVoice = V::Bell;
    intro.reverb = 0.55f;
    all.push_back(intro);

    // The ending: a warm waltz in F, the flute and strings together at last.
    TrackPlan outro = Plan("OUTROTRACK", 37, 92, 3, 65, kIonian, {0, 3, 4, 0, 5, 3, 14, 0}, {5, 2, 3, 0, 11, 4, 3, 4}, "iABa");
    outro.lead = V::Flute;
    outro.leadB = V::Strings;
    outro.arp = Arp::Waltz;
    outro.bass = Bass::Whole;
    outro.counter = Counter::Chimes;
    outro.counterVoice = V::MusicBox;
    outro.reverb = 0.45f;
    all.push_back(outro);

    TrackPlan t1 = Plan("TRACK1", 101, 96, 4, 60, kIonian, {0, 4, 5, 3, 0, 4, 3, 4}, {5, 3, 0, 4, 5, 11, 3, 14}, "iAB");
    t1.lead = V::Marimba;
    t1.leadB = V::Flute;
    t1.arpVoice = V::Pluck;
    t1.bassVoice = V::PluckBass;
    t1.bass = Bass::RootFifth;
    t1.drums = Drums::Shaker;
    t1.counterVoice = V::Glass;
    t1.reverb = 0.3f;
    all.push_back(t1);

    TrackPlan t2 = Plan("TRACK2", 202, 108, 3, 64, kAeolian, {0, 5, 2, 6, 0, 3, 14, 0}, {2, 6, 5, 2, 3, 0, 3, 4}, "iABa");
    t2.lead = V::Flute;
    t2.leadB = V::Flute;
    t2.arp = Arp::Eighths;
    t2.counter = Counter::Chimes;
    t2.reverb = 0.4f;
    all.push_back(t2);

    TrackPlan t3 = Plan("TRACK3", 303, 100, 4, 55, kDorian, {10, 3, 10, 3, 2, 6, 14, 3}, {2, 3, 10, 6, 2, 3, 14, 14}, "iAB");
    t3.lead = V::EPiano;
    t3.leadB = V::Strings;
    t3.arpVoice = V::EPiano;
    t3.arp = Arp::Broken;
    t3.bassVoice = V::PluckBass;
    t3.bass = Bass::Walk;
    t3.drums = Drums::Brushes;
    t3.swing = 0.5f;
    t3.reverb = 0.3f;
    all.push_back(t3);

    TrackPlan t4 = Plan("TRACK4", 404, 88, 4, 58, kIonian, {0, 5, 3, 4, 0, 5, 11, 4}, {3, 0, 3, 4, 5, 2, 3, 14}, "iAB");
    t4.lead = V::Glass;
    t4.leadB = V::Flute;
    t4.bassVoice = V::PluckBass;
    t4.bass = Bass::RootFifth;
    t4.drums = Drums::Soft;
    t4.counter = Counter::Chimes;
    t4.counterVoice = V::MusicBox;
    all.push_back(t4);

    // Deep water: Phrygian, slow, a music box over a drone.
    TrackPlan t5 = Plan("TRACK5", 505, 70, 4, 54, kPhrygian, {0, 1, 0, 6, 0, 1, 5, 0}, {5, 1, 6, 0, 3, 1, 6, 1}, "iAB");
    t5.lead = V::MusicBox;
    t5.leadB = V::Glass;
    t5.arp = Arp::Broken;
    t5.bass = Bass::Drone;
    t5.reverb = 0.55f;
    all.push_back(t5);

    TrackPlan t6 = Plan("TRACK6", 606, 116, 4, 62, kIonian, {0, 2, 3, 4, 0, 2, 3, 14}, {3, 0, 4, 5, 3, 0, 11, 4}, "iABa");
    t6.lead = V::Marimba;
    t6.leadB = V::Flute;
    t6.arpVoice = V::Pluck;
    t6.arp = Arp::Sixteenths;
    t6.bass = Bass::Pulse;
    t6.drums = Drums::Pulse;
    t6.counterVoice = V::Glass;
    t6.reverb = 0.28f;
    all.push_back(t6);

    TrackPlan t7 = Plan("TRACK7", 707, 84, 3, 60, kAeolian, {0, 5, 2, 6, 0, 3, 4, 0}, {5, 2, 6, 0, 5, 3, 6, 4}, "iABa");
    t7.lead = V::MusicBox;
    t7.leadB = V::Strings;
    t7.arp = Arp::Waltz;
    t7.padVoice = V::Strings;
    t7.counter = Counter::Chimes;
    t7.counterVoice = V::Glass;
    t7.reverb = 0.45f;
    all.push_back(t7);

    TrackPlan t8 = Plan("TRACK8", 808, 104, 4, 57, kMixolydian, {0, 6, 3, 0, 0, 6, 3, 4}, {3, 6, 0, 5, 3, 6, 14, 6}, "iABa");
    t8.lead = V::Flute;
    t8.leadB = V::Marimba;
    t8.arpVoice = V::Marimba;
    t8.bassVoice = V::PluckBass;
    t8.bass = Bass::Walk;
    t8.drums = Drums::Soft;
    t8.swing = 0.35f;
    t8.reverb = 0.3f;
    all.push_back(t8);

    // The last levels: Lydian light, a pulse underneath and strings on top.
    TrackPlan t9 = Plan("TRACK9", 909, 82, 4, 63, kLydian, {0, 1, 0, 1, 5, 1, 4, 0}, {5, 2, 1, 0, 5, 6, 1, 1}, "iAB");
    t9.lead = V::Bell;
    t9.leadB = V::Strings;
    t9.arpVoice = V::Pluck;
    t9.arp = Arp::Sixteenths;
    t9.bass = Bass::Pulse;
    t9.drums = Drums::Soft;
    t9.counter = Counter::Chimes;
    t9.counterVoice = V::Glass;
    t9.reverb = 0.4f;
    all.push_back(t9);

    return all;
}

}  // namespace

const std::vector<TrackPlan>& AllTracks() {
    static const std::vector<TrackPlan> all = Build();
    return all;
}

}  // namespace music
