#include "ui/credits.h"

#include <string>

#include "app/game_state.h"
#include "platform/open_link.h"
#include "play/story.h"
#include "ui/menu_parts.h"
#include "widgets/widgets.h"

namespace {
enum { kWatchOpening = 0, kReturn = 1, kHomePage = 2 };
constexpr SDL_Color kHeading{135, 0, 0, 0};
constexpr SDL_Color kBody{100, 0, 0, 0};

void Heading(const std::string& text, int y) { menu::AddLabel(125, y, 390, true, 30, kHeading, -5, text); }
void Name(const std::string& text, int y) { menu::AddLabel(125, y, 390, true, 28, kBody, -5, text); }
}  // namespace

void CreditsEntry() {
    menu::AddPicture("GUI/TitleScreenBG.png", 100);
    menu::AddPicture("GUI/CreditsMenu.png", 75);
    menu::AddScanlines();
    menu::AddLabel(195, 57, 250, true, 48, kHeading, -5, "CREDITS");
    Heading("ART/PROGRAMMING/LEVEL DESIGN/WRITING", 113);
    Name("Wren Halloway", 145);
    Heading("LEVEL DESIGN/WRITING/CONCEPTS", 208);
    Name("Odile Marsh", 240);
    menu::AddLabel(80, 269, 480, true, 21, kBody, -5, "\"Down is wherever we write it.\" - Odile");
    Heading("MUSIC", 297);
    Name("Tobias Reedfield", 329);
    menu::CentreButton(menu::AddTextButton("WATCH THE OPENING", 24, -5, kBody), 320, 358);
    menu::CentreButton(menu::AddTextButton("RETURN TO MENU", 32), 320, 384);
    // Under the first name, where the game's own page belongs.
    menu::CentreButton(menu::AddTextButton(kCreditsHomePageCaption, 24, -5, kBody), 320, 174);
    SetFocusOrder({kHomePage, kWatchOpening, kReturn});
    SetFocusedButton(kReturn);
}

void CreditsUpdate() {
    if (clickedButton() == kWatchOpening) {
        // The opening ends on the title, as it does at the first start.
        SetState(GameState::Intro);
        StartOpeningCutscene();
    } else if (clickedButton() == kReturn) {
        SetState(GameState::TitleMenu);
    } else if (clickedButton() == kHomePage) {
        // A page that cannot be opened leaves the screen as it is.
        platform::OpenLink(kCreditsHomePage);
    }
}
