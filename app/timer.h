#pragma once
#include <cstdint>

// A millisecond stopwatch over SDL's tick counter that can be paused.
class Timer {
public:
    Timer();
    void Reset();
    std::int32_t Elapsed();
    void SetPaused(bool paused);
    bool IsPaused() const { return paused; }

private:
    bool paused = false;
    std::uint32_t startTicks = 0;
    std::uint32_t heldTicks = 0;
    std::int32_t lastElapsed = 0;
};

// Source of milliseconds for every Timer; SDL_GetTicks unless a test installs its own.
using TickSource = std::uint32_t (*)();
void SetTickSource(TickSource source);
std::uint32_t CurrentTicks();

// The process-wide frame clock and frame-rate estimate.
constexpr int kNominalFps = 100;

void ResetFrameClock();   // start-up: frameClock reset, counters to their initial values
void FrameTick();         // once per frame
// kNominalFps / estimated fps, at most kMaxTimerStep, or the fixed step when one is set.
double TimerStep();
// After a stall (a dragged window, a suspended machine) one frame catches up at most this
// many nominal frames; the game then runs slower than real time instead of jumping ahead.
constexpr double kMaxTimerStep = 5.0;
double EstimatedFps();
std::int32_t FramesDrawn();

// Scripted runs, tests and the simulator fix the step so runs repeat exactly; 0 lifts it.
void SetFixedTimerStep(double step);
// The fixed step, 0 when none is set.
double FixedTimerStep();

// While play is paused (a dialog box is open, the level editor runs) the World stands still.
void SetPlayPaused(bool paused);
bool PlayPaused();
