#include <gtest/gtest.h>

#include "app/options.h"
#include "app/script.h"

namespace {

TEST(ScriptTest, MalformedLinesNameTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 keydown 32\nabc", "line 2"},
        {"5 jump 3", "unknown event"},
        {"5 keydown", "takes 1 numbers"},
        {"5 mousedown 1 2", "takes 3 numbers"},
        {"5 keydown x", "whole numbers"},
        {"5 shot", "needs a file name"},
        {"-1 quit", "line 1"},
        {"1 quit\n9223372036854775807 key 32", "line 2: frame 9223372036854775807 is past the last frame"},
        {"99999999999999999999 quit", "line 1: expected a frame number"},
        {"1 quit\n2 quit\n3 key -5", "line 3: key -5 is out of range (1 to 322)"},
        {"3 keydown 0", "line 1: key 0 is out of range"},
        {"3 keyup 99999", "line 1: key 99999 is out of range"},
        {"3 mousedown 300 1 1", "line 1: button 300 is out of range (1 to 255)"},
        {"3 mouseup 1 -1 4", "line 1: x -1 is out of range (0 to 65535)"},
        {"3 mousemove 4 70000", "line 1: y 70000 is out of range (0 to 65535)"},
    };
    for (auto [text, expected] : cases) {
        try {
            InputScript::Parse(text, "s.txt");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
        }
    }
}

TEST(ScriptTest, EventsArriveThroughSdlOnTheirFrame) {
    InputScript script = InputScript::Parse("# a comment\n\n2 key 32\n3 mousemove 5 6\n3 shot a.bmp\n4 quit\n", "s");
    EXPECT_EQ(script.LastFrame(), 4);
    EXPECT_EQ(script.ShotsFor(3), std::vector<std::string>{"a.bmp"});
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    script.PushEventsFor(2);
    ASSERT_TRUE(SDL_PollEvent(&e));
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.keysym.sym, 32);
    EXPECT_FALSE(SDL_PollEvent(&e));
    script.PushEventsFor(3);
    ASSERT_TRUE(SDL_PollEvent(&e));
    EXPECT_EQ(e.type, SDL_KEYUP);  // "key" releases on the next frame
}

TEST(OptionsTest, ParsesAndRejects) {
    GameOptions o = ParseOptions({"--data", "d", "--frames", "10", "--shot", "3:x.bmp", "--uncapped", "--level", "Main/Level 2"});
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.maxFrames, 10);
    ASSERT_EQ(o.shots.size(), 1u);
    EXPECT_EQ(o.shots[0].frame, 3);
    EXPECT_EQ(o.minFrameMs, 0);
    EXPECT_EQ(o.level, "Main/Level 2");
    EXPECT_THROW(ParseOptions({"--frames", "ten"}), std::invalid_argument);
    EXPECT_THROW(ParseOptions({"--shot", "3"}), std::invalid_argument);
    EXPECT_THROW(ParseOptions({"--data"}), std::invalid_argument);
    EXPECT_THROW(ParseOptions({"--bogus"}), std::invalid_argument);
    // Past an int, a minimum frame time must not wrap into another time or a negative one.
    EXPECT_EQ(ParseOptions({"--min-frame-ms", "2147483647"}).minFrameMs, 2147483647);
    EXPECT_THROW(ParseOptions({"--min-frame-ms", "2147483648"}), std::invalid_argument);
    EXPECT_THROW(ParseOptions({"--min-frame-ms", "4294967306"}), std::invalid_argument);
}
}  // namespace
