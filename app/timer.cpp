#include "app/timer.h"

#include <SDL.h>

#include <algorithm>

namespace {
std::uint32_t SdlTicks() { return SDL_GetTicks(); }
TickSource tickSource = SdlTicks;

struct FrameClockState {
    Timer frameClock;
    std::int32_t framesDrawn = 0;
    std::int32_t lastFrameTime = 0;
    double estimatedFps = kNominalFps;
    double fixedStep = 0.0;
};

FrameClockState& Clock() {
    static FrameClockState state;
    return state;
}
}  // namespace

void SetTickSource(TickSource source) { tickSource = source ? source : SdlTicks; }
std::uint32_t CurrentTicks() { return tickSource(); }

Timer::Timer() : startTicks(CurrentTicks()), lastElapsed(static_cast<std::int32_t>(startTicks)) {}

void Timer::Reset() {
    startTicks = CurrentTicks();
    heldTicks = 0;
    lastElapsed = 0;
}

std::int32_t Timer::Elapsed() {
    lastElapsed = paused ? static_cast<std::int32_t>(heldTicks) : static_cast<std::int32_t>(CurrentTicks() - startTicks);
    return lastElapsed;
}

void Timer::SetPaused(bool pause) {
    paused = pause;
    if (pause)
        heldTicks = CurrentTicks() - startTicks;
    else
        startTicks = CurrentTicks() - heldTicks;
}

void ResetFrameClock() {
    FrameClockState& c = Clock();
    c.frameClock = Timer();
    c.frameClock.Reset();
    c.framesDrawn = 0;
    c.lastFrameTime = 0;
    c.estimatedFps = kNominalFps;
}

void FrameTick() {
    FrameClockState& c = Clock();
    ++c.framesDrawn;
    double now = c.frameClock.Elapsed();
    double interval = now - c.lastFrameTime;
    // A 0 ms interval reads as 1000 fps in the first half second too, never as infinity.
    if (interval <= 0)
        c.estimatedFps = 1000.0;
    else if (now < 500)
        c.estimatedFps = 1000.0 / interval;
    else
        c.estimatedFps = 0.9 * c.estimatedFps + 100.0 / interval;
    c.lastFrameTime = static_cast<std::int32_t>(now);
}

double TimerStep() {
    const FrameClockState& c = Clock();
    if (c.fixedStep > 0)
        return c.fixedStep;
    return std::min(kNominalFps / c.estimatedFps, kMaxTimerStep);
}

double EstimatedFps() { return Clock().estimatedFps; }
std::int32_t FramesDrawn() { return Clock().framesDrawn; }
void SetFixedTimerStep(double step) { Clock().fixedStep = step; }
double FixedTimerStep() { return Clock().fixedStep; }

namespace {
bool playPaused = false;
}

void SetPlayPaused(bool paused) { playPaused = paused; }
bool PlayPaused() { return playPaused; }
