#pragma once
// The panel the editor's level form and its search report stand on: one place, one look.
#include <SDL.h>

#include <string>

class ImageWidget;
class TextButton;
class TextLabel;

inline constexpr int kPanelX = 140, kPanelY = 120, kPanelW = 360, kPanelH = 220;
// In front of the toolbar, behind the "Discard changes?" question.
inline constexpr int kPanelDepth = -100050;

inline constexpr SDL_Color kPanelParchment{244, 232, 204, 0};
inline constexpr SDL_Color kPanelAmber{242, 172, 64, 0};
inline constexpr SDL_Color kPanelEmber{214, 96, 52, 0};
inline constexpr SDL_Color kPanelFaded{150, 140, 170, 0};

// Each registers its widget and returns it; the caller removes it again.
ImageWidget* AddPanelPicture();
TextLabel* AddPanelLabel(int x, int y, int boxWidth, bool centred, SDL_Color colour, const std::string& text,
                         int points);
// A dark well for a typed value.
ImageWidget* AddFieldBox(int x, int y, int w, int h);
// A caption button on the panel's bottom row, centred on `centreX`.
TextButton* AddPanelButton(const std::string& caption, int centreX);
