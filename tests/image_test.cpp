#include <gtest/gtest.h>

#include "world/render.h"
#include "app/timer.h"
#include "platform/game_error.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "world/draw_queue.h"
#include "world/image.h"
#include "world/pixels.h"

namespace {

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { SetFixedTimerStep(1.0); }
    void TearDown() override { SetFixedTimerStep(0); }

    // A w x h picture, transparent but for an opaque block at (bx, by) of size bw x bh.
    std::string Picture(const std::string& name, int w, int h, int bx, int by, int bw, int bh, Rgba colour = {200, 40, 40, 255}) {
        Canvas c(w, h);
        c.FillRect(bx, by, bw, bh, colour);
        std::string path = (dir / name).string();
        c.WritePng(path);
        return path;
    }

    test::ScratchDir dir;
};

std::uint32_t ScreenPixel(int x, int y) {
    SDL_Surface* s = SDL_GetVideoSurface();
    SDL_LockSurface(s);
    std::uint32_t p = GetPixel(s, x, y);
    SDL_UnlockSurface(s);
    return p & 0x00ffffff;
}

std::uint32_t Rgb(int r, int g, int b) { return SDL_MapRGB(SDL_GetVideoSurface()->format, r, g, b) & 0x00ffffff; }

TEST_F(ImageTest, EmptyPathLoadsAnImageThatDrawsNothing) {
    Image image("", 1, 0, 10, 10);
    EXPECT_FALSE(image.HasSurface());
    EXPECT_FALSE(image.Blit(SDL_GetVideoSurface(), 0, 0));
}

TEST_F(ImageTest, MissingFileThrowsTheLoadMessage) {
    try {
        Image image("nowhere/Door.png", 3, 0, 16, 16);
        FAIL() << "no exception";
    } catch (const platform::GameError& error) {
        EXPECT_EQ(error.Message(), "File nowhere/Door0.png could not be loaded!");
    }
    EXPECT_THROW(Image("nowhere.png", 1, 0, 1, 1), platform::GameError);
}

TEST_F(ImageTest, AnimationForwardBackwardLoopAndHold) {
    Image image(Picture("a.png", 8, 8, 0, 0, 8, 8), 1, 0, 8, 8);
    image.frameCount = 3;
    image.Animate();
    EXPECT_EQ(image.frame, 0) << "frameDelay 0 never moves";

    image.frameDelay = 2;  // half a frame per step
    for (int i = 0; i < 5; ++i)
        image.Animate();
    EXPECT_EQ(image.frame, 2);
    image.Animate();  // 3.0 wraps to exactly 0
    EXPECT_DOUBLE_EQ(image.framePosition, 0.0);

    image.loop = false;
    for (int i = 0; i < 20; ++i)
        image.Animate();
    EXPECT_EQ(image.frame, 2) << "non-looping forward holds the last frame";

    image.reverse = true;
    for (int i = 0; i < 20; ++i)
        image.Animate();
    EXPECT_EQ(image.frame, 0) << "non-looping backward holds frame 0";
    image.loop = true;
    image.Animate();
    EXPECT_EQ(image.frame, 2) << "looping backward wraps to the last frame";
}

TEST_F(ImageTest, SnapAngleTable) {
    const std::pair<int, int> cases[] = {{-90, 270}, {45, 0}, {359, 270}, {360, 0}, {90, 90}, {-1, 270}, {-720, 0}};
    for (auto [in, out] : cases)
        EXPECT_EQ(SnapAngle(in), out) << in;
    EXPECT_EQ(AngleDifference(0, 90), 270);
}

