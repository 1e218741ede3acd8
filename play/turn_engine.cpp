#include "play/turn_engine.h"

#include <string>

#include "app/timer.h"
#include "world/draw_queue.h"
#include "world/world.h"

std::optional<int> MoveDirection(std::string_view move) {
    if (move == "Left")
        return 180;
    if (move == "Up")
        return 270;
    if (move == "Down")
        return 90;
    if (move == "Right")
        return 0;
    return std::nullopt;
}

bool ApplyGravityMove(World& world, std::string_view move) {
    std::optional<int> direction = MoveDirection(move);
    if (!direction)
        return false;
    world.SetGravity(*direction);
    return true;
}

bool BoardSettled(const World& world) { return !world.TurnUnderway() && world.AtRest(); }

bool RunWorldFrame(World& world) {
    world.Update(TimerStep());
    if (world.queueDrawing)
        FrameDrawQueue().Clear();
    return BoardSettled(world);
}

TurnOutcome SettleHeadless(World& world, std::int32_t maxFrames) {
    TurnOutcome outcome;
    while (outcome.frames < maxFrames) {
        bool settled = RunWorldFrame(world);
        ++outcome.frames;
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

TurnOutcome PlayMoveHeadless(World& world, std::string_view move, std::int32_t maxFrames) {
    if (!ApplyGravityMove(world, move)) {
        TurnOutcome none;
        none.settled = BoardSettled(world);
        none.levelStatus = world.levelStatus;
        return none;
    }
    return SettleHeadless(world, maxFrames);
}
