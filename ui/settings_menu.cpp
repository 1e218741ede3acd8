#include "ui/settings_menu.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "content/settings_file.h"
#include "platform/window.h"
#include "play/save_data.h"
#include "ui/menu_parts.h"
#include "widgets/question.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"

namespace {
constexpr int kRepeatMs = 100;
constexpr int kVolumeStep = 5;
enum { kClearYes = 0, kClearNo = 1 };

enum ButtonIndex {
    kClearData = 0,
    kLevelEditor = 1,
    kReturn = 2,
    kSoundDown = 3,
    kSoundUp = 4,
    kMusicDown = 5,
    kMusicUp = 6,
    kActionPrevious = 7,
    kActionNext = 8,
    kRebind = 9,
    kWindowSmaller = 10,
    kWindowLarger = 11,
};

struct SettingsScreen {
    std::vector<std::string> actionNames;
    int actionIndex = 0;  // kept across visits
    bool waitingForKey = false;
    Question clearQuestion;
    Timer repeatTimer;
    std::unique_ptr<Sound> blip;
    TextLabel* clicksLabel = nullptr;
    TextLabel* soundLabel = nullptr;
    TextLabel* musicLabel = nullptr;
    TextLabel* actionLabel = nullptr;
    TextLabel* keyLabel = nullptr;
    TextLabel* windowLabel = nullptr;
    // What the last rebinding did to another action's key.
    TextLabel* bindingNote = nullptr;
    TextButton* rebind = nullptr;
};

SettingsScreen& TheScreen() {
    static SettingsScreen screen;
    return screen;
}

void ShowAction() {
    SettingsScreen& s = TheScreen();
    if (s.actionNames.empty()) {
        s.actionLabel->setText("");
        s.keyLabel->setText("");
        return;
    }
    const std::string& action = s.actionNames[static_cast<std::size_t>(s.actionIndex)];
    s.actionLabel->setText(action);
    s.keyLabel->setText(KeyCaption(BindingKey(action)));
}

TextButton* AddColumnButton(const std::string& caption, int y) {
    TextButton* button = menu::AddTextButton(caption, 36);
    // The caption's picture has room under the letters; the hit box stops short of it.
    menu::MoveButton(button, 104, y, 4);
    return button;
}

void StepVolume(int button) {
    SettingsScreen& s = TheScreen();
    switch (button) {
    case kSoundDown:
    case kSoundUp: {
        const int volume = SoundVolume();
        if (button == kSoundDown ? volume <= 0 : volume >= 100)
            return;
        SetSoundVolume(volume + (button == kSoundDown ? -kVolumeStep : kVolumeStep));
        s.soundLabel->setText(std::to_string(SoundVolume()));
        if (s.blip)
            s.blip->Play();
        break;
    }
    case kMusicDown:
    case kMusicUp: {
        const int volume = MusicVolume();
        if (button == kMusicDown ? volume <= 0 : volume >= 100)
            return;
        SetMusicVolume(volume + (button == kMusicDown ? -kVolumeStep : kVolumeStep));
        s.musicLabel->setText(std::to_string(MusicVolume()));
        break;
    }
    default:
        return;
    }
    s.repeatTimer.Reset();
}

// The window sizes to choose from: the largest that fits (0), then each multiple offered.
std::vector<int> WindowChoices() {
    std::vector<int> choices{0};
    for (int scale : platform::OfferedWindowScales())
        choices.push_back(scale);
    return choices;
}

// A setting above what this desktop offers counts as the largest offered.
std::size_t WindowChoiceIndex(const std::vector<int>& choices) {
    const int setting = platform::WindowScaleSetting();
    auto at = std::find(choices.begin(), choices.end(), setting);
    return at != choices.end() ? static_cast<std::size_t>(at - choices.begin()) : choices.size() - 1;
}

void ShowWindowScale() {
    const int setting = platform::WindowScaleSetting();
    const int scale = platform::WindowScaleFor(setting);
    TheScreen().windowLabel->setText(setting == 0 ? "LARGEST" : std::to_string(platform::kDrawWidth * scale) + "x" +
                                                                    std::to_string(platform::kDrawHeight * scale));
}

void StepWindowScale(int step) {
    const std::vector<int> choices = WindowChoices();
    const std::size_t index = WindowChoiceIndex(choices);
    if ((step < 0 && index == 0) || (step > 0 && index + 1 >= choices.size()))
        return;
    platform::SetWindowScaleSetting(choices[step < 0 ? index - 1 : index + 1]);
    ShowWindowScale();
}

// The key goes to the shown action. An action that had it takes the shown action's old key
// in exchange, so no key ever moves two actions and none is left without one.
void Bind(const std::string& action, int key) {
    SettingsScreen& s = TheScreen();
    const int old = BindingKey(action);
    std::string note;
    for (const std::string& other : BindingNames()) {
        if (other == action || BindingKey(other) != key)
            continue;
        SetBinding(other, old);
        note += (note.empty() ? "" : " ") + KeyCaption(key) + " was the key of " + other + ", which now has " +
                KeyCaption(old) + ".";
    }
    SetBinding(action, key);
    s.bindingNote->setText(note);
}

void SetWaiting(bool waiting) {
    SettingsScreen& s = TheScreen();
    s.waitingForKey = waiting;
    s.rebind->setText(waiting ? "CANCEL" : "REBIND");
}
}  // namespace

