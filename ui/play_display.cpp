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
// The widgets belong to the widget lists, which delete them when play is left; they are
// only touched while play is the current state.
struct Display {
    TextLabel* turns = nullptr;
    // The outcome: a parchment panel in the middle with what happened and the keys on from there.
    ImageWidget* outcomePanel = nullptr;
    TextLabel* outcomeHeading = nullptr;
    // The keys on one line, or on two when the names bound are long.
    TextLabel* outcomeKeys[2] = {};
    // The plaque top left, beside the counter: the hint, the dead-end notice.
    ImageWidget* helpPlaque = nullptr;
    TextLabel* help = nullptr;
    // Over the middle of the board: the way the hint says to turn.
    ImageWidget* hintArrow = nullptr;
    int arrowAngle = 0;
    // Under the counter: the turn kept for when the board rests, or why a turn was refused.
    TextLabel* note = nullptr;
    ImageWidget* noteStrip = nullptr;
    std::uint32_t refusalsSeen = 0;
    std::uint32_t refusalShownSince = 0;
    bool refusalShown = false;
} shown;
std::int32_t par = 0;
constexpr std::uint32_t kRefusalMs = 1500;
constexpr int kNoteX = 384, kNoteY = 48, kNoteWidth = 256, kNoteHeight = 24;

constexpr SDL_Color kInk{135, 0, 0, 0};
constexpr SDL_Color kDarkInk{92, 24, 16, 0};
// Widgets not shown stand off the screen.
constexpr int kAway = -2000;
// The picture holds the sheet's shadow beyond the sheet.
constexpr int kOutcomeW = 440, kOutcomeH = 176, kSheetW = 430, kSheetH = 164;
constexpr int kOutcomeX = (World::kScreenWidth - kSheetW) / 2, kOutcomeY = (World::kScreenHeight - kSheetH) / 2;
// Below the rule, down to the sheet's inner border, the keys' line or lines stand in the middle.
constexpr int kKeysTop = 72, kKeysBottom = kSheetH - 12;
constexpr int kKeysX = kOutcomeX + 24, kKeysW = kSheetW - 48;
constexpr int kPlaqueX = 6, kPlaqueW = 372;
constexpr int kArrowSize = 128;
// The middle of the board's squares: 17 columns from x 12, 12 rows from y 48, 36 pixels each.
constexpr int kArrowX = 12 + 17 * 36 / 2 - kArrowSize / 2, kArrowY = 48 + 12 * 36 / 2 - kArrowSize / 2;

bool DisplayLive() { return CurrentState() == GameState::Play && shown.turns != nullptr; }

std::string BoundKey(const std::string& action) { return KeyCaption(BindingKey(action)); }

