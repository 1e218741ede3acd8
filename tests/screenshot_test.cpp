#include <gtest/gtest.h>

#include <SDL.h>

#include "world/render.h"
#include "media/screenshot.h"
#include "tests/test_support.h"

namespace {

TEST(ScreenshotTest, TakesTheFirstFreeNumberAndWritesTheScreen) {
    test::ScratchDir dir;
    test::WorkingDir in(dir.Path());
    test::WriteFile(dir / "Screenshot0.bmp", "taken");
    test::WriteFile(dir / "Screenshot2.bmp", "taken");
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 10, 200, 30));
    SetScreenSurface(screen);

    SaveScreenshot();
    EXPECT_EQ(test::ReadFile(dir / "Screenshot0.bmp"), "taken");
    EXPECT_EQ(test::ReadFile(dir / "Screenshot2.bmp"), "taken");
    SDL_Surface* shot = SDL_LoadBMP((dir / "Screenshot1.bmp").string().c_str());
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 640);
    EXPECT_EQ(shot->h, 480);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(*static_cast<Uint32*>(shot->pixels), shot->format, &r, &g, &b);
    EXPECT_EQ(g, 200);
    SDL_FreeSurface(shot);
    EXPECT_EQ(NextScreenshotName(), "Screenshot3.bmp");
    SetScreenSurface(nullptr);
}

}  // namespace
