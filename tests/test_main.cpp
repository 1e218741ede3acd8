// Every test runs against the real SDL with its dummy drivers and a 640x480 video mode,
// which picture loading needs for its display-format conversion.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/screens.h"
#include "platform/video_mode.h"

namespace {
class SdlEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
        ASSERT_NE(platform::SetVideoMode(640, 480, 32, 0x10001), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    RegisterScreens();
    ::testing::AddGlobalTestEnvironment(new SdlEnvironment);
    return RUN_ALL_TESTS();
}