TEST_F(ImageTest, StripFramesTurnAndDrawFromTheRightWindow) {
    // Three 16x16 frames; frame files larger than their slot are cut to it.
    Picture("f0.png", 16, 16, 0, 0, 16, 16, {255, 0, 0, 255});
    Picture("f1.png", 20, 16, 0, 0, 20, 16, {0, 255, 0, 255});
    Picture("f2.png", 16, 16, 0, 0, 16, 16, {0, 0, 255, 255});
    Image image((dir / "f.png").string(), 3, 0, 16, 16);
    ASSERT_TRUE(image.HasSurface());
    EXPECT_EQ(image.surface->w, 48);

    SDL_Surface* before = image.surface.get();
    image.SetAngle(0);
    EXPECT_EQ(image.surface.get(), before) << "same angle copies no pixels";

    image.SetAngle(90);
    EXPECT_EQ(image.angle, 90);
    EXPECT_EQ(image.surface->w, 16);
    EXPECT_EQ(image.surface->h, 48);
    // Frame 0 (red) now sits at the bottom of the turned strip, window y = 32.
    SDL_FillRect(SDL_GetVideoSurface(), nullptr, 0);
    ASSERT_TRUE(image.Blit(SDL_GetVideoSurface(), 100, 100));
    EXPECT_EQ(ScreenPixel(108, 108), Rgb(255, 0, 0));
    image.frame = 1;
    image.Blit(SDL_GetVideoSurface(), 100, 100);
    EXPECT_EQ(ScreenPixel(108, 108), Rgb(0, 255, 0));

    image.SetAngle(-90);
    EXPECT_EQ(image.angle, 270);
    image.alpha = 0;
    SDL_FillRect(SDL_GetVideoSurface(), nullptr, 0);
    EXPECT_TRUE(image.Blit(SDL_GetVideoSurface(), 0, 0));
    EXPECT_EQ(ScreenPixel(4, 4), 0u) << "alpha 0 draws nothing";
}

TEST_F(ImageTest, OpaqueBox) {
    Image block(Picture("b.png", 20, 10, 3, 2, 5, 4), 1, 0, 20, 10);
    EXPECT_EQ(block.OpaqueLeft(), 3);
    EXPECT_EQ(block.OpaqueTop(), 2);
    EXPECT_EQ(block.OpaqueWidth(), 5);
    EXPECT_EQ(block.OpaqueHeight(), 4);

    Image empty(Picture("e.png", 12, 9, 0, 0, 0, 0), 1, 0, 12, 9);
    EXPECT_EQ(empty.OpaqueLeft(), 0);
    EXPECT_EQ(empty.OpaqueWidth(), 12);
    EXPECT_EQ(empty.OpaqueHeight(), 9);
}

TEST_F(ImageTest, CopiesShareOneSurface) {
    auto copy = std::make_unique<Image>(Image(Picture("c.png", 4, 4, 0, 0, 4, 4), 1, 0, 4, 4));
    SDL_Surface* surface = copy->surface.get();
    int base = surface->refcount;
    {
        Image second = *copy;
        EXPECT_EQ(second.surface.get(), surface);
        EXPECT_EQ(surface->refcount, base + 1);
    }
    EXPECT_EQ(surface->refcount, base);
    Image third;
    third = *copy;
    copy.reset();
    EXPECT_TRUE(third.Blit(SDL_GetVideoSurface(), 0, 0)) << "the last copy still draws";
}

TEST_F(ImageTest, DrawQueueOrdersByKeyAndKeepsTiesInOrder) {
    Image red(Picture("r.png", 8, 8, 0, 0, 8, 8, {255, 0, 0, 255}), 1, 0, 8, 8);
    Image green(Picture("g.png", 8, 8, 0, 0, 8, 8, {0, 255, 0, 255}), 1, 0, 8, 8);
    Image blue(Picture("bl.png", 8, 8, 0, 0, 8, 8, {0, 0, 255, 255}), 1, 0, 8, 8);
    DrawQueue queue;
    queue.Add(10, 10, 0, false, red);
    queue.Add(10, 10, 0, false, green);  // same key: drawn after red, so on top
    queue.Add(30, 10, 5, false, blue);   // deeper: drawn first
    queue.Add(30, 10, 0, false, red);
    queue.DrawAndClear(SDL_GetVideoSurface());
    EXPECT_EQ(queue.Size(), 0u);
    EXPECT_EQ(ScreenPixel(12, 12), Rgb(0, 255, 0));
    EXPECT_EQ(ScreenPixel(32, 12), Rgb(255, 0, 0));

    DrawRequest r{5, 3, 1, true, red};
    EXPECT_EQ(r.DrawKey(), 1);
    r.useXY = false;
    EXPECT_EQ(r.DrawKey(), -1);
}

TEST_F(ImageTest, FadeIsClampedAndDrawnOverTheFrame) {
    SetScreenSurface(SDL_GetVideoSurface());
    SetFadeAlpha(250);
    SetFadeRate(20);
    RenderFrame();
    EXPECT_DOUBLE_EQ(FadeAlpha(), 255.0);
    EXPECT_EQ(ScreenPixel(1, 1), 0u) << "full fade is black";
    SetFadeRate(-400);
    RenderFrame();
    EXPECT_DOUBLE_EQ(FadeAlpha(), 0.0);
    EXPECT_EQ(ScreenPixel(1, 1), Rgb(255, 255, 255)) << "no fade leaves the white fill";
    SetFadeRate(0);
}
}  // namespace
