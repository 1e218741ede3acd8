#include "play/turn_engine.h"

#include <string>

#include "app/timer.h"
#include "world/draw_queue.h"
#include "world/world.h"

std::string_view MoveName(Move move) {
    switch (move) {
    case Move::Left:
        return "Left";
    case Move::Up:
        return "Up";
    case Move::Down:
        return "Down";
    case Move::Right:
        return "Right";
    }
    return "";
}

std::optional<Move> MoveNamed(std::string_view name) {
    for (Move move : kMoveOrder)
        if (MoveName(move) == name)
            return move;
    return std::nullopt;
}

int MoveDirection(Move move) {
    switch (move) {
    case Move::Left:
        return 180;
    case Move::Up:
        return 270;
    case Move::Down:
        return 90;
    case Move::Right:
        return 0;
    }
    return 90;
}

void StartTurn(World& world, Move move) { world.SetGravity(MoveDirection(move)); }

bool BoardSettled(const World& world) { return !world.TurnUnderway() && world.AtRest(); }

bool RunWorldFrame(World& world) {
    world.Update(TimerStep());
    if (world.queueDrawing)
        FrameDrawQueue().Clear();
    return BoardSettled(world);
}

TurnOutcome SettleHeadless(World& world, std::int32_t maxFrames) {
    TurnOutcome outcome;
    // At a step of 1.0 a frame is one sub-step, and the World may run many at once where
    // pieces only fall; they end as the frames one by one would.
    const bool subStepFrames = TimerStep() == 1.0;
    while (outcome.frames < maxFrames) {
        std::int32_t ran = subStepFrames ? world.SkipFreeFall(maxFrames - outcome.frames) : 0;
        bool settled;
        if (ran > 0) {
            settled = BoardSettled(world);
        } else {
            settled = RunWorldFrame(world);
            ran = 1;
        }
        outcome.frames += ran;
        if (world.levelStatus != LevelStatus::Playing)
            break;
        if (settled) {
            outcome.settled = true;
            break;
        }
    }
    outcome.levelStatus = world.levelStatus;
    return outcome;
}

TurnOutcome PlayMoveHeadless(World& world, Move move, std::int32_t maxFrames) {
    StartTurn(world, move);
    return SettleHeadless(world, maxFrames);
}

TurnOutcome PlayMoveHeadless(World& world, std::string_view move, std::int32_t maxFrames) {
    if (std::optional<Move> named = MoveNamed(move))
        return PlayMoveHeadless(world, *named, maxFrames);
    TurnOutcome none;
    none.settled = BoardSettled(world);
    none.levelStatus = world.levelStatus;
    return none;
}
