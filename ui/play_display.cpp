#include "ui/play_display.h"

#include <cctype>
#include <memory>
#include <string>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "play/play.h"
#include "content/registry.h"
#include "dialog/dialog_box.h"
#include "ui/settings_menu.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {
// Both labels belong to the widget lists, which delete them when play is left; they are
// only touched while play is the current state.
TextLabel* turnLabel = nullptr;
TextLabel* messageLabel = nullptr;
// Under the counter: the turn kept for when the board rests, or why a turn was refused.
TextLabel* noteLabel = nullptr;
ImageWidget* noteStrip = nullptr;
std::int32_t par = 0;
std::uint32_t refusalsSeen = 0;
std::uint32_t refusalShownSince = 0;
bool refusalShown = false;
constexpr int kMessageY = 220;
constexpr int kLostBox = 420;
constexpr std::uint32_t kRefusalMs = 1500;
constexpr int kNoteX = 384, kNoteY = 48, kNoteWidth = 256, kNoteHeight = 24;

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The note under the counter: the refusal for a moment after it came, else the kept turn.
std::string NoteText(const PlaySession& play) {
    if (play.refusals != refusalsSeen) {
        refusalsSeen = play.refusals;
        refusalShownSince = CurrentTicks();
        refusalShown = true;
    }
    if (refusalShown && CurrentTicks() - refusalShownSince >= kRefusalMs)
        refusalShown = false;
    if (refusalShown && play.refusedMove)
        return "NOTHING CAN MOVE " + Upper(MoveName(*play.refusedMove));
    if (play.bufferedMove)
        return "NEXT: " + Upper(MoveName(*play.bufferedMove));
    return "";
}

bool DisplayLive() { return CurrentState() == GameState::Play && turnLabel != nullptr; }

std::string BoundKey(const std::string& action) { return KeyCaption(BindingKey(action)); }

// What the player reads over the board once the level is over: what happened and the
// key that goes on from there, as bound now.
std::string OutcomeMessage(const PlaySession& play) {
    switch (play.world.levelStatus) {
    case LevelStatus::Complete:
        return "Level complete! Press " + BoundKey("Action 1") + " to continue.";
    case LevelStatus::Failed: {
        std::string text = "Level lost! Press " + BoundKey("Restart") + " to restart";
        if (play.UndoableTurns() > 0)
            text += " or " + BoundKey("Undo") + " to undo";
        return text + ".";
    }
    default:
        return "";
    }
}

TextLabel* Label(int x, int y, int size, SDL_Color colour, int box) {
    auto label = std::make_unique<TextLabel>();
    label->setFont(InterfaceFontPath(), size);
    label->setColour(colour);
    label->setBoxWidth(box);
    label->setCentred(true);
    label->setDepth(-990005);
    label->setPosition(x, y);
    return addLabel(std::move(label));
}
}  // namespace

void PlayDisplayEntry(const PlaySession& play) {
    addImageWidget(std::make_unique<ImageWidget>(Image("GUI/Counter.png", 1, 0, 256, 48), 384, 0, -990000));
    turnLabel = Label(389, -5, 28, SDL_Color{135, 0, 0, 0}, 252);
    messageLabel = Label(0, kMessageY, 38, SDL_Color{110, 0, 0, 0}, 640);
    noteStrip = addImageWidget(std::make_unique<ImageWidget>(
        TranslucentRect(kNoteWidth, kNoteHeight, SDL_Color{30, 12, 8, 0}, 150), -kNoteWidth, kNoteY, -990001));
    noteLabel = Label(kNoteX, kNoteY + 1, 18, SDL_Color{255, 214, 90, 0}, kNoteWidth);
    refusalsSeen = play.refusals;
    refusalShown = false;
    // The interface font is too wide for the whole line at this size: it goes on two.
    messageLabel->setWrap(true);
    const std::string& level = play.levelName;
    par = Registry().Find(level, "Level") ? Registry().LevelTurnsPar(level) : 0;
    RefreshTurnCounter(play);
}

void RefreshTurnCounter(const PlaySession& play) {
    if (!DisplayLive())
        return;
    std::string text = std::to_string(play.turns);
    if (par != 0)
        text += "/" + std::to_string(par);
    turnLabel->setText(text + " TURNS");
    noteLabel->setText(NoteText(play));
    // The strip stands under the note only while there is one.
    noteStrip->x = noteLabel->getText().empty() ? -kNoteWidth : kNoteX;
}

void PlayDisplayUpdate(const PlaySession& play) {
    if (!DisplayLive())
        return;
    // The longer lost line goes in a narrower box, so it breaks into two even lines
    // instead of running from edge to edge.
    const bool lost = play.world.levelStatus == LevelStatus::Failed;
    messageLabel->setBoxWidth(lost ? kLostBox : World::kScreenWidth);
    messageLabel->setPosition(lost ? (World::kScreenWidth - kLostBox) / 2 : 0, kMessageY);
    messageLabel->setText(BoxOpen() ? "" : OutcomeMessage(play));
}

std::string TurnCounterText() { return DisplayLive() ? turnLabel->getText() : std::string(); }
std::string CompletionMessageText() { return DisplayLive() ? messageLabel->getText() : std::string(); }
std::string TurnNoteText() { return DisplayLive() ? noteLabel->getText() : std::string(); }
