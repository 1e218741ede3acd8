// The real program, driven by scripted input under the dummy drivers.
#include <gtest/gtest.h>

#include <SDL.h>

#include "tests/test_support.h"

namespace {

// A run writes its settings and save data at shutdown, so it runs in a copy of the game
// folder: other tests copy the built one while these run.
TEST(ProgramTest, RunsFramesShowsTheLoadingPictureAndQuits) {
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::WriteFile(dir / "script.txt", "2 shot " + (dir / "frame2.bmp").string() + "\n5 quit\n");
    test::RunResult r = test::RunGameBinary({"--data", dir.Path().string(), "--script", (dir / "script.txt").string(),
                                             "--shot", "1:" + (dir / "frame1.bmp").string(), "--uncapped"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    for (const char* name : {"frame1.bmp", "frame2.bmp"}) {
        SDL_Surface* shot = SDL_LoadBMP((dir / name).string().c_str());
        ASSERT_NE(shot, nullptr) << name;
        EXPECT_EQ(shot->w, 640);
        EXPECT_EQ(shot->h, 480);
        SDL_FreeSurface(shot);
    }
}

TEST(ProgramTest, FrameLimitEndsWithANormalShutdown) {
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::RunResult r = test::RunGameBinary({"--data", dir.Path().string(), "--frames", "3", "--fixed-step"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
}

TEST(ProgramTest, MissingPictureIsAFatalError) {
    test::ScratchDir empty;
    test::RunResult r = test::RunGameBinary({"--data", empty.Path().string(), "--frames", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("ERROR: File GUI/Loading.png could not be loaded!"), std::string::npos) << r.output;
}

TEST(ProgramTest, BadCommandLinesAndScriptsAreRefusedClearly) {
    test::ScratchDir dir;
    test::WriteFile(dir / "bad.txt", "1 keydown 32\n2 fly\n");
    test::RunResult r = test::RunGameBinary({"--data", QM_GAME_DIR, "--script", (dir / "bad.txt").string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("line 2"), std::string::npos) << r.output;

    r = test::RunGameBinary({"--wat"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("--wat"), std::string::npos);

    r = test::RunGameBinary({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.output.find("--script"), std::string::npos);
}
// A level name typed in a UTF-8 terminal finds the level the content spells in Latin-1, and
// one that names no level is answered with the nearest that do.
TEST(ProgramTest, LevelNamesAreTakenAsTypedInUtf8AndAMistypedOneIsAnsweredWithTheNearest) {
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::RunResult r = test::RunGameBinary(
        {"--data", dir.Path().string(), "--level", "Main/Botany \xC3\xA0 la Kool-aid Man", "--frames", "3", "--fixed-step"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    r = test::RunGameBinary({"--data", dir.Path().string(), "--level", "Main/botany a la", "--frames", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("ERROR: Level \"Main/botany a la\" not found! Nearest: \"Main/Botany \xC3\xA0 la Kool-aid Man\""),
              std::string::npos)
        << r.output;
}

}  // namespace
