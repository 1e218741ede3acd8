// Sound effects and music on the real mixer with the silent driver.
#include <SDL_mixer.h>
#include <sys/resource.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "audio/music.h"
#include "audio/sound.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "platform/resources.h"
#include "tests/test_support.h"
#include "tools/assetgen/wav.h"

namespace {

namespace fs = std::filesystem;

// A quiet two-second tone: long enough to still be playing while a test looks.
void WriteTone(const fs::path& path, double seconds = 2.0) {
    std::vector<float> samples;
    for (int i = 0; i < static_cast<int>(22050 * seconds); ++i)
        samples.push_back(0.2f * static_cast<float>(std::sin(i * 0.05)));
    wav::Write(path, samples, 22050, 1);
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenAudio());
        cwd.emplace(dir.Path());
        WriteTone(dir / "tone.wav");
    }
    void TearDown() override {
        CloseAudio();
        SetSoundVolume(100);
        SetMusicVolume(100);
        if (MusicMuted())
            ToggleMusicMute();
    }
    test::ScratchDir dir;
    std::optional<test::WorkingDir> cwd;
};

TEST_F(AudioTest, SoundsThatCannotBeLoadedStaySilent) {
    test::WriteFile(dir / "garbage.wav", "RIFF not really");
    for (const char* path : {"missing.wav", "garbage.wav", ""}) {
        Sound s;
        EXPECT_FALSE(s.Load(path)) << path;
        EXPECT_FALSE(s.loaded);
        s.Play();
        EXPECT_EQ(s.channel, -1) << path;
        s.Halt();
        s.Pause();
        s.Resume();
        Sound copy = s;
        copy.Play();
        EXPECT_EQ(copy.channel, -1);
    }
    // A failed reload drops the old sample too.
    Sound s;
    ASSERT_TRUE(s.Load("tone.wav"));
    EXPECT_FALSE(s.Load("missing.wav"));
    s.Play();
    EXPECT_EQ(s.channel, -1);
}

TEST_F(AudioTest, CopiesShareTheSampleYetPlayAndStopOnTheirOwn) {
    auto original = std::make_unique<Sound>();
    original->loop = true;
    ASSERT_TRUE(original->Load("tone.wav"));
    original->Play();
    Sound copy = *original;
    EXPECT_TRUE(copy.loop);
    EXPECT_TRUE(copy.loaded);
    EXPECT_EQ(copy.channel, -1);

    Sound assigned;
    assigned = copy;
    original.reset();  // the copies keep the sample
    copy.Play();
    assigned.Play();
    ASSERT_NE(copy.channel, -1);
    ASSERT_NE(assigned.channel, -1);
    EXPECT_NE(copy.channel, assigned.channel);
    EXPECT_NE(Mix_GetChunk(copy.channel), Mix_GetChunk(assigned.channel));
    EXPECT_TRUE(Mix_Playing(copy.channel));
    EXPECT_TRUE(Mix_Playing(assigned.channel));

    copy.Pause();
    EXPECT_FALSE(Mix_Paused(assigned.channel));
    copy.Halt();
    EXPECT_TRUE(Mix_Playing(assigned.channel));
    // Gone while it plays: its channel stops, the other copy's plays on.
    const int channel = assigned.channel;
    assigned = Sound();
    EXPECT_FALSE(Mix_Playing(channel));
    copy.Play();
    { Sound gone = copy; }
    EXPECT_TRUE(Mix_Playing(copy.channel));
}

TEST_F(AudioTest, PlayingAgainRestartsOnlyThatSound) {
    Sound a, b;
    a.loop = b.loop = true;
    ASSERT_TRUE(a.Load("tone.wav"));
    ASSERT_TRUE(b.Load("tone.wav"));
    a.Play();
    b.Play();
    a.Play();
    EXPECT_NE(a.channel, -1);
    EXPECT_TRUE(Mix_Playing(a.channel));
    EXPECT_TRUE(Mix_Playing(b.channel));
    EXPECT_NE(Mix_GetChunk(b.channel), Mix_GetChunk(a.channel));

    a.Pause();
    EXPECT_TRUE(Mix_Paused(a.channel));
    EXPECT_FALSE(Mix_Paused(b.channel));
    a.Resume();
    EXPECT_FALSE(Mix_Paused(a.channel));
    a.Halt();
    EXPECT_FALSE(Mix_Playing(a.channel));
    EXPECT_TRUE(Mix_Playing(b.channel));
}

TEST_F(AudioTest, AFinishedSoundLeavesItsOldChannelsNewOwnerAlone) {
    Sound a, b;
    b.loop = true;
    ASSERT_TRUE(a.Load("tone.wav"));
    ASSERT_TRUE(b.Load("tone.wav"));
    a.Play();
    int channel = a.channel;
    Mix_HaltChannel(channel);  // as if it had played to the end
    b.Play();
    ASSERT_EQ(b.channel, channel);
    a.Halt();
    a.Pause();
    a.Play();
    EXPECT_TRUE(Mix_Playing(b.channel));
    EXPECT_FALSE(Mix_Paused(b.channel));
    EXPECT_NE(a.channel, b.channel);
}

