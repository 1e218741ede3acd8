#include <gtest/gtest.h>

#include "app/timer.h"

namespace {
std::uint32_t fakeNow = 0;
std::uint32_t FakeTicks() { return fakeNow; }

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 1000;
        SetTickSource(FakeTicks);
        SetFixedTimerStep(0);
    }
    void TearDown() override { SetTickSource(nullptr); }
};

TEST_F(TimerTest, PausedTimerHoldsItsTimeAndResumesFromIt) {
    Timer t;
    fakeNow += 40;
    t.SetPaused(true);
    fakeNow += 500;
    EXPECT_EQ(t.Elapsed(), 40);
    t.SetPaused(false);
    fakeNow += 10;
    EXPECT_EQ(t.Elapsed(), 50);
}

TEST_F(TimerTest, ResetWhilePausedStaysPausedAtZero) {
    Timer t;
    fakeNow += 30;
    t.SetPaused(true);
    t.Reset();
    fakeNow += 100;
    EXPECT_TRUE(t.IsPaused());
    EXPECT_EQ(t.Elapsed(), 0);
}

TEST_F(TimerTest, FrameRateEstimate) {
    ResetFrameClock();
    // First half second: the estimate is the last interval's rate.
    fakeNow += 20;
    FrameTick();
    EXPECT_DOUBLE_EQ(EstimatedFps(), 50.0);
    EXPECT_DOUBLE_EQ(TimerStep(), 2.0);
    // A 0 ms interval early on reads as 1000 fps, not infinity.
    FrameTick();
    EXPECT_DOUBLE_EQ(EstimatedFps(), 1000.0);
    // After half a second: an exponential average with weight 0.1.
    fakeNow += 600;
    FrameTick();
    double expected = 0.9 * 1000.0 + 100.0 / 600.0;
    EXPECT_DOUBLE_EQ(EstimatedFps(), expected);
    fakeNow += 10;
    FrameTick();
    EXPECT_DOUBLE_EQ(EstimatedFps(), 0.9 * expected + 10.0);
    // Two frames in the same millisecond later on: 1000 fps, step 0.1.
    FrameTick();
    EXPECT_DOUBLE_EQ(EstimatedFps(), 1000.0);
    EXPECT_DOUBLE_EQ(TimerStep(), 0.1);
    EXPECT_EQ(FramesDrawn(), 5);
}

TEST_F(TimerTest, FixedStepOverridesTheEstimate) {
    SetFixedTimerStep(1.0);
    ResetFrameClock();
    fakeNow += 3;
    FrameTick();
    EXPECT_DOUBLE_EQ(TimerStep(), 1.0);
    SetFixedTimerStep(0);
}
}  // namespace
