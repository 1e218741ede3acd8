#pragma once
// The one road from a move to a settled board. Level play, replay playback, the tests and
// the headless simulator all go through here, so they can never disagree about what a
// turn does or when the next one may be taken.
//
// A frame of play, as the main loop runs it:
//   1. at most one move is taken: StartTurn sets the gravity (the World keeps the change
//      until the sub-step that takes it);
//   2. the World updates once (World::Update with TimerStep());
//   3. BoardSettled tells whether the next move may be taken.
// RunWorldFrame does 2 and 3 for headless runs; PlayMoveHeadless and SettleHeadless run
// whole turns. The World runs whole sub-steps only, so a turn ends on the same board at
// any Timer step; fix the step (SetFixedTimerStep) to make the frame counts repeat too.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "world/world.h"

enum class Move : std::uint8_t { Left, Up, Down, Right };

// The four moves in the order a frame looks at them: with two keys down, the earlier wins.
inline constexpr std::array<Move, 4> kMoveOrder = {Move::Left, Move::Up, Move::Down, Move::Right};

// "Left", "Up", "Down" or "Right": the move's action and its line in a replay.
std::string_view MoveName(Move move);
// The move of a name; nothing for any other text (names are exact: "left" is none).
std::optional<Move> MoveNamed(std::string_view name);
// The gravity direction of a move: Left 180, Up 270, Down 90, Right 0.
int MoveDirection(Move move);

// The one call that starts a turn: gravity turns the move's way.
void StartTurn(World& world, Move move);

// Whether the next move may be taken, asked right after the frame's World update. The
// sub-step that takes a gravity change still moves every object the old way (objects take
// a new direction only after their velocity is set), so the board can look at rest before
// anything has moved under the new gravity: until a later sub-step has run, it never
// counts as settled.
bool BoardSettled(const World& world);

struct TurnOutcome {
    std::int32_t frames = 0;         // World updates run
    bool settled = false;            // the board settled (false: level over or out of frames)
    LevelStatus levelStatus = LevelStatus::NotPlaying;  // the World's status when the run stopped
    // Something moved in the turn (a piece fell, broke, was taken, or the level ended). A move
    // that moves nothing is no turn at all: play refuses it and the solver never counts it.
    bool moved = false;
};

// One headless frame: updates the World, empties the frame's draw queue (nothing presents
// it) and returns BoardSettled.
bool RunWorldFrame(World& world);

// Runs frames until the board settles, the level is no longer being played (failed or
// complete), or `maxFrames` updates have run. A level just built and given SetGravity(90),
// as entering play does, first falls into place. At a Timer step of 1.0, frames in which
// pieces only fall run many at once (World::SkipFreeFall), to the same boards and counts.
TurnOutcome SettleHeadless(World& world, std::int32_t maxFrames);

// Takes one move and runs it out as SettleHeadless does.
TurnOutcome PlayMoveHeadless(World& world, Move move, std::int32_t maxFrames);
// Whether the move would move anything, tried out of sight on a copy of the board in a World
// of its own, silently, stopping at the first sign of motion. The World itself is untouched.
// The test is the one PlayMoveHeadless reports as `moved`.
bool MoveMovesAnything(const World& world, Move move, std::int32_t maxFrames = 100000);

// The same for a line of a move list; a line that names no move takes no turn and runs no
// frame.
TurnOutcome PlayMoveHeadless(World& world, std::string_view move, std::int32_t maxFrames);
