// The key-line format shared by content files and the settings file.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <stdexcept>

#include "content/key_lines.h"

namespace {

TEST(KeyLinesTest, ReadsTheFirstLineStartingWithKeyBlankEquals) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"[Sprite]\nWidth = 64\n", 64},
        {"Width =64", 4},  // the character after "=" is skipped unread
        {"Width  = 64\n", -1},  // two blanks: not a key line
        {"width = 64\n", -1},  // case-sensitive
        {" Width = 64\n", -1},  // indented
        {"//Width = 64\nWidth = 3\n", 3},
        {"Width = 5\nWidth = 6\n", 5},  // first match wins
        {"Widths = 9\nWidth = 8", 8},  // a longer key is not this key; last line without line feed
        {"Width = 12px\r\n", 12},
        {"Width = -7\n", -7},
        {"Width = abc\n", 0},
        {"Width = 99999999999\n", std::numeric_limits<std::int32_t>::max()},
        {"", -1},
    };
    for (const Case& c : cases) {
        std::istringstream text(c.text);
        EXPECT_EQ(ReadInt(text, "Width", -1), c.expected) << c.text;
    }
}

TEST(KeyLinesTest, StringsKeepTrailingBlanksAndLookupsRescanFromTheTop) {
    std::istringstream text("[Level]\nName = Lake Walk  \nMusicThemePath = RS#TRACK2\r\n");
    EXPECT_EQ(ReadString(text, "MusicThemePath", "x"), "RS#TRACK2");
    EXPECT_EQ(ReadString(text, "Name", "x"), "Lake Walk  ");  // found after a later key was read
    EXPECT_EQ(ReadString(text, "PreviewPath", "none"), "none");
}

TEST(KeyLinesTest, BooleansAreIntegersComparedWithZero) {
    std::istringstream text("A = 0\nB = 2\nC = yes\nD = -1\n");
    EXPECT_FALSE(ReadBool(text, "A", 1));
    EXPECT_TRUE(ReadBool(text, "B", 0));
    EXPECT_FALSE(ReadBool(text, "C", 1));
    EXPECT_TRUE(ReadBool(text, "D", 0));
    EXPECT_TRUE(ReadBool(text, "E", 1));
    EXPECT_FALSE(ReadBool(text, "E", 0));
}

TEST(KeyLinesTest, AKeyLineEndingAtTheEqualsSignIsAnOutOfRangeError) {
    std::istringstream text("Name =\n");
    EXPECT_THROW(ReadString(text, "Name", ""), std::out_of_range);
    std::istringstream blank("Name = ");
    EXPECT_EQ(ReadString(blank, "Name", "x"), "");
}

TEST(KeyLinesTest, AtoIStopsAtTheFirstNonDigitAndAtTheInt32Bounds) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"  \t-12abc", -12}, {"+7", 7}, {"", 0}, {"-", 0}, {"x5", 0}, {"100, 64", 100},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::numeric_limits<std::int32_t>::max()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AtoI(c.text), c.expected) << c.text;
}

}  // namespace