TEST_F(AudioTest, SoundsOutliveTheMixer) {
    auto s = std::make_unique<Sound>();
    ASSERT_TRUE(s->Load("tone.wav"));
    s->Play();
    CloseAudio();
    s->Play();
    EXPECT_EQ(s->channel, -1);
    s->Halt();
    s->Pause();
    s->Resume();
    Sound copy = *s;
    EXPECT_TRUE(copy.loaded);
    s.reset();
    copy.Play();
    EXPECT_EQ(copy.channel, -1);
}

TEST_F(AudioTest, VolumesScalePercentToTheMixer) {
    struct Case {
        int percent, mixer;
    } cases[] = {{100, 128}, {50, 64}, {33, 42}, {5, 6}, {0, 0}, {-5, 0}, {250, 128}, {2000000000, 128}};
    for (const Case& c : cases) {
        SetSoundVolume(c.percent);
        SetMusicVolume(c.percent);
        EXPECT_EQ(SoundVolume(), c.percent);
        EXPECT_EQ(MusicVolume(), c.percent);
        EXPECT_EQ(Mix_Volume(0, -1), c.mixer) << c.percent;
        EXPECT_EQ(Mix_Volume(7, -1), c.mixer) << c.percent;
        EXPECT_EQ(Mix_VolumeMusic(-1), c.mixer) << c.percent;
    }
    // Volumes set while the mixer is closed wait for it, and reopening keeps them.
    CloseAudio();
    SetSoundVolume(50);
    ToggleMusicMute();
    ASSERT_TRUE(OpenAudio());
    EXPECT_EQ(Mix_Volume(3, -1), 64);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
}

TEST_F(AudioTest, MutingTwiceRestoresTheMusicVolumeAcrossTracks) {
    SetMusicVolume(40);
    PlayMusic("tone.wav", true);
    ToggleMusicMute();
    EXPECT_TRUE(MusicMuted());
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    // A new track keeps a muted player muted.
    PlayMusic("tone.wav", false);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    ToggleMusicMute();
    EXPECT_FALSE(MusicMuted());
    EXPECT_EQ(Mix_VolumeMusic(-1), 51);
    EXPECT_EQ(MusicVolume(), 40);
}

TEST_F(AudioTest, MusicFromAFileLeavesTheFile) {
    PlayMusic("tone.wav", true);
    EXPECT_EQ(CurrentSongName(), "tone.wav");
    EXPECT_TRUE(Mix_PlayingMusic());
    StopMusic();
    EXPECT_EQ(CurrentSongName(), "");
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_TRUE(fs::exists(dir / "tone.wav"));
    StopMusic();  // stopping twice is harmless
}

TEST_F(AudioTest, MusicThatCannotBeLoadedIsFatalWithItsPath) {
    test::WriteFile(dir / "garbage.ogg", "OggS but nothing else");
    for (std::string path : {"missing.ogg", "garbage.ogg", "RS#NOSUCHTRACK", "RS#", "RS#ICON_32x32"}) {
        try {
            PlayMusic(path, true);
            ADD_FAILURE() << path << " played";
        } catch (const platform::GameError& error) {
            EXPECT_EQ(error.Message(), "Failed to load \"" + path + "\"!");
        }
        EXPECT_EQ(CurrentSongName(), "");
        EXPECT_FALSE(fs::exists(dir / "Music" / "CurrentSong.ogg")) << path;
    }
}

TEST_F(AudioTest, BuiltInTracksAreWrittenToMusicAndRemovedWhenTheyStop) {
    const fs::path song = dir / "Music" / "CurrentSong.ogg";
    auto bytesOf = [](const std::string& name) {
        auto track = platform::FindResource(name, "OGG");
        return track ? std::string(reinterpret_cast<const char*>(track->data()), track->size()) : std::string();
    };
    // No Music folder yet: it is made on the way.
    PlayMusic("RS#TITLETRACK", false);
    EXPECT_EQ(CurrentSongName(), "RS#TITLETRACK");
    EXPECT_TRUE(Mix_PlayingMusic());
    ASSERT_TRUE(fs::exists(song));
    EXPECT_EQ(test::ReadFile(song), bytesOf("TITLETRACK"));

    PlayMusic("RS#TITLETRACK", true);
    EXPECT_TRUE(fs::exists(song));
    PlayMusic("RS#TRACK1", true);
    EXPECT_EQ(test::ReadFile(song), bytesOf("TRACK1"));

    PlayMusic("tone.wav", true);
    EXPECT_FALSE(fs::exists(song));
    EXPECT_TRUE(fs::exists(dir / "tone.wav"));

    PlayMusic("RS#TRACK9", true);
    StopMusic();
    EXPECT_FALSE(fs::exists(song));
    EXPECT_EQ(CurrentSongName(), "");

    PlayMusic("RS#INTROTRACK", false);
    CloseAudio();
    EXPECT_FALSE(fs::exists(song));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Music"), fs::directory_iterator()), 0);
}

