// Sound effects and music on the real mixer with the silent driver.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

#include "audio/music.h"
#include "audio/sound.h"
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

TEST_F(AudioTest, CopiesOwnTheirSample) {
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
    original.reset();  // frees the first sample; the copies must not notice
    copy.Play();
    assigned.Play();
    ASSERT_NE(copy.channel, -1);
    ASSERT_NE(assigned.channel, -1);
    EXPECT_NE(copy.channel, assigned.channel);
    EXPECT_NE(Mix_GetChunk(copy.channel), Mix_GetChunk(assigned.channel));
    EXPECT_TRUE(Mix_Playing(copy.channel));
    EXPECT_TRUE(Mix_Playing(assigned.channel));
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
        } catch (const std::string& message) {
            EXPECT_EQ(message, "Failed to load \"" + path + "\"!");
        }
        EXPECT_EQ(CurrentSongName(), "");
        EXPECT_FALSE(fs::exists(dir / "Music" / "CurrentSong.ogg")) << path;
    }
}

}  // namespace
