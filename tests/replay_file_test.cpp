// Replay files: the entry rhythm of the reader and hostile files.
#include <gtest/gtest.h>

#include <fstream>

#include "play/replay.h"
#include "tests/test_support.h"

namespace {

TEST(ReplayFileTest, ReadsNamesMovesAndTheTrailingEntry) {
    test::ScratchDir dir;
    using Moves = std::vector<std::string>;
    struct Case {
        const char* what;
        std::string text;
        std::string level;
        Moves moves;
    };
    Case cases[] = {
        {"written replay", "Main/Level 1\nLeft\nUp\n", "Main/Level 1", {"Left", "Up", ""}},
        {"no final line end", "Main/Level 1\nLeft\nUp", "Main/Level 1", {"Left", "Up"}},
        {"CR LF line ends", "Main/Level 1\r\nLeft\r\nUp\r\n", "Main/Level 1", {"Left", "Up", ""}},
        {"only a name", "Main/Level 1\n", "Main/Level 1", {""}},
        {"empty file", "", "", {}},
        {"odd lines are kept for playback to skip", "X/Y\nSideways\n\nDown\n", "X/Y", {"Sideways", "", "Down", ""}},
    };
    for (const Case& c : cases) {
        test::WriteFile(dir / "r.rpl", c.text);
        auto replay = ReadReplayFile(dir / "r.rpl");
        ASSERT_TRUE(replay) << c.what;
        EXPECT_EQ(replay->levelName, c.level) << c.what;
        EXPECT_EQ(replay->moves, c.moves) << c.what;
    }
    EXPECT_FALSE(ReadReplayFile(dir / "missing.rpl"));
}

TEST(ReplayFileTest, WriteThenReadRoundTrips) {
    test::ScratchDir dir;
    ASSERT_TRUE(WriteReplayFile(dir / "r.rpl", "Main/Botany \xE0 la Kool-aid Man", {"Left", "Down"}));
    EXPECT_EQ(test::ReadFile(dir / "r.rpl"), "Main/Botany \xE0 la Kool-aid Man\nLeft\nDown\n");
    auto replay = ReadReplayFile(dir / "r.rpl");
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->levelName, "Main/Botany \xE0 la Kool-aid Man");
    EXPECT_EQ(replay->moves, (std::vector<std::string>{"Left", "Down", ""}));
}

TEST(ReplayFileTest, HugeAndBinaryFilesStayBounded) {
    test::ScratchDir dir;
    {
        // One endless line with zero bytes in it, then very many short lines.
        std::ofstream out(dir / "huge.rpl", std::ios::binary);
        std::string chunk(1 << 16, '\0');
        for (int i = 0; i < 64; ++i)
            out.write(chunk.data(), chunk.size());
        out << "\n";
        for (std::size_t i = 0; i < kMaxReplayEntries + 10; ++i)
            out << "L\n";
    }
    auto replay = ReadReplayFile(dir / "huge.rpl");
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->levelName.size(), kMaxReplayLine);
    EXPECT_EQ(replay->moves.size(), kMaxReplayEntries);
}

}  // namespace
