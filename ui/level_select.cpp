#include "ui/level_select.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "app/game_state.h"
#include "audio/cues.h"
#include "play/play.h"
#include "app/input.h"
#include "content/registry.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "play/save_data.h"
#include "ui/menu_parts.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"

namespace {
constexpr std::size_t kNameLimit = 39;
constexpr SDL_Color kNumberColour{200, 0, 0, 0};

constexpr int kPlayButton = 25;
constexpr int kCustomLevelsButton = 26;
constexpr int kCreditsButton = 27;

LevelTable levelTable;
int selectedLevel = 0;
// Until the first visit places it, the selection waits for the first level still to play.
bool selectionPlaced = false;

struct Panel {
    TextLabel* name = nullptr;
    TextLabel* status = nullptr;
    TextLabel* turns = nullptr;
    ImageWidget* frame = nullptr;
    // Swapped at every selection: taken back out of the list and deleted here.
    ImageWidget* preview = nullptr;
} panel;

int CellX(int slot) { return 20 + 71 * (slot % 5); }
int CellY(int slot) { return 124 + 71 * (slot / 5); }

bool IsOpen(int slot) { return slot == 0 || IsCompleted(levelTable[static_cast<std::size_t>(slot - 1)]) != 0; }

// A slot naming a level no loaded module defines is shown unavailable and never played.
bool Playable(int slot) {
    const std::string& level = levelTable[static_cast<std::size_t>(slot)];
    return !level.empty() && Registry().Find(level, "Level") != nullptr;
}

// Only a level some module defines is ever started from here.
bool CanStart(const PlaySession& play) { return Registry().Find(play.levelName, "Level") != nullptr; }

// The level's par and the player's best, each named; a level never finished has no best.
std::string TurnsText(int best, int par) {
    std::string text;
    if (best > 0)
        text = "BEST " + std::to_string(best);
    if (par > 0)
        text += (text.empty() ? "" : "  ") + std::string("PAR ") + std::to_string(par);
    return text;
}

void ShowPreview(const std::string& level) {
    if (panel.preview) {
        removeImageWidget(panel.preview);
        panel.preview = nullptr;
    }
    std::string path = Registry().LevelPreviewPath(level);
    if (path.empty())
        return;
    // A broken preview picture shows none, and says so, rather than ending the game.
    try {
        panel.preview = addImageWidget(std::make_unique<ImageWidget>(Image(path, 1, 0, 210, 158), 405, 71, -5));
    } catch (const platform::GameError& e) {
        platform::Notify("No preview for \"" + level + "\": " + e.Message());
    }
}

// Completed, but never without a hint: the best turns of the save data are still none.
bool HelpedOnly(const std::string& level) { return IsCompleted(level) && BestTurns(level) == 0 && HintedBestTurns(level) != 0; }

bool Select(PlaySession& play, int slot) {
    slot = std::clamp(slot, 0, kLevelSlots - 1);
    while (slot >= 0 && !Playable(slot))
        --slot;
    if (slot < 0 || !IsOpen(slot))
        return false;
    const std::string& level = levelTable[static_cast<std::size_t>(slot)];
    selectedLevel = slot;
    play.levelName = level;
    panel.frame->x = 16 + 71 * (slot % 5);
    panel.frame->y = 120 + 71 * (slot / 5);
    panel.name->setText(menu::ShortName(level));
    ShowPreview(level);
    // A level done only with a hint's help says so, and shows its best with help.
    const bool helpedOnly = HelpedOnly(level);
    panel.status->setText(helpedOnly ? "DONE WITH A HINT" : IsCompleted(level) ? "COMPLETE" : "INCOMPLETE");
    panel.turns->setText(TurnsText(helpedOnly ? HintedBestTurns(level) : BestTurns(level), Registry().LevelTurnsPar(level)));
    return true;
}

// The first open level not yet completed; the last open one when all are done.
int FirstToPlay() {
    int lastOpen = 0;
    for (int slot = 0; slot < kListedSlots; ++slot) {
        const std::string& level = levelTable[static_cast<std::size_t>(slot)];
        if (!Playable(slot) || !IsOpen(slot))
            continue;
        if (!IsCompleted(level))
            return slot;
        lastOpen = slot;
    }
    return lastOpen;
}

// A listed level starts only from an open slot; one the list does not name was set by
// other means and plays as before.
bool MayStart(const std::string& level) {
    bool listed = false;
    for (int slot = 0; slot < kListedSlots; ++slot) {
        if (levelTable[static_cast<std::size_t>(slot)] != level)
            continue;
        if (IsOpen(slot))
            return true;
        listed = true;
    }
    return !listed;
}

void StartSelected(const PlaySession& play) {
    if (MayStart(play.levelName) && CanStart(play)) {
        PlayCue(Cue::MenuChoose);
        SetState(GameState::Play);
    } else {
        PlayCue(Cue::KeyRefused);
    }
}

void AddCell(int slot) {
    const int x = CellX(slot), y = CellY(slot);
    menu::AddPictureButton("GUI/LevelSelectButton.png", x, y, 56, 56);
    const std::string& level = levelTable[static_cast<std::size_t>(slot)];
    if (!Playable(slot) || !IsOpen(slot)) {
        menu::AddPicture("GUI/Unavailable.png", -10, x, y, 56, 56);
        return;
    }
    // Open, completed, completed within par and completed only with a hint each have their
    // own look; the gold mark goes to the player's own best alone.
    const int par = Registry().LevelTurnsPar(level);
    const int best = BestTurns(level);
    if (best != 0 && best <= par)
        menu::AddPicture("GUI/LevelPar.png", -1, x, y, 56, 56);
    else if (HelpedOnly(level))
        menu::AddPicture("GUI/LevelHinted.png", -1, x, y, 56, 56);
    else if (IsCompleted(level))
        menu::AddPicture("GUI/LevelDone.png", -1, x, y, 56, 56);
    menu::AddLabel(x, y - 6, 56, true, 50, kNumberColour, -2, std::to_string(slot + 1));
}
}  // namespace

