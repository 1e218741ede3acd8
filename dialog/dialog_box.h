#pragma once
#include <string>
#include <vector>

class Entity;
class Image;
class World;

// The box at the bottom of the screen that shows the current dialog's messages: it slides
// in, switches on its speaker screen, types the text out, raises a flag window, and slides
// out again. While a dialog is current it pauses play and swallows every key but "Restart".

// Start-up: loads the box's pictures. FreeDialogBox at shutdown.
void CreateDialogBox();
void FreeDialogBox();

void OpenBox();
void CloseBox();
// Ends the current dialog at once: no slide, the dialog removed.
void SkipDialog();
// Forgets every dialog and puts the box away (a level is built, the editor is entered,
// a slideshow is skipped).
void ResetDialogBox();

// The current message's pictures and text, as the dialogs hand them over.
void SetSpeakerPicture(const Image& picture);
void SetFlagPicture(const Image& picture);
void SetText(const std::string& text);
// The image path of the picture on the speaker screen, empty when none is shown.
const std::string& SpeakerPicturePath();

// Once per frame after the dialogs' events, only while a dialog is current.
void UpdateDialogBox();

// Where the open box and its raised flag window stand on the screen, along the bottom edge
// or the top one: what a dialog hides of the board while the player reads it.
struct ScreenArea {
    int x, y, w, h;
    bool Holds(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};
ScreenArea OpenBoxArea(bool atTop);
ScreenArea RaisedFlagArea(bool atTop);
// The box comes in along the top edge from its next opening on (it never moves while shown).
void PlaceBoxAtTop(bool atTop);
bool BoxAtTop();
// The pieces a player must see (whatever can move, and the exits) that the open box would hide
// along that edge: more than half of their box behind it or its raised flag window.
std::vector<const Entity*> PiecesUnderBox(const World& world, bool atTop);
// Along the top edge when the bottom one would hide more of those pieces.
bool BoxBelongsAtTop(const World& world);

// What the box is doing, for the play display and the tests.
bool BoxOpen();
bool SlideDone();
double BoxX();
const std::string& ShownText();
const std::string& FullText();