// A game folder where the track cannot be written still has its music, from memory.
TEST_F(AudioTest, BuiltInTracksPlayFromMemoryWhenTheirFileCannotBeWritten) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        // Stands for a read-only folder, which the superuser could still write to.
        {"no Music folder can be made", [&] { test::WriteFile(dir / "Music", "a file"); }},
        // A file size limit fails the write part-way, as a full disk does.
        {"disk full",
         [] {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small{};
             ::getrlimit(RLIMIT_FSIZE, &small);
             small.rlim_cur = 4096;
             ::setrlimit(RLIMIT_FSIZE, &small);
         }},
    };
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    for (const auto& [what, prepare] : cases) {
        SCOPED_TRACE(what);
        CloseAudio();
        ASSERT_TRUE(OpenAudio());
        fs::remove_all(dir / "Music");
        platform::TakeNotices();
        prepare();
        EXPECT_NO_THROW(PlayMusic("RS#TITLETRACK", true));
        EXPECT_NO_THROW(PlayMusic("RS#TRACK1", true));
        ::setrlimit(RLIMIT_FSIZE, &before);
        EXPECT_EQ(CurrentSongName(), "RS#TRACK1");
        EXPECT_TRUE(Mix_PlayingMusic());
        EXPECT_EQ(platform::TakeNotices(), (std::vector<std::string>{
                                               "Couldn't write the music file \"./Music/CurrentSong.ogg\"; the music "
                                               "plays from memory"}))
            << "said once";
        StopMusic();
        EXPECT_FALSE(fs::exists(dir / "Music" / "CurrentSong.ogg.tmp"));
    }
}

TEST(AudioProgram, AGameFolderWhereMusicCannotBeWrittenStillStarts) {
    test::ScratchDir game;
    test::CopyGameFolder(game.Path());
    fs::remove_all(game / "Music");
    test::WriteFile(game / "Music", "a file");
    test::RunResult run = test::RunGameBinary({"--data", game.Path().string(), "--frames", "30"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Couldn't write the music file"), std::string::npos) << run.output;
}

// Every track decodes to 30..90 seconds of sound whose end runs straight into its start.
TEST_F(AudioTest, BuiltInTracksDecodeAndLoopCleanly) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
    ASSERT_EQ(format, AUDIO_S16SYS);
    std::vector<std::string> seen;
    std::vector<std::string> names = {"INTROTRACK", "OUTROTRACK", "TITLETRACK"};
    for (int i = 1; i <= 9; ++i)
        names.push_back("TRACK" + std::to_string(i));
    for (const std::string& name : names) {
        auto track = platform::FindResource(name, "OGG");
        ASSERT_TRUE(track) << name;
        std::string bytes(reinterpret_cast<const char*>(track->data()), track->size());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), bytes), 0) << name << " repeats another track";
        seen.push_back(bytes);

        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(track->data(), static_cast<int>(track->size())), 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        std::size_t frames = chunk->alen / (2 * channels);
        std::vector<std::int16_t> pcm(chunk->alen / 2);
        std::memcpy(pcm.data(), chunk->abuf, pcm.size() * 2);
        Mix_FreeChunk(chunk);
        double seconds = static_cast<double>(frames) / rate;
        EXPECT_GE(seconds, 30.0) << name;
        EXPECT_LE(seconds, 90.0) << name;

        double energy = 0;
        for (std::int16_t s : pcm)
            energy += static_cast<double>(s) * s;
        EXPECT_GT(std::sqrt(energy / static_cast<double>(pcm.size())), 1000.0) << name << " is nearly silent";

        // Predict each sample from the two before it; across the seam the guess must be
        // as good as almost anywhere inside the track.
        for (int c = 0; c < channels; ++c) {
            auto at = [&](std::size_t f) { return static_cast<double>(pcm[(f % frames) * channels + c]); };
            std::vector<double> errors;
            for (std::size_t f = 2; f < frames; ++f)
                errors.push_back(std::abs(at(f) - (2 * at(f - 1) - at(f - 2))));
            std::nth_element(errors.begin(), errors.begin() + static_cast<long>(errors.size() * 995 / 1000), errors.end());
            double usual = errors[errors.size() * 995 / 1000];
            for (std::size_t f = frames; f < frames + 2; ++f)
                EXPECT_LE(std::abs(at(f) - (2 * at(f - 1) - at(f - 2))), usual) << name << " clicks at the loop";
        }
    }
}

TEST_F(AudioTest, InterfaceBlipIsAShortSound) {
    Sound blip;
    ASSERT_TRUE(blip.Load(std::string(QM_GAME_DIR) + "/GUI/Blip.wav"));
    blip.Play();
    EXPECT_NE(blip.channel, -1);
    EXPECT_TRUE(Mix_Playing(blip.channel));
}

}  // namespace