std::string KeyCaption(int sym) {
    // SDL looks the name up in a table by symbol; a settings file can hold any number.
    if (sym < 0 || sym >= SDLK_LAST)
        return "UNKNOWN KEY";
    std::string name = SDL_GetKeyName(static_cast<SDLKey>(sym));
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void SettingsMenuEntry() {
    SettingsScreen& s = TheScreen();
    s.actionNames = BindingNames();
    if (s.actionIndex >= static_cast<int>(s.actionNames.size()))
        s.actionIndex = 0;

    menu::AddPicture("GUI/TitleScreenBG.png", 100);
    menu::AddPicture("GUI/SettingsMenu.png", 75);
    menu::AddScanlines();
    menu::AddLabel(195, 60, 250, true, 56, menu::kTextNormal, -5, "SETTINGS");
    const SDL_Rect clear = AddColumnButton("CLEAR DATA", 122)->getRect();
    // Clear of the caption and of the selection ring round it.
    s.clicksLabel = menu::AddLabel(clear.x + clear.w + 22, 132, -1, false, 24, menu::kTextNormal, -10, "");
    AddColumnButton("LEVEL EDITOR", 166);
    AddColumnButton("RETURN TO MENU", 210);
    menu::AddLabel(158, 256, 128, true, 36, menu::kTextNormal, -10, "SOUND");
    s.soundLabel = menu::AddLabel(190, 293, 64, true, 30, menu::kTextNormal, -10, std::to_string(SoundVolume()));
    menu::AddPictureButton("GUI/ButtonLeft.png", 166, 302, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 254, 302, 24, 24);
    menu::AddLabel(358, 256, 128, true, 36, menu::kTextNormal, -10, "MUSIC");
    s.musicLabel = menu::AddLabel(390, 293, 64, true, 30, menu::kTextNormal, -10, std::to_string(MusicVolume()));
    menu::AddPictureButton("GUI/ButtonLeft.png", 366, 302, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 454, 302, 24, 24);
    menu::AddLabel(112, 338, 134, true, 36, menu::kTextNormal, -10, "ACTION");
    s.actionLabel = menu::AddLabel(112, 380, 134, true, 30, menu::kTextNormal, -10, "");
    menu::AddPictureButton("GUI/ButtonLeft.png", 88, 389, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 244, 389, 24, 24);
    menu::AddLabel(268, 338, 168, true, 36, menu::kTextNormal, -10, "KEY");
    s.keyLabel = menu::AddLabel(268, 380, 168, true, 30, menu::kTextNormal, -10, "");
    s.rebind = menu::AddTextButton("REBIND", 40);
    menu::MoveButton(s.rebind, 440, 358);
    menu::AddLabel(380, 160, 172, true, 30, menu::kTextNormal, -10, "WINDOW");
    s.windowLabel = menu::AddLabel(400, 196, 132, true, 24, menu::kTextNormal, -10, "");
    menu::AddPictureButton("GUI/ButtonLeft.png", 376, 200, 24, 24);
    menu::AddPictureButton("GUI/ButtonRight.png", 532, 200, 24, 24);
    // On the panel's last strip, under the key.
    s.bindingNote = menu::AddLabel(90, 416, 460, true, 18, menu::kTextNormal, -10, "");
    // CLEAR DATA comes last, and the ring starts on the way back.
    SetFocusOrder({kLevelEditor, kReturn, kWindowSmaller, kWindowLarger, kSoundDown, kSoundUp, kMusicDown, kMusicUp,
                   kActionPrevious, kActionNext, kRebind, kClearData});
    SetFocusedButton(kReturn);
    // The arrows for the sound blip as they step; a chime on top would blur it.
    for (int arrow : {kSoundDown, kSoundUp})
        if (Button* button = buttonAt(arrow))
            button->setChimes(false);

    s.blip = std::make_unique<Sound>();
    s.blip->Load("./GUI/Blip.wav");
    menu::StartTitleMusic();
    s.repeatTimer.Reset();
    s.waitingForKey = false;
    ShowAction();
    ShowWindowScale();
}

void SettingsMenuUpdate() {
    SettingsScreen& s = TheScreen();
    if (s.clearQuestion.IsOpen()) {
        const int answer = s.clearQuestion.Answer();
        if (answer == kClearYes) {
            ClearSaveData();
            s.clicksLabel->setText("Data cleared!");
        }
        if (answer >= 0)
            s.clearQuestion.Close();
        return;
    }
    // While REBIND waits, the next key is the binding and nothing else; Escape cancels.
    const bool keysTaken = s.waitingForKey;
    if (clickedButton() == kClearData)
        s.clearQuestion.OpenGuarded("Forget all progress?", {"FORGET", "KEEP"}, kClearNo);
    if (clickedButton() == kLevelEditor) {
        SetState(GameState::LevelEditor);
        return;
    }
    // An arrow steps once as it goes down, then again every tenth of a second while held.
    const int pushed = pushedButton();
    const int held = pressedButton();
    if (pushed >= kSoundDown && pushed <= kMusicUp)
        StepVolume(pushed);
    else if (held >= kSoundDown && held <= kMusicUp && s.repeatTimer.Elapsed() > kRepeatMs)
        StepVolume(held);

    if (clickedButton() == kWindowSmaller)
        StepWindowScale(-1);
    else if (clickedButton() == kWindowLarger)
        StepWindowScale(1);

    const int count = static_cast<int>(s.actionNames.size());
    if (count > 0 && clickedButton() == kActionPrevious) {
        s.actionIndex = (s.actionIndex - 1 + count) % count;
        ShowAction();
    } else if (count > 0 && clickedButton() == kActionNext) {
        s.actionIndex = (s.actionIndex + 1) % count;
        ShowAction();
    }
    bool cancelled = false;
    if (s.waitingForKey) {
        const int key = FirstKeyDown();
        if (key == kEscapeKey) {
            ShowAction();
            SetWaiting(false);
            cancelled = true;
        } else if (key != -1 && key != 0 && count > 0) {
            Bind(s.actionNames[static_cast<std::size_t>(s.actionIndex)], key);
            ShowAction();
            SetWaiting(false);
        }
    }
    if (clickedButton() == kRebind) {
        if (!s.waitingForKey) {
            s.keyLabel->setText("Press a key.");
            s.bindingNote->setText("");
            SetWaiting(true);
        } else {
            ShowAction();
            SetWaiting(false);
        }
    }
    if (keysTaken || s.waitingForKey)
        LeaveKeysToScreen();
    if ((KeyPressed(kEscapeKey) && !keysTaken && !cancelled) || clickedButton() == kReturn)
        SetState(GameState::TitleMenu);
}

void SettingsMenuExit() {
    SettingsScreen& s = TheScreen();
    s.clicksLabel = s.soundLabel = s.musicLabel = s.actionLabel = s.keyLabel = s.windowLabel = s.bindingNote = nullptr;
    s.clearQuestion.Forget();
    s.rebind = nullptr;
    clearWidgets();
    SaveSettings();
    s.blip.reset();
}

SettingsMenuText SettingsMenuView() {
    const SettingsScreen& s = TheScreen();
    if (!s.clicksLabel)
        return {};
    return {s.clicksLabel->getText(), s.soundLabel->getText(),  s.musicLabel->getText(),
            s.actionLabel->getText(), s.keyLabel->getText(),    s.rebind->getText(),
            s.windowLabel->getText(), s.bindingNote->getText(), s.clearQuestion.Text()};
}
