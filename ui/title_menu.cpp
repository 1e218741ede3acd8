#include "ui/title_menu.h"

#include <memory>

#include "app/game_state.h"
#include "app/timer.h"
#include "audio/music.h"
#include "media/slideshow.h"
#include "ui/menu_parts.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/image.h"

namespace {
TextLabel* caption = nullptr;

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

void TitleMenuUpdate() {
    SetPlayPaused(false);
    // The button under the mouse, else the one the keys have selected.
    const int shown = hoveredButton() >= 0 ? hoveredButton() : focusedButton();
    caption->setText(shown == 0 ? "PLAY" : shown == 1 ? "SETTINGS" : shown == 2 ? "QUIT" : "");
    if (clickedButton() == 0)
        SetState(GameState::LevelSelect);
    else if (clickedButton() == 1)
        SetState(GameState::SettingsMenu);
}

void TitleMenuExit() {
    caption = nullptr;
    clearWidgets();
}

std::string TitleMenuCaption() { return caption ? caption->getText() : std::string(); }
