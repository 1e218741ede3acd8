#include "ui/title_menu.h"

#include <memory>

#include "app/game_state.h"
#include "app/timer.h"
#include "audio/music.h"
#include "media/slideshow.h"
#include "ui/menu_parts.h"
#include "app/input.h"
#include "widgets/question.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"

namespace {
TextLabel* caption = nullptr;
Question quitQuestion;
enum { kPlay = 0, kSettings = 1, kQuit = 2 };
enum { kQuitYes = 0, kQuitNo = 1 };

void AddMenuButton(const std::string& name, int x) {
    auto button = std::make_unique<Button>(Image("GUI/MenuButton" + name + ".png", 1, 0, 150, 150), x, 137, 150, 150, 0);
    button->setHoverImage(Image("GUI/MenuButton" + name + "Selected.png", 1, 0, 150, 150));
    addButton(std::move(button));
}
}  // namespace

void TitleMenuEntry() {
    menu::AddPicture("GUI/TitleScreenBG.png", 100);
    menu::AddPicture("GUI/TitleScreenMenu.png", 75);
    menu::AddScanlines();
    AddMenuButton("Play", 85);
    AddMenuButton("Settings", 245);
    AddMenuButton("Exit", 405);
    caption = menu::AddLabel(69, 302, 502, true, 84, menu::kTextNormal, 0, "");
    SetFocusOrder({0, 1, 2});
    // Coming back from the closing pictures the title waits for them to end before its music.
    if (CurrentSongName() != "RS#TITLETRACK" && SlideshowFinished())
        PlayMusic("RS#TITLETRACK", true);
}

bool TitleMenuUpdate() {
    SetPlayPaused(false);
    if (quitQuestion.IsOpen()) {
        const int answer = quitQuestion.Answer();
        if (answer == kQuitYes)
            return false;
        if (answer == kQuitNo)
            quitQuestion.Close();
        return true;
    }
    // The ring and the caption always name the same door: the pointer moves the ring when
    // it moves, the keys when they are pressed.
    const int shown = focusedButton();
    caption->setText(shown == kPlay ? "PLAY" : shown == kSettings ? "SETTINGS" : shown == kQuit ? "QUIT" : "");
    if (clickedButton() == kPlay)
        SetState(GameState::LevelSelect);
    else if (clickedButton() == kSettings)
        SetState(GameState::SettingsMenu);
    else if (clickedButton() == kQuit || KeyPressed(kEscapeKey))
        quitQuestion.OpenGuarded("Quit Quillmere?", {"QUIT", "STAY"}, kQuitNo);
    return true;
}

void TitleMenuExit() {
    caption = nullptr;
    quitQuestion.Forget();
    clearWidgets();
}

std::string TitleMenuCaption() { return caption ? caption->getText() : std::string(); }
std::string TitleMenuQuestion() { return quitQuestion.IsOpen() ? quitQuestion.Text() : std::string(); }
