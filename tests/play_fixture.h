#pragma once
// Level play on the real main loop frame: a scratch game folder with the game's own GUI
// pictures and font, the small test modules of tests/fixtures/play_module, a fixed Timer
// step and a clock that moves 10 ms per frame, so every run repeats exactly.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "play/turn_engine.h"
#include "tests/test_support.h"

// Lays out a game folder in `dir`: the built game's pictures, font and settings, with the
// test modules (and their pictures) in place of the game's own.
void WritePlayGameFolder(const std::filesystem::path& dir);

using Moves = std::vector<std::string>;
// The key a move is taken with by default.
SDLKey KeyOf(Move move);
// The moves recorded so far, as a replay file names them.
Moves Recorded();

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Lays out the game folder the test plays in: the test modules, unless a test says otherwise.
    virtual void LayOut(const std::filesystem::path& folder) { WritePlayGameFolder(folder); }

    // Enters play of `level` as the level select does.
    void Enter(const std::string& level);
    // One frame of the main loop with these keys pressed (down this frame, up the next).
    void Frame(std::initializer_list<SDLKey> keys = {});
    // A frame with no key, or with Skip Dialog while a dialog is up.
    void Step();
    // Frames until `done` holds, at most `limit`; false when it never did.
    template <class F>
    bool RunUntil(F done, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (done())
                return true;
            Frame();
        }
        return done();
    }
    // Frames until the board has settled (or the level ended).
    bool Settle(int limit = 2000);
    // Lets the clock run on without a frame (the dialog box and replays time in ms).
    static void Wait(std::uint32_t ms);

    static std::string Art(const std::string& name) { return "Art/" + name; }

    test::ScratchDir dir;
    std::optional<test::WorkingDir> here;

private:
    std::vector<SDLKey> releaseNext;
};

// Play in a copy of the shipped game folder, the campaign as it stands; its pieces make
// sounds, so the mixer is open.
class CampaignPlayTest : public PlayTest {
protected:
    void LayOut(const std::filesystem::path& folder) override { test::CopyGameFolder(folder); }
    void SetUp() override;
    void TearDown() override;
};
