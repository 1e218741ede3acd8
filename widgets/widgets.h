#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl_handles.h"
#include "world/image.h"

class TextLabel;

// A clickable rectangle with up to three looks. A click is a press and a release of the
// left button both inside, in one frame or across frames; the button list's position of a
// button is its identity.
class Button {
public:
    Button();
    Button(const Image& normal, int x, int y, int width, int height, int depth);
    virtual ~Button() = default;
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    // Blits straight onto the surface, outside the draw queue.
    virtual void draw(SDL_Surface* surface);
    virtual void reset();

    void setCurrentImage(const Image& image);
    void setNormalImage(const Image& image);
    void setHoverImage(const Image& image);
    void setPressedImage(const Image& image);
    void setDepth(int value) { depth = value; }
    int getDepth() const { return depth; }
    SDL_Rect getRect() const;
    // Where the normal look has pixels on screen; the rectangle when it has none.
    SDL_Rect visibleRect() const;
    void setRect(int newX, int newY, int newWidth, int newHeight);

    // Once per frame, from updateWidgets only; a focused button shows its hover look, and
    // so does one under the pointer while the pointer leads (it moved last).
    void update(bool focused = false, bool pointerLeads = true);
    // Enter on the keyboard selection: a press and a click in one.
    void activate();

    bool isPressed() const { return pressed; }
    bool isHovered() const { return hovered; }
    bool isClicked() const { return clicked; }
    // Went down this frame, by the mouse or by Enter.
    bool isPushed() const { return pushed; }
    // A click plays the menus' choice sound, unless the button makes a sound of its own.
    bool chimes() const { return chime; }
    void setChimes(bool value) { chime = value; }

protected:
    bool hasCurrentImage = false;
    bool hasNormalImage = false;
    bool hasHoverImage = false;
    bool hasPressedImage = false;
    std::int32_t depth = 0;
    std::int16_t x = 0, y = 0;
    std::uint16_t width = 0, height = 0;
    Image currentImage;
    Image normalImage;
    Image hoverImage;
    Image pressedImage;
    bool pressed = false;
    bool hovered = false;
    bool clicked = false;
    bool pushed = false;
    bool chime = true;
    // The inked part of the normal look, from its corner.
    SDL_Rect normalInk{0, 0, 0, 0};
};

// A button whose three looks are its caption rendered in three colours. Its size follows
// the normal look, so callers place it after setting font and text.
class TextButton : public Button {
public:
    TextButton();

    void reset() override;
    void setFont(const std::string& path, int pointSize);
    void setText(const std::string& caption);
    void setNormalColour(SDL_Color colour);
    void setHoverColour(SDL_Color colour);
    void setPressedColour(SDL_Color colour);
    const std::string& getText() const { return text; }

private:
    enum class Look { Normal, Hover, Pressed };
    void renderLook(Look look);
    void renderAll();

    std::string text;
    FontHandle font;
    SDL_Color normalColour{0, 0, 0, 0};
    SDL_Color hoverColour{0, 0, 0, 0};
    SDL_Color pressedColour{0, 0, 0, 0};
};

// A picture on screen. x and y are open: the level select moves its selection frame.
class ImageWidget {
public:
    ImageWidget(const Image& image, int x, int y, int depth);
    void update();
    Image& getImage() { return *image; }

    std::int32_t depth;
    std::int32_t x;
    std::int32_t y;

private:
    std::unique_ptr<Image> image;
};

// A see-through rectangle of one colour (alpha 0 to 255), for highlights and strips.
Image TranslucentRect(int width, int height, SDL_Color colour, Uint8 alpha);

// The widget lists own what is registered. Registration hands the widget over and
// returns it, so a screen can keep a pointer to one it changes later.
ImageWidget* addImageWidget(std::unique_ptr<ImageWidget> widget);
Button* addButton(std::unique_ptr<Button> button);
TextLabel* addLabel(std::unique_ptr<TextLabel> label);
template <class W>
W* addImageWidget(std::unique_ptr<W> widget);
template <class B>
B* addButton(std::unique_ptr<B> button);
template <class L>
L* addLabel(std::unique_ptr<L> label);

// Take the widget out of its list and hand it back (null when it is not listed): the
// caller owns it again, and dropping what comes back deletes it.
std::unique_ptr<ImageWidget> removeImageWidget(const ImageWidget* widget);
std::unique_ptr<Button> removeButton(const Button* button);
std::unique_ptr<TextLabel> removeLabel(const TextLabel* label);

// The button's place in the list (its identity for clickedButton), or -1; and the button at a place.
int buttonIndex(const Button* button);
Button* buttonAt(int index);
// Index of the first button in list order with that flag, or -1.
int clickedButton();
int pressedButton();
int hoveredButton();
int pushedButton();

// The keyboard selection over a screen's buttons. The arrows (Up and Left back, Down and
// Right on) walk the listed buttons in that order and stop at either end; Tab (Shift+Tab
// back) walks them round. A move of the selection ticks (the menus' move sound). Enter
// activates the selected one; pointing at a listed button selects it. With `screenStop`
// the walk has one more stop, first, for the screen's own content (the level grid): there
// the arrows and Enter are left to the screen. An empty list turns the selection off;
// leaving the screen (clearWidgets) does too. The selection starts on the first stop.
void SetFocusOrder(std::vector<int> buttons, bool screenStop = false);
// The selected button's index, or -1 (none, or the screen stop).
int focusedButton();
// Selects a listed button; -1 selects the screen stop where there is one.
void SetFocusedButton(int button);
// The selection as it stands, to be put back after a question has borrowed it.
struct FocusState {
    std::vector<int> order;
    bool screenStop = false;
    int at = 0;
};
FocusState CurrentFocus();
void RestoreFocus(const FocusState& state);
// The mouse moved or clicked more lately than a key went down: what it points at leads.
bool PointerLeads();
// The screen has used this frame's keys itself (a key being bound): the selection ignores them.
void LeaveKeysToScreen();

// Once per frame: the cursor, then every button, image widget and label. A click (or Enter)
// on a button plays the menus' choice sound.
void updateWidgets();
void clearWidgets();

// The software cursor, installed at start-up; without one the system cursor shows.
void InstallCursor(const Image& cursor);
void RemoveCursor();

// A modal screen (the file chooser) sets the current screen's widgets aside for its own
// and puts them back, untouched, when it ends.
class WidgetLayer {
public:
    WidgetLayer();
    ~WidgetLayer();
    WidgetLayer(const WidgetLayer&) = delete;
    WidgetLayer& operator=(const WidgetLayer&) = delete;
};

template <class W>
W* addImageWidget(std::unique_ptr<W> widget) {
    W* kept = widget.get();
    addImageWidget(std::unique_ptr<ImageWidget>(std::move(widget)));
    return kept;
}
template <class B>
B* addButton(std::unique_ptr<B> button) {
    B* kept = button.get();
    addButton(std::unique_ptr<Button>(std::move(button)));
    return kept;
}
template <class L>
L* addLabel(std::unique_ptr<L> label) {
    L* kept = label.get();
    addLabel(std::unique_ptr<TextLabel>(std::move(label)));
    return kept;
}
