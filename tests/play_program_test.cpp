// The real program plays a level through key events and keeps the result.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "play/save_data.h"
#include "tests/play_fixture.h"
#include "tests/test_support.h"

namespace {

// The record the save data file holds for `level`, if any: {completed, best turns}.
std::optional<std::pair<int, std::int32_t>> RecordOnDisk(const std::string& bytes, const std::string& level) {
    for (std::size_t at = 0; at + 45 <= bytes.size(); at += 45) {
        if (bytes.compare(at, level.size() + 1, std::string(level.c_str(), level.size() + 1)) != 0)
            continue;
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i)
            bits = bits << 8 | static_cast<unsigned char>(bytes[at + 41 + static_cast<std::size_t>(i)]);
        return std::pair<int, std::int32_t>{bytes[at + 40], static_cast<std::int32_t>(bits)};
    }
    return std::nullopt;
}

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
    auto record = RecordOnDisk(bytes, "Play/Slide");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->first, 1) << "completed";
    EXPECT_EQ(record->second, 1) << "the key during the slide took no turn";
}

TEST(PlayProgramTest, AWrongTurnTakenBackThenTheLevelWonByKeysAloneIsRecorded) {
    test::ScratchDir dir;
    WritePlayGameFolder(dir.Path());
    // Up sends the crate out through the open top (the level is lost by frame 200);
    // Backspace takes that turn back; Right wins; Space continues; the window is closed.
    test::WriteFile(dir / "script.txt",
                    "20 key 273\n"
                    "210 key 8\n"
                    "240 key 275\n"
                    "540 key 32\n"
                    "560 quit\n");
    test::RunResult r = test::RunGameBinary({"--data", dir.Path().string(), "--level", "Play/Slide", "--script",
                                             (dir / "script.txt").string(), "--uncapped"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    auto record = RecordOnDisk(test::ReadFile(dir / "SaveData.sav"), "Play/Slide");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->first, 1) << "completed";
    EXPECT_EQ(record->second, 1) << "the turn taken back is not counted";
}

}  // namespace
