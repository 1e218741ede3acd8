#include "dialog/dialog_box.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "dialog/dialogs.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"
#include "world/world.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
// The box stands along the bottom edge, or along the top one when down there it would hide
// the pieces of the board.
constexpr int kBoxBottomY = 320, kBoxTopY = 0;
constexpr int kBoxW = 640, kBoxH = 160;
// The flag window stands at this offset from the box's left edge. Hidden, it lies 5 pixels
// inside the box's edge; raised, it stands out beyond that edge by all but 4 of its pixels.
constexpr int kFlagWindowX = 485, kFlagWindowW = 150, kFlagWindowH = 110;
constexpr double kFlagRaise = kFlagWindowH + 1;

struct DialogBoxState {
    std::unique_ptr<ImageWidget> box, flagWindow, turnOn, continueArrow, flagStatic, iconStatic;
    std::unique_ptr<ImageWidget> speaker, flagPicture;
    std::unique_ptr<TextLabel> text;
    bool boxOpen = false;
    bool slideDone = true;
    double boxX = -640;
    bool atTop = false;
    double flagRaise = 0;  // 0 hidden behind the box, kFlagRaise fully out
    bool flagSettled = true;
    std::string fullText, shownText;
    std::string speakerPath, flagPath;
    Timer slideTimer, typeTimer, iconStaticTimer, flagStaticTimer;
};

DialogBoxState& TheBox() {
    static DialogBoxState state;
    return state;
}

int BoxY(const DialogBoxState& b) { return b.atTop ? kBoxTopY : kBoxBottomY; }

// The flag window's top edge: it comes out of the box's inner edge, upwards from the bottom
// box and downwards from the top one.
int FlagY(bool atTop, double raise) {
    const int hidden = atTop ? kBoxTopY + kBoxH - kFlagWindowH - 5 : kBoxBottomY + 5;
    return static_cast<int>(atTop ? hidden + raise : hidden - raise);
}

std::unique_ptr<ImageWidget> Widget(const char* path, int frames, int delay, int w, int h, int x, int y, int depth) {
    return std::make_unique<ImageWidget>(Image(path, frames, delay, w, h), x, y, depth);
}

void Draw(ImageWidget* widget, int x, int y) {
    if (widget == nullptr)
        return;
    widget->x = x;
    widget->y = y;
    widget->update();
}

void SetTurnOnFrame(Image& image, int frame, int delay, bool backwards) {
    image.frameDelay = delay;
    image.reverse = backwards;
    // Running backwards from one past the end shows the last frame first.
    image.framePosition = frame;
    image.frame = std::min(frame, image.frameCount - 1);
}

void ReplacePicture(std::unique_ptr<ImageWidget>& widget, std::string& path, const Image& picture, int depth) {
    int x = widget ? widget->x : -640, y = widget ? widget->y : 0;
    widget = std::make_unique<ImageWidget>(picture, x, y, depth);
    path = picture.name;
}

}  // namespace

void CreateDialogBox() {
    DialogBoxState& b = TheBox();
    b.box = Widget("./GUI/DialogBox.png", 1, 0, kBoxW, kBoxH, -640, kBoxBottomY, -999900);
    b.flagWindow = Widget("./GUI/DialogFlagWindow.png", 1, 0, kFlagWindowW, kFlagWindowH, -640, kBoxBottomY, -77777);
    b.turnOn = Widget("./GUI/DialogIcons/TurnOn.png", 3, 0, 140, 140, -640, 0, -999999);
    b.turnOn->getImage().loop = false;
    b.continueArrow = Widget("./GUI/DialogContinue.png", 2, 100, 18, 18, -640, kBoxBottomY, -999999);
    b.flagStatic = Widget("./GUI/DialogIcons/FlagStatic.png", 5, 5, 140, 100, -640, kBoxBottomY, -88888);
    b.iconStatic = Widget("./GUI/DialogIcons/IconStatic.png", 5, 5, 140, 140, -640, kBoxBottomY, -999999);
    b.text = std::make_unique<TextLabel>();
    b.text->setFont(InterfaceFontPath(), 24);
    b.text->setColour(SDL_Color{95, 0, 0, 0});
    b.text->setBoxWidth(459);
    b.text->setWrap(true);
    b.text->setCentred(false);
    b.text->setDepth(-999999);
    b.text->setPosition(-640, 28);
    b.slideTimer.Reset();
}

void FreeDialogBox() {
    ResetDialogBox();
    DialogBoxState& b = TheBox();
    b.box.reset();
    b.flagWindow.reset();
    b.turnOn.reset();
    b.continueArrow.reset();
    b.flagStatic.reset();
    b.iconStatic.reset();
    b.text.reset();
}

