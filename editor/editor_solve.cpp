#include "editor/editor_solve.h"

#include <cstdio>
#include <sstream>

#include "app/input.h"
#include "content/level_template.h"
#include "editor/editor_panel.h"
#include "platform/game_error.h"
#include "play/search_conditions.h"
#include "play/turn_engine.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s);
    return text;
}

std::string Turns(std::int32_t n) { return std::to_string(n) + (n == 1 ? " turn" : " turns"); }

}  // namespace

std::optional<WorldSnapshot> StartBoard(const LevelProperties& level, const std::vector<LevelEntry>& objects,
                                        std::int32_t maxFrames, std::string& why) {
    SearchConditions conditions;
    try {
        std::istringstream text(LevelFileText(level, objects));
        const LevelTemplate definition(text, "");
        World world;
        world.queueDrawing = false;
        world.SetGravity(90);
        definition.BuildInto(world);
        const TurnOutcome settled = SettleHeadless(world, maxFrames);
        if (!settled.settled && settled.levelStatus == LevelStatus::Playing) {
            why = "The level never comes to rest, so it has no turns to count.";
            return std::nullopt;
        }
        return world.Snapshot();
    } catch (const platform::GameError& error) {
        why = error.Message();
    } catch (const std::exception& error) {
        why = error.what();
    }
    return std::nullopt;
}

SolvePanel::SolvePanel(const LevelProperties& level, const std::vector<LevelEntry>& objects, SolveLimits searchLimits,
                       double sliceSeconds)
    : limits(searchLimits), slice(sliceSeconds) {
    panel = AddPanelPicture();
    title = AddPanelLabel(kPanelX, kPanelY + 6, kPanelW, true, kPanelAmber, "Fewest turns", 26);
    for (int i = 0; i < 3; ++i)
        progressLabels[i] = AddPanelLabel(kPanelX + 40, kPanelY + 44 + 24 * i, kPanelW - 80, false, kPanelParchment, "", 20);
    verdictLabel = AddPanelLabel(kPanelX + 20, kPanelY + 118, kPanelW - 40, true, kPanelAmber, "", 22);
    verdictLabel->setWrap(true);
    hint = AddPanelLabel(kPanelX, kPanelY + kPanelH - 62, kPanelW, true, kPanelFaded, "", 17);
    closeButton = AddPanelButton("CLOSE", kPanelX + kPanelW - 90);
    setParButton = AddPanelButton("SET PAR", kPanelX + 90);
    parAt = setParButton->getRect();
    setParButton->setRect(-2000, -2000, 0, 0);  // out of reach until there is a number

    std::string why;
    if (std::optional<WorldSnapshot> start = StartBoard(level, objects, limits.maxFrames, why)) {
        search = std::make_unique<SolveSearch>(*start, limits);
    } else {
        verdict = "Can't search: " + why;
    }
    Refresh();
}

SolvePanel::~SolvePanel() {
    removeImageWidget(panel);
    removeLabel(title);
    for (TextLabel* label : progressLabels)
        removeLabel(label);
    removeLabel(verdictLabel);
    removeLabel(hint);
    removeButton(setParButton);
    removeButton(closeButton);
}

std::vector<std::string> SolvePanel::Progress() const {
    if (!search)
        return {"", "", ""};
    return {"Boards searched: " + std::to_string(search->States()), "Depth: " + Turns(search->Depth()),
            "Time: " + Seconds(search->Seconds()) + " s of " + Seconds(limits.timeLimit) + " s"};
}

void SolvePanel::Finish() {
    const SolveResult& r = search->Outcome().solve;
    if (r.solvable) {
        turns = static_cast<std::int32_t>(r.moves.size());
        verdict = "Fewest turns: " + std::to_string(*turns);
        setParButton->setRect(parAt.x, parAt.y, parAt.w, parAt.h);
    } else if (r.reason == "exhausted") {
        verdict = "No solution: every board was tried.";
    } else if (r.reason == "turn limit") {
        verdict = "No solution within " + Turns(limits.maxTurns) + ".";
    } else if (r.reason == "time limit") {
        verdict = "Time is up: no solution within " + Turns(r.depth) + ".";
    } else {
        verdict = "Stopped: no solution within " + Turns(r.depth) + ".";
    }
}

void SolvePanel::Refresh() {
    const std::vector<std::string> lines = Progress();
    for (int i = 0; i < 3; ++i)
        progressLabels[i]->setText(lines[static_cast<std::size_t>(i)]);
    verdictLabel->setText(Searching() ? "Searching..." : verdict);
    if (Searching())
        hint->setText("Escape stops the search.");
    else if (turns)
        hint->setText("Enter or SET PAR makes it the level's par.");
    else
        hint->setText("Escape closes.");
}

SolvePanel::Action SolvePanel::Update() {
    if (Searching()) {
        SearchConditions conditions;
        ++slices;
        if (search->Run(slice))
            Finish();
    }
    Action action = Action::None;
    if (KeyPressed(kEscapeKey)) {
        if (Searching()) {
            search->Stop();
            Finish();
        } else {
            action = Action::Close;
        }
    } else if (closeButton->isClicked()) {
        action = Action::Close;
    } else if (turns && (setParButton->isClicked() || KeyPressed(SDLK_RETURN) || KeyPressed(SDLK_KP_ENTER))) {
        action = Action::SetPar;
    }
    Refresh();
    return action;
}
