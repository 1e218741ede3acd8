#pragma once
// Pieces every menu screen is built from: the shared backdrop pictures, labels and caption
// buttons in the menus' ink colours, and the title music that runs across the menus.
#include <SDL.h>

#include <string>

class TextButton;
class TextLabel;

namespace menu {

inline constexpr SDL_Color kTextNormal{135, 0, 0, 0};
inline constexpr SDL_Color kTextHover{155, 20, 20, 0};
inline constexpr SDL_Color kTextPressed{205, 70, 70, 0};

// A one-frame 640x480 picture at (0, 0), or any one-frame picture where given.
void AddPicture(const std::string& path, int depth, int x = 0, int y = 0, int width = 640, int height = 480);
// The flickering scanlines laid over every menu.
void AddScanlines();
// A label in the interface font; boxWidth -1 for none.
TextLabel* AddLabel(int x, int y, int boxWidth, bool centred, int pointSize, SDL_Color colour, int depth,
                    const std::string& text);
// A caption button in the three ink colours; its size is its caption's. Positioned by the caller.
TextButton* AddTextButton(const std::string& caption, int pointSize, int depth = 0, SDL_Color normal = kTextNormal);
// A picture button without hover or pressed looks.
void AddPictureButton(const std::string& path, int x, int y, int width, int height);
void MoveButton(TextButton* button, int x, int y, int heightTrim = 0);
// Centres the button on x.
void CentreButton(TextButton* button, int centreX, int y);

// Starts the title track unless it already plays.
void StartTitleMusic();

// Text after the first "/" of a qualified name; the whole name when it has none.
std::string ShortName(const std::string& qualified);

}  // namespace menu