void OpenBox() {
    DialogBoxState& b = TheBox();
    if (b.boxOpen)
        return;
    b.boxOpen = true;
    b.slideTimer.Reset();
    b.slideDone = false;
    if (b.turnOn)
        SetTurnOnFrame(b.turnOn->getImage(), 0, 0, false);
    b.flagSettled = false;
}

void CloseBox() {
    DialogBoxState& b = TheBox();
    if (!b.boxOpen)
        return;
    b.boxOpen = false;
    b.slideTimer.Reset();
    b.slideDone = false;
    if (b.turnOn)
        SetTurnOnFrame(b.turnOn->getImage(), 3, 5, true);
    if (b.text)
        b.text->setText("");
    b.flagSettled = false;
    SetPlayPaused(false);
}

void SkipDialog() {
    DialogBoxState& b = TheBox();
    CloseBox();
    b.flagRaise = 0;
    b.boxX = -320;
    b.flagSettled = true;
    b.boxOpen = false;
    RemoveCurrentDialog();
    SetPlayPaused(false);
}

void ResetDialogBox() {
    DialogBoxState& b = TheBox();
    // A box put away while it was up no longer pauses play.
    if (CurrentDialog() != -1 || b.boxOpen)
        SetPlayPaused(false);
    DeleteAllDialogs();
    b.slideDone = true;
    b.boxOpen = false;
    b.boxX = -640;
    b.flagSettled = true;
    b.flagRaise = 0;
    b.speaker.reset();
    b.flagPicture.reset();
    b.speakerPath.clear();
    b.flagPath.clear();
    b.fullText.clear();
    b.shownText.clear();
    if (b.text)
        b.text->setText("");
    b.slideTimer.Reset();
    b.typeTimer.Reset();
}

void SetSpeakerPicture(const Image& picture) {
    DialogBoxState& b = TheBox();
    // A new face comes through the static, as a changed channel would.
    if (b.speaker && b.speakerPath != picture.name)
        b.iconStaticTimer.Reset();
    ReplacePicture(b.speaker, b.speakerPath, picture, -999999);
}

void SetFlagPicture(const Image& picture) {
    DialogBoxState& b = TheBox();
    if (b.flagPicture && b.flagPath != picture.name)
        b.flagStaticTimer.Reset();
    ReplacePicture(b.flagPicture, b.flagPath, picture, -88888);
}

void SetText(const std::string& text) {
    DialogBoxState& b = TheBox();
    b.fullText = text;
    b.shownText.clear();
}

const std::string& SpeakerPicturePath() { return TheBox().speakerPath; }
ScreenArea OpenBoxArea(bool atTop) { return {0, atTop ? kBoxTopY : kBoxBottomY, kBoxW, kBoxH}; }
ScreenArea RaisedFlagArea(bool atTop) { return {kFlagWindowX, FlagY(atTop, kFlagRaise), kFlagWindowW, kFlagWindowH}; }

bool BoxAtTop() { return TheBox().atTop; }

namespace {
std::int64_t OverlapArea(const ::Box& b, const ScreenArea& a) {
    const std::int64_t w = std::min<std::int64_t>(b.left + b.width, a.x + a.w) - std::max<std::int64_t>(b.left, a.x);
    const std::int64_t h = std::min<std::int64_t>(b.top + b.height, a.y + a.h) - std::max<std::int64_t>(b.top, a.y);
    return w > 0 && h > 0 ? w * h : 0;
}
}  // namespace

std::vector<const Entity*> PiecesUnderBox(const World& world, bool atTop) {
    std::vector<const Entity*> hidden;
    const ScreenArea box = OpenBoxArea(atTop), flag = RaisedFlagArea(atTop);
    const ScreenArea both{std::max(box.x, flag.x), std::max(box.y, flag.y),
                          std::min(box.x + box.w, flag.x + flag.w) - std::max(box.x, flag.x),
                          std::min(box.y + box.h, flag.y + flag.h) - std::max(box.y, flag.y)};
    for (int i = 0; i < world.Count(); ++i) {
        const Entity& e = *world.Get(i);
        if (!e.IsPhysical() || (e.pinned && !e.IsExit()))
            continue;
        // Half a piece behind the box is more than a player can read it by.
        const ::Box b = e.CurrentBox();
        const std::int64_t covered = OverlapArea(b, box) + OverlapArea(b, flag) - OverlapArea(b, both);
        if (2 * covered > b.width * b.height)
            hidden.push_back(&e);
    }
    return hidden;
}

