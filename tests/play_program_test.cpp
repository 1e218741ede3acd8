// The real program plays a level through key events and keeps the result.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/save_data.h"
#include "tests/play_fixture.h"
#include "tests/test_support.h"

namespace {

TEST(PlayProgramTest, PlayingALevelToTheEndLeavesItsRecordInTheSaveData) {
    test::ScratchDir dir;
    WritePlayGameFolder(dir.Path());
    // Settle, tip the lake right, and once the crate is through the gate continue with SPACE.
    test::WriteFile(dir / "script.txt",
                    "20 key 275\n"
                    "30 key 276\n"
                    "300 key 32\n"
                    "320 quit\n");
    test::RunResult r = test::RunGameBinary({"--data", dir.Path().string(), "--level", "Play/Slide", "--script",
                                             (dir / "script.txt").string(), "--uncapped"});
    ASSERT_EQ(r.exitCode, 0) << r.output;

    std::string bytes = test::ReadFile(dir / "SaveData.sav");
    ASSERT_EQ(bytes.size() % 45, 0u);
    bool found = false;
    for (std::size_t at = 0; at < bytes.size(); at += 45) {
        if (bytes.compare(at, 11, std::string("Play/Slide\0", 11)) != 0)
            continue;
        found = true;
        EXPECT_EQ(bytes[at + 40], 1) << "completed";
        std::int32_t turns = static_cast<unsigned char>(bytes[at + 41]) | static_cast<unsigned char>(bytes[at + 42]) << 8;
        EXPECT_EQ(turns, 1) << "the key during the slide took no turn";
    }
    EXPECT_TRUE(found);
}

}  // namespace
