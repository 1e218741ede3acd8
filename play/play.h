#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "play/replay.h"
#include "play/turn_engine.h"
#include "play/way_finder.h"
#include "world/world.h"

// What a frame of play asks of the screen around it.
enum class PlayOutcome {
    Stay,
    Abandoned,        // the player backed out
    ClosingFinished,  // the closing cutscene has played
    GlowingFinished,  // the glowing cutscene has played
};

// Level play: the World it plays, the level, the turns taken, whether the board has settled
// and the replay being recorded or played back. The game holds one and hands it to the
// screens that need it.
class PlaySession {
public:
    explicit PlaySession(World& world) : world(world) {}

    // Builds the current level for play: objects, the level's music and dialogs, turns at 0.
    void StartLevel();
    // Builds the current level afresh, as "Restart" does.
    void RestartLevel();
    // Leaving play: the board is cleared, the level's dialogs dropped and the save data written.
    void Exit();
    // The step of each frame before the World updates: "Restart", "Undo", the hand turn
    // (a direction pressed while the board moved is held back and taken once it settles;
    // one in which nothing can move is refused and counted in `refusals`) or the replay's
    // next one, and "Hint". "Save Replay" asks for its file through `askToSave`. Each of
    // these, a key kept for later and a key refused has its sound.
    PlayOutcome Update(const AskForReplayPath& askToSave);
    // After the World update: decides whether the board has settled (the landing sound of a
    // turn, once), searches the board at rest a slice further and records a completion (one
    // helped by a hint apart), writing the save data once per completion; true when
    // "Action 1" takes the player out of a finished level.
    bool Settle();
    // Takes a turn: one more on the counter and gravity the move's way.
    void TakeTurn(Move move);
    // Takes back the last turn taken by hand: the board as that turn found it, one turn
    // fewer, the move dropped from the recording. Refused (false) with no such turn left,
    // on a completed level and while a replay plays; dialogs that ran stay done.
    bool Undo();
    // Turns that Undo can still take back.
    std::size_t UndoableTurns() const { return undoStack.size(); }
    // The current level was completed within its par without a hint (a par of 0 never counts).
    bool LevelPerfect() const;
    // The hint asked for the board at rest: what is known of it, null while it is searched.
    const WayOn* Hint() const { return hintAsked ? ways.Known() : nullptr; }

    // "Load Replay": asks for a file; true when one was read and its level should be played
    // (the level is then the replay's).
    bool LoadReplay(const AskForReplayPath& ask);
    // Plays `file` back from the start of its level (the caller enters play).
    void StartPlayback(const ReplayFile& file);
    // Back to how the program starts (tests).
    void Reset();

    World& world;
    std::string levelName = "Main/Level 1";
    // The two campaign levels that end in a cutscene start it once per entry.
    bool endingPending = true;
    std::int32_t turns = 0;
    // The next turn may be taken.
    bool settled = false;
    ReplayState replay;
    // The direction pressed last while the board moved: the next turn once it settles.
    std::optional<Move> bufferedMove;
    // Turns refused because nothing could move that way, and the last such move.
    std::uint32_t refusals = 0;
    std::optional<Move> refusedMove;
    // What the solver knows of the boards at rest; every board is searched, so a dead end
    // is told without asking.
    WayFinder ways;
    // "Hint" was pressed for the board at rest: it is answered until the board changes.
    bool hintAsked = false;
    // This attempt has shown a way on: its completion earns no gold mark. "Restart" keeps
    // the mark, leaving play drops it.
    bool hintUsed = false;

    // Snapshots beyond this many turns back are dropped: a big level's board is costly.
    static constexpr std::size_t kUndoLimit = 1000;

private:
    void BeginLevel();
    void TakeHandMove();
    void BufferMove();
    void StepPlayback(std::int32_t turnsBefore);
    PlayOutcome SpecialLevelEndings();

    // The board at the start of each hand turn, the latest last.
    std::deque<WorldSnapshot> undoStack;
    // This attempt's completion is in the save data on disk.
    bool completionSaved = false;
    // A turn was taken and the board has not come to rest since: its landing is still to be heard.
    bool landingDue = false;
};