bool BoxBelongsAtTop(const World& world) {
    const std::size_t below = PiecesUnderBox(world, false).size();
    return below > 0 && PiecesUnderBox(world, true).size() < below;
}

void PlaceBoxAtTop(bool atTop) {
    DialogBoxState& b = TheBox();
    // Never in mid-slide: the box changes edges only while it is wholly off the screen.
    if (!b.boxOpen && b.boxX <= -kBoxW)
        b.atTop = atTop;
}

bool BoxOpen() { return TheBox().boxOpen; }
bool SlideDone() { return TheBox().slideDone; }
double BoxX() { return TheBox().boxX; }
const std::string& ShownText() { return TheBox().shownText; }
const std::string& FullText() { return TheBox().fullText; }

void UpdateDialogBox() {
    DialogBoxState& b = TheBox();
    if (CurrentDialog() == -1 || !b.box)
        return;
    SetPlayPaused(true);
    bool anyKey = ActionPressed("anykey");

    if (ActionPressed("Skip Dialog") || KeyPressed(kEscapeKey)) {
        SkipDialog();
    } else {
        if (!b.slideDone) {
            double t = b.slideTimer.Elapsed() / 300.0 - 1.59;
            if (anyKey) {
                t = kHalfPi;
                b.flagRaise = b.boxOpen ? kFlagRaise : 0;
                b.flagSettled = true;
            }
            if (t >= kHalfPi) {
                t = kHalfPi;
                b.slideDone = true;
                SetTurnOnFrame(b.turnOn->getImage(), 0, 5, false);
                b.typeTimer.Reset();
                if (!b.boxOpen) {
                    RemoveCurrentDialog();
                    SetPlayPaused(false);
                }
            }
            if (!b.boxOpen) {
                // The flag sinks behind the box first, then the box slides out.
                if (b.flagRaise >= 1) {
                    b.flagRaise -= 5 * TimerStep();
                } else if (!b.flagSettled) {
                    b.flagRaise = 0;
                    b.flagSettled = true;
                    b.slideTimer.Reset();
                }
                if (b.flagSettled)
                    b.boxX = -320 * std::sin(t) - 320;
            } else {
                b.boxX = 320 * std::sin(t) - 320;
            }
        }
        const int boxX = static_cast<int>(std::floor(b.boxX));
        const int boxY = BoxY(b);
        const int screenX = boxX + 490, screenY = boxY + 10;

        Image& turnOn = b.turnOn->getImage();
        if (!(turnOn.frame == 2 && b.slideDone)) {
            int before = turnOn.frame;
            Draw(b.turnOn.get(), screenX, screenY);
            if (before != 2 && turnOn.frame == 2) {
                b.iconStaticTimer.Reset();
                b.flagStaticTimer.Reset();
            }
        } else {
            if (b.iconStaticTimer.Elapsed() <= 400)
                Draw(b.iconStatic.get(), screenX, screenY);
            else
                Draw(b.speaker.get(), screenX, screenY);
            b.text->setPosition(boxX + 14, boxY + 11);
            b.text->draw();
            if (b.shownText != b.fullText) {
                if (b.typeTimer.Elapsed() > 30 && b.shownText.size() < b.fullText.size()) {
                    b.shownText.push_back(b.fullText[b.shownText.size()]);
                    b.typeTimer.Reset();
                }
                if (anyKey)
                    b.shownText = b.fullText;
                b.text->setText(b.shownText);
            } else {
                Draw(b.continueArrow.get(), boxX + 458, boxY + 130);
                if (anyKey)
                    NextMessage();
            }
            if (b.boxOpen && !b.flagSettled) {
                if (b.flagRaise < kFlagRaise)
                    b.flagRaise += 5 * TimerStep();
                if (b.flagRaise >= kFlagRaise) {
                    b.flagRaise = kFlagRaise;
                    b.flagSettled = true;
                }
            }
        }
        Draw(b.box.get(), boxX, boxY);
        const int flagX = boxX + kFlagWindowX, flagY = FlagY(b.atTop, b.flagRaise);
        Draw(b.flagWindow.get(), flagX, flagY);
        if (b.flagPicture) {
            if (b.flagStaticTimer.Elapsed() <= 400)
                Draw(b.flagStatic.get(), flagX + 5, flagY + 5);
            else
                Draw(b.flagPicture.get(), flagX + 5, flagY + 5);
        }
    }
    if (!ActionPressed("Restart"))
        ConsumeEvents();
}
