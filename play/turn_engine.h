#pragma once
// The one road from a move to a settled board. Level play, replay playback, the tests and
// the headless simulator all go through here, so they can never disagree about what a
// turn does or when the next one may be taken.
//
// A frame of play, as the main loop runs it:
//   1. the World's gravityChanged is cleared;
//   2. at most one move is taken: ApplyGravityMove sets the gravity (and gravityChanged);
//   3. the World updates once (World::Update with TimerStep());
//   4. BoardSettled tells whether the next move may be taken.
// RunWorldFrame does 1, 3 and 4 for headless runs; PlayMoveHeadless and SettleHeadless
// run whole turns. Fix the Timer step first (SetFixedTimerStep) for repeatable runs: the
// World's sub-steps and the animations (an exit's teleport) both follow it.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

class World;

// The four moves in the order a frame looks at them: with two keys down, the earlier wins.
inline constexpr std::array<std::string_view, 4> kMoveOrder = {"Left", "Up", "Down", "Right"};

// The gravity direction of a move name: Left 180, Up 270, Down 90, Right 0; nothing for
// any other name.
std::optional<int> MoveDirection(std::string_view move);

// Sets the World's gravity for the move; false (and nothing changed) for a name that is
// not a move.
bool ApplyGravityMove(World& world, std::string_view move);

// No object is moving and no exit is busy taking an object.
bool BoardAtRest(const World& world);

// Whether the next move may be taken, asked right after the frame's World update. An
// update that began with gravityChanged set still moved every object the old way (objects
// take a new direction only after their velocity is set), so the board can look at rest
// before anything has moved under the new gravity: such a frame never counts as settled.
bool BoardSettled(const World& world);

struct TurnOutcome {
    std::int32_t frames = 0;         // World updates run
    bool settled = false;            // the board settled (false: level over or out of frames)
    std::int32_t levelStatus = 0;    // the World's status when the run stopped
};

// One headless frame: clears gravityChanged first when `clearGravityChanged`, updates
// the World, empties the frame's draw queue (nothing presents it) and returns BoardSettled.
bool RunWorldFrame(World& world, bool clearGravityChanged = true);

// Runs frames until the board settles, the level is no longer being played (failed or
// complete), or `maxFrames` updates have run. The first frame keeps gravityChanged as the
// caller left it, so a level just built and given SetGravity(90), as entering play does,
// first falls into place.
TurnOutcome SettleHeadless(World& world, std::int32_t maxFrames);

// Takes one move and runs it out as SettleHeadless does. A name that is not a move takes
// no turn and runs no frame.
TurnOutcome PlayMoveHeadless(World& world, std::string_view move, std::int32_t maxFrames);