// The key's name as a word in a sentence: "Backspace", "Right shift".
std::string BoundKeyWord(const std::string& action) {
    std::string name = BoundKey(action);
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

struct Outcome {
    std::string heading, keys;
};

// What the player reads over the board once the level is over: what happened and the
// keys that go on from there, as bound now.
Outcome OutcomeOf(const PlaySession& play) {
    switch (play.world.levelStatus) {
    case LevelStatus::Complete:
        return {"Level complete!", "Press " + BoundKey("Action 1") + " to continue."};
    case LevelStatus::Failed: {
        std::string keys = "Press " + BoundKey("Restart") + " to restart";
        if (play.UndoableTurns() > 0)
            keys += " or " + BoundKey("Undo") + " to undo";
        return {"Level lost!", keys + "."};
    }
    default:
        return {};
    }
}

std::string DeadEndNotice(const PlaySession& play) {
    if (play.UndoableTurns() > 0)
        return "No way on from here: " + BoundKeyWord("Undo") + " undoes a turn";
    if (play.turns > 0)
        return "No way on from here: " + BoundKeyWord("Restart") + " restarts the level";
    return "No way on from here: this level can't be won";
}

std::string Turns(std::size_t n) { return std::to_string(n) + (n == 1 ? " turn" : " turns"); }

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The note under the counter: the refusal for a moment after it came, else the kept turn.
std::string NoteText(const PlaySession& play) {
    if (play.refusals != shown.refusalsSeen) {
        shown.refusalsSeen = play.refusals;
        shown.refusalShownSince = CurrentTicks();
        shown.refusalShown = true;
    }
    if (shown.refusalShown && CurrentTicks() - shown.refusalShownSince >= kRefusalMs)
        shown.refusalShown = false;
    if (shown.refusalShown && play.refusedMove)
        return "NOTHING CAN MOVE " + Upper(MoveName(*play.refusedMove));
    if (play.bufferedMove)
        return "NEXT: " + Upper(MoveName(*play.bufferedMove));
    return "";
}

// The plaque's line: the hint asked for, the dead end found without asking, or after a
// helped completion why it earns no gold mark.
std::string HelpText(const PlaySession& play) {
    if (play.world.levelStatus == LevelStatus::Complete)
        return play.hintUsed ? "A hint helped: no gold mark this time" : "";
    if (play.world.levelStatus != LevelStatus::Playing)
        return "";
    const WayOn* known = play.ways.Known();
    if (play.hintAsked) {
        const WayOn* hint = play.Hint();
        if (hint == nullptr)
            return "Looking for a way to win...";
        switch (hint->kind) {
        case WayOn::Kind::Winnable:
            return "Hint: " + Upper(MoveName(hint->moves.front())) + ", " + Turns(hint->moves.size()) + " to win";
        case WayOn::Kind::DeadEnd:
            return DeadEndNotice(play);
        case WayOn::Kind::OutOfTime:
            return "No hint: the search ran out of time";
        case WayOn::Kind::TooDeep:
            return "No hint: no win within " + Turns(static_cast<std::size_t>(play.ways.Limits().maxTurns));
        case WayOn::Kind::Restless:
            return "No hint: some turns here never come to rest";
        }
    }
    if (known != nullptr && known->kind == WayOn::Kind::DeadEnd)
        return DeadEndNotice(play);
    return "";
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

ImageWidget* Picture(const char* path, int w, int h, int depth) {
    return addImageWidget(std::make_unique<ImageWidget>(Image(path, 1, 0, w, h), kAway, kAway, depth));
}

void ShowOutcome(const PlaySession& play) {
    const Outcome outcome = BoxOpen() ? Outcome{} : OutcomeOf(play);
    shown.outcomeHeading->setText(outcome.heading);
    // Too long for one line, the keys break before their second choice, not wherever the
    // width runs out.
    TextLabel* const* keys = shown.outcomeKeys;
    keys[0]->setText(outcome.keys);
    keys[1]->setText("");
    const std::size_t second = outcome.keys.find(" or ");
    if (keys[0]->getSurface() && keys[0]->getSurface()->w > kKeysW && second != std::string::npos) {
        keys[0]->setText(outcome.keys.substr(0, second));
        keys[1]->setText(outcome.keys.substr(second + 1));
    }
    if (const SDL_Surface* line = keys[0]->getSurface()) {
        const int lines = keys[1]->getSurface() ? 2 : 1;
        const int top = kOutcomeY + kKeysTop + (kKeysBottom - kKeysTop - lines * line->h) / 2;
        keys[0]->setPosition(kKeysX, top);
        keys[1]->setPosition(kKeysX, top + line->h);
    }
    const bool up = !outcome.heading.empty();
    shown.outcomePanel->x = up ? kOutcomeX : kAway;
    shown.outcomePanel->y = up ? kOutcomeY : kAway;
}

void ShowHelp(const PlaySession& play) {
    const std::string text = BoxOpen() ? "" : HelpText(play);
    shown.help->setText(text);
    shown.helpPlaque->x = text.empty() ? kAway : kPlaqueX;
    shown.helpPlaque->y = text.empty() ? kAway : 0;

    const WayOn* hint = BoxOpen() ? nullptr : play.Hint();
    const bool arrow = hint && hint->kind == WayOn::Kind::Winnable && play.world.levelStatus == LevelStatus::Playing;
    if (arrow) {
        const int angle = MoveDirection(hint->moves.front());
        if (angle != shown.arrowAngle) {
            // A picture turns the other way round from a direction of fall: 90 is down, but
            // a picture turned by 90 points up.
            shown.hintArrow->getImage().SetAngle((360 - angle) % 360);
            shown.arrowAngle = angle;
        }
    }
    shown.hintArrow->x = arrow ? kArrowX : kAway;
    shown.hintArrow->y = arrow ? kArrowY : kAway;
}
}  // namespace

void PlayDisplayEntry(const PlaySession& play) {
    addImageWidget(std::make_unique<ImageWidget>(Image("GUI/Counter.png", 1, 0, 256, 48), 384, 0, -990000));
    shown.turns = Label(389, -5, 28, kInk, 252);

    shown.helpPlaque = Picture("GUI/HintPlaque.png", kPlaqueW, 48, -990000);
    shown.help = Label(kPlaqueX + 40, 4, 22, kDarkInk, kPlaqueW - 56);
    // Drawn pointing right; turned to the hint's way when shown.
    shown.hintArrow = Picture("GUI/HintArrow.png", kArrowSize, kArrowSize, -990001);
    shown.arrowAngle = 0;

    shown.outcomePanel = Picture("GUI/OutcomePanel.png", kOutcomeW, kOutcomeH, -990010);
    shown.outcomeHeading = Label(kOutcomeX, kOutcomeY + 8, 44, kInk, kSheetW);
    shown.outcomeHeading->setDepth(-990015);
    for (TextLabel*& keys : shown.outcomeKeys) {
        keys = Label(kKeysX, kOutcomeY + kKeysTop, 26, kDarkInk, kKeysW);
        keys->setDepth(-990015);
    }
    shown.noteStrip = addImageWidget(std::make_unique<ImageWidget>(
        TranslucentRect(kNoteWidth, kNoteHeight, SDL_Color{30, 12, 8, 0}, 150), -kNoteWidth, kNoteY, -990001));
    shown.note = Label(kNoteX, kNoteY + 1, 18, SDL_Color{255, 214, 90, 0}, kNoteWidth);
    shown.refusalsSeen = play.refusals;
    shown.refusalShown = false;

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
    shown.turns->setText(text + " TURNS");
    shown.note->setText(NoteText(play));
    // The strip stands under the note only while there is one.
    shown.noteStrip->x = shown.note->getText().empty() ? -kNoteWidth : kNoteX;
}

void PlayDisplayUpdate(const PlaySession& play) {
    if (!DisplayLive())
        return;
    ShowOutcome(play);
    ShowHelp(play);
}

void PlayDisplayExit() { shown = Display{}; }

std::string TurnCounterText() { return DisplayLive() ? shown.turns->getText() : std::string(); }

std::string CompletionMessageText() {
    if (!DisplayLive() || shown.outcomeHeading->getText().empty())
        return "";
    std::string text = shown.outcomeHeading->getText() + " " + shown.outcomeKeys[0]->getText();
    if (!shown.outcomeKeys[1]->getText().empty())
        text += " " + shown.outcomeKeys[1]->getText();
    return text;
}

std::string TurnNoteText() { return DisplayLive() ? shown.note->getText() : std::string(); }

std::string HelpPlaqueText() { return DisplayLive() ? shown.help->getText() : std::string(); }

std::optional<Move> HintArrowShown() {
    if (!DisplayLive() || shown.hintArrow->x == kAway)
        return std::nullopt;
    for (Move move : kMoveOrder)
        if (MoveDirection(move) == shown.arrowAngle)
            return move;
    return std::nullopt;
}
