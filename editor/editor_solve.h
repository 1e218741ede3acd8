#pragma once
// The search for the fewest turns, run from the editor on the level as it stands: a slice of
// the search in each frame, so the editor keeps drawing, with its progress on a panel.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/level_file.h"
#include "play/solver.h"

class TextButton;
class TextLabel;
class ImageWidget;

// The board the search starts from, built as quillmere-sim solve builds it: the level as the
// editor writes it, read back by the level reader, built into a World of its own with gravity
// down and let settle. Nothing, with the reason in `why`, when the level can't be built or
// never settles.
std::optional<WorldSnapshot> StartBoard(const LevelProperties& level, const std::vector<LevelEntry>& objects,
                                        std::int32_t maxFrames, std::string& why);

// What the editor gives each frame's slice of the search; tests make it tiny.
inline constexpr double kSolveSliceSeconds = 0.012;
inline constexpr double kEditorSolveSeconds = 30.0;

class SolvePanel {
public:
    enum class Action { None, Close, SetPar };

    SolvePanel(const LevelProperties& level, const std::vector<LevelEntry>& objects, SolveLimits limits,
               double sliceSeconds);
    ~SolvePanel();
    SolvePanel(const SolvePanel&) = delete;
    SolvePanel& operator=(const SolvePanel&) = delete;

    // Once per frame: a slice of the search, then the keys and buttons. Escape stops a
    // running search and closes a finished one; Enter sets the par once there is one.
    Action Update();

    bool Searching() const { return search && !search->Done(); }
    // The fewest turns, once found.
    std::optional<std::int32_t> FewestTurns() const { return turns; }
    // The search's end in words ("" while it runs), and its progress: boards, depth, time.
    const std::string& Verdict() const { return verdict; }
    std::vector<std::string> Progress() const;
    // Slices run so far: a search of many slices kept the frames coming.
    int Slices() const { return slices; }

private:
    void Finish();
    void Refresh();

    SolveLimits limits;
    double slice;
    std::unique_ptr<SolveSearch> search;
    std::optional<std::int32_t> turns;
    std::string verdict;
    int slices = 0;

    ImageWidget* panel = nullptr;
    TextLabel* title = nullptr;
    TextLabel* progressLabels[3] = {};
    TextLabel* verdictLabel = nullptr;
    TextLabel* hint = nullptr;
    TextButton* setParButton = nullptr;
    SDL_Rect parAt{0, 0, 0, 0};
    TextButton* closeButton = nullptr;
};
