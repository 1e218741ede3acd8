#include "play/turn_engine.h"

#include <string>
#include <vector>

#include "app/timer.h"
#include "audio/sound.h"
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

namespace {

// What a turn is judged by: every piece's place, how many there are and the level's status.
// A turn moved something when, after any of its frames, a piece is moving or an exit is busy,
// or the board no longer has these as the turn found them.
class MotionWatch {
public:
    explicit MotionWatch(const World& world) : count(world.Count()), status(world.levelStatus) {
        places.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            places.push_back(Place(*world.Get(i)));
    }

    bool SawMotion(const World& world) const {
        if (!world.Still() || world.Count() != count || world.levelStatus != status)
            return true;
        for (int i = 0; i < count; ++i)
            if (Place(*world.Get(i)) != places[static_cast<std::size_t>(i)])
                return true;
        return false;
    }

private:
    static std::uint64_t Place(const Entity& e) {
        return e.Seq() << 32 | std::uint64_t{static_cast<std::uint16_t>(e.x)} << 16 | static_cast<std::uint16_t>(e.y);
    }

    int count;
    LevelStatus status;
    std::vector<std::uint64_t> places;
};

// Sound effects stay off while a board is tried out of sight, whatever they were before.
class SilentEffects {
public:
    SilentEffects() : before(SoundEffectsSilent()) { SetSoundEffectsSilent(true); }
    ~SilentEffects() { SetSoundEffectsSilent(before); }
    SilentEffects(const SilentEffects&) = delete;
    SilentEffects& operator=(const SilentEffects&) = delete;

private:
    bool before;
};

}  // namespace

bool RunWorldFrame(World& world) {
    world.Update(TimerStep());
    if (world.queueDrawing)
        FrameDrawQueue().Clear();
    return BoardSettled(world);
}

TurnOutcome SettleHeadless(World& world, std::int32_t maxFrames) {
    TurnOutcome outcome;
    const MotionWatch watch(world);
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
        if (!outcome.moved)
            outcome.moved = watch.SawMotion(world);
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

bool MoveMovesAnything(const World& world, Move move, std::int32_t maxFrames) {
    if (world.levelStatus != LevelStatus::Playing)
        return false;
    const SilentEffects silent;
    World trial;
    trial.queueDrawing = false;
    trial.Restore(world.Snapshot());
    trial.frozen = false;
    const MotionWatch watch(trial);
    StartTurn(trial, move);
    for (std::int32_t frame = 0; frame < maxFrames; ++frame) {
        const bool settled = RunWorldFrame(trial);
        if (watch.SawMotion(trial))
            return true;
        if (settled)
            return false;
    }
    return false;
}

TurnOutcome PlayMoveHeadless(World& world, std::string_view move, std::int32_t maxFrames) {
    if (std::optional<Move> named = MoveNamed(move))
        return PlayMoveHeadless(world, *named, maxFrames);
    TurnOutcome none;
    none.settled = BoardSettled(world);
    none.levelStatus = world.levelStatus;
    return none;
}