int SelectedLevel() { return selectedLevel; }
void SetSelectedLevel(int slot) {
    selectedLevel = slot;
    selectionPlaced = true;
}
void ResetLevelSelection() {
    selectedLevel = 0;
    selectionPlaced = false;
}

void ReadLevelList(const std::filesystem::path& path, LevelTable& table) {
    std::fill(table.begin(), table.begin() + kListedSlots, std::string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return;
    std::string line;
    for (int slot = 0; slot < kListedSlots && std::getline(in, line); ++slot) {
        // Lists saved on Windows end their lines with CR LF; the CR is no part of the name.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kNameLimit) {
            table[static_cast<std::size_t>(slot)] = line.substr(0, kNameLimit);
            return;
        }
        table[static_cast<std::size_t>(slot)] = line;
    }
}

void LevelSelectEntry(PlaySession& play) {
    ReadLevelList("LevelList.txt", levelTable);
    menu::AddPicture("GUI/TitleScreenBG.png", 100);
    menu::AddPicture("GUI/LevelSelectMenu.png", 50);
    menu::AddScanlines();
    for (int slot = 0; slot < kListedSlots; ++slot)
        AddCell(slot);
    // Off the screen until a level is selected.
    panel.frame = addImageWidget(std::make_unique<ImageWidget>(Image("GUI/LevelSelector.png", 1, 0, 64, 64), -100, -100, -1));
    panel.name = menu::AddLabel(391, 26, 236, true, 26, menu::kTextNormal, -1, "");
    panel.status = menu::AddLabel(404, 235, 210, true, 34, menu::kTextNormal, -1, "");
    panel.turns = menu::AddLabel(404, 282, 210, true, 34, menu::kTextNormal, -1, "");
    // Spaced to stay on the panel, selection ring included.
    menu::CentreButton(menu::AddTextButton("PLAY", 56), 509, 314);
    menu::CentreButton(menu::AddTextButton("CUSTOM LEVELS", 30), 509, 388);
    menu::CentreButton(menu::AddTextButton("CREDITS", 30), 509, 424);
    SetFocusOrder({kPlayButton, kCustomLevelsButton, kCreditsButton}, true);
    // A selection that is locked now (the data was cleared) goes back to the first level to play.
    if (!(selectionPlaced && Select(play, selectedLevel)))
        Select(play, FirstToPlay());
    selectionPlaced = true;
    menu::StartTitleMusic();
}

namespace {
void TakeInput(PlaySession& play) {
    const int b = clickedButton();
    if (b >= 0 && b < kListedSlots) {
        Select(play, b);
        SetFocusedButton(-1);
    } else if (b == kPlayButton) {
        StartSelected(play);
        return;
    } else if (b == kCustomLevelsButton) {
        SetState(GameState::CustomLevels);
        return;
    } else if (b == kCreditsButton) {
        SetState(GameState::Credits);
        return;
    }
    if (focusedButton() != -1) {
        // On the buttons beside the grid Left goes back to the grid.
        if (KeyPressed(SDLK_LEFT)) {
            SetFocusedButton(-1);
            LeaveKeysToScreen();
        }
    } else {
        if (ActionPressed("Up"))
            Select(play, selectedLevel - 5);
        const int before = selectedLevel;
        if (ActionPressed("Right") && !(Select(play, selectedLevel + 1) && selectedLevel != before)) {
            // Past the last open level, Right goes on to PLAY.
            SetFocusedButton(kPlayButton);
            LeaveKeysToScreen();
        }
        if (ActionPressed("Down"))
            Select(play, selectedLevel + 5);
        if (ActionPressed("Left"))
            Select(play, selectedLevel - 1);
        if (KeyPressed(SDLK_RETURN) || KeyPressed(SDLK_KP_ENTER)) {
            StartSelected(play);
            return;
        }
    }
    if (ActionPressed("Skip Dialog") || ActionPressed("Action 1"))
        StartSelected(play);
}
}  // namespace

void LevelSelectUpdate(PlaySession& play) {
    const int before = selectedLevel;
    const bool clicked = clickedButton() >= 0;
    TakeInput(play);
    // The frame over the grid ticks like the menus' ring when the keys move it (a click
    // chimes already).
    if (selectedLevel != before && !clicked)
        PlayCue(Cue::MenuMove);
}

void LevelSelectExit() {
    panel = Panel{};
    clearWidgets();
}

LevelPanelText LevelSelectPanel() {
    if (!panel.name)
        return {};
    return {panel.name->getText(), panel.status->getText(), panel.turns->getText(), panel.preview != nullptr,
            panel.frame->x,        panel.frame->y};
}
