#include "widgets/widgets.h"

#include <algorithm>
#include <deque>

#include "app/input.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "widgets/text_label.h"
#include "world/draw_queue.h"

namespace {

constexpr int kCursorDepth = -1000000;

struct WidgetLists {
    std::deque<std::unique_ptr<ImageWidget>> imageWidgets;
    std::deque<std::unique_ptr<Button>> buttons;
    std::deque<std::unique_ptr<TextLabel>> labels;
};

struct CursorState {
    Image image;
    bool custom = false;
};

// The lists are never destroyed: widgets still listed when the process ends would
// otherwise close their fonts and free their surfaces after TTF_Quit and SDL_Quit.
WidgetLists& Lists() {
    static WidgetLists& lists = *new WidgetLists;
    return lists;
}

// Lists set aside by open widget layers, innermost last.
// (A deque: its lists never move, so they need not be copyable.)
std::deque<WidgetLists>& SetAside() {
    static std::deque<WidgetLists>& stack = *new std::deque<WidgetLists>;
    return stack;
}

CursorState& Cursor() {
    static CursorState cursor;
    return cursor;
}

template <class T>
std::unique_ptr<T> Take(std::deque<std::unique_ptr<T>>& list, const T* item) {
    auto it = std::find_if(list.begin(), list.end(), [item](const std::unique_ptr<T>& w) { return w.get() == item; });
    if (it == list.end())
        return nullptr;
    std::unique_ptr<T> taken = std::move(*it);
    list.erase(it);
    return taken;
}

template <class T, class Flag>
int FirstWith(const std::deque<std::unique_ptr<T>>& list, Flag flag) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if ((list[i].get()->*flag)())
            return static_cast<int>(i);
    return -1;
}

// First in, first deleted, one list after the other.
template <class T>
void DeleteInOrder(std::deque<std::unique_ptr<T>>& list) {
    while (!list.empty())
        list.pop_front();
}

void DeleteAll(WidgetLists& lists) {
    DeleteInOrder(lists.imageWidgets);
    DeleteInOrder(lists.buttons);
    DeleteInOrder(lists.labels);
}

}  // namespace

// ---- Button ----

Button::Button() { Button::reset(); }

Button::Button(const Image& normal, int newX, int newY, int newWidth, int newHeight, int newDepth) {
    Button::reset();
    setNormalImage(normal);
    setRect(newX, newY, newWidth, newHeight);
    depth = newDepth;
}

void Button::reset() {
    currentImage = normalImage = hoverImage = pressedImage = Image();
    hasCurrentImage = hasNormalImage = hasHoverImage = hasPressedImage = false;
    pressed = hovered = clicked = false;
    x = y = 0;
    width = height = 0;
    depth = 0;
}

void Button::draw(SDL_Surface* surface) {
    if (!hasCurrentImage)
        return;
    currentImage.Animate();
    currentImage.Blit(surface, x, y);
}

void Button::setCurrentImage(const Image& image) {
    currentImage = image;
    hasCurrentImage = true;
}
void Button::setNormalImage(const Image& image) {
    normalImage = image;
    hasNormalImage = true;
}
void Button::setHoverImage(const Image& image) {
    hoverImage = image;
    hasHoverImage = true;
}
void Button::setPressedImage(const Image& image) {
    pressedImage = image;
    hasPressedImage = true;
}

SDL_Rect Button::getRect() const { return SDL_Rect{x, y, width, height}; }

void Button::setRect(int newX, int newY, int newWidth, int newHeight) {
    x = static_cast<std::int16_t>(newX);
    y = static_cast<std::int16_t>(newY);
    width = static_cast<std::uint16_t>(newWidth);
    height = static_cast<std::uint16_t>(newHeight);
}

void Button::update() {
    clicked = false;
    const MousePosition mouse = GetMousePosition();
    // Both edges count, so the clickable area is one pixel wider and taller than the size.
    const bool inside = x <= mouse.x && mouse.x <= x + width && y <= mouse.y && mouse.y <= y + height;
    if (inside) {
        hovered = true;
        if (MouseButtonPressed(SDL_BUTTON_LEFT)) {
            if (hasPressedImage)
                setCurrentImage(pressedImage);
            pressed = true;
        } else if (pressed) {
            if (MouseButtonReleased(SDL_BUTTON_LEFT)) {
                clicked = true;
                pressed = false;
            }
        } else if (hasHoverImage) {
            setCurrentImage(hoverImage);
        } else if (hasNormalImage) {
            setCurrentImage(normalImage);
        }
    } else {
        // Dragged off while pressed, it keeps the look it was pressed with.
        if (!(pressed && hasCurrentImage)) {
            hovered = false;
            if (hasNormalImage)
                setCurrentImage(normalImage);
        }
        if (MouseButtonReleased(SDL_BUTTON_LEFT))
            pressed = false;
    }
    FrameDrawQueue().Add(x, y, depth, false, currentImage);
}

// ---- TextButton ----

TextButton::TextButton() { TextButton::reset(); }

void TextButton::reset() {
    Button::reset();
    // Closed first: a font that fails to open leaves the button with none.
    font.reset();
    font = OpenFont(InterfaceFontPath(), 24);
    text.clear();
    normalColour = hoverColour = pressedColour = SDL_Color{0, 0, 0, 0};
}

void TextButton::setFont(const std::string& path, int pointSize) {
    font.reset();
    font = OpenFont(path, pointSize);
    renderAll();
}

void TextButton::setText(const std::string& caption) {
    text = caption;
    renderAll();
}

void TextButton::setNormalColour(SDL_Color colour) {
    normalColour = colour;
    renderLook(Look::Normal);
}
void TextButton::setHoverColour(SDL_Color colour) {
    hoverColour = colour;
    renderLook(Look::Hover);
}
void TextButton::setPressedColour(SDL_Color colour) {
    pressedColour = colour;
    renderLook(Look::Pressed);
}

void TextButton::renderAll() {
    renderLook(Look::Normal);
    renderLook(Look::Hover);
    renderLook(Look::Pressed);
    width = static_cast<std::uint16_t>(normalImage.frameWidth);
    height = static_cast<std::uint16_t>(normalImage.frameHeight);
}

void TextButton::renderLook(Look look) {
    if (font == nullptr)
        throw platform::GameError("No font!");
    if (text.empty())
        return;
    const SDL_Color colour = look == Look::Normal ? normalColour : look == Look::Hover ? hoverColour : pressedColour;
    SurfaceHandle rendered(TTF_RenderText_Blended(font.get(), text.c_str(), colour));
    if (rendered == nullptr)
        return;
    Image image(rendered.get());
    if (look == Look::Normal)
        setNormalImage(image);
    else if (look == Look::Hover)
        setHoverImage(image);
    else
        setPressedImage(image);
}

// ---- ImageWidget ----

ImageWidget::ImageWidget(const Image& source, int newX, int newY, int newDepth)
    : depth(newDepth), x(newX), y(newY), image(std::make_unique<Image>(source)) {}

void ImageWidget::update() {
    image->Animate();
    FrameDrawQueue().Add(x, y, depth, false, *image);
}

// ---- the widget lists ----

ImageWidget* addImageWidget(std::unique_ptr<ImageWidget> widget) {
    return Lists().imageWidgets.emplace_back(std::move(widget)).get();
}
Button* addButton(std::unique_ptr<Button> button) { return Lists().buttons.emplace_back(std::move(button)).get(); }
TextLabel* addLabel(std::unique_ptr<TextLabel> label) {
    return Lists().labels.emplace_back(std::move(label)).get();
}

std::unique_ptr<ImageWidget> removeImageWidget(const ImageWidget* widget) {
    return Take(Lists().imageWidgets, widget);
}
std::unique_ptr<Button> removeButton(const Button* button) { return Take(Lists().buttons, button); }
std::unique_ptr<TextLabel> removeLabel(const TextLabel* label) { return Take(Lists().labels, label); }

int clickedButton() { return FirstWith(Lists().buttons, &Button::isClicked); }
int pressedButton() { return FirstWith(Lists().buttons, &Button::isPressed); }
int hoveredButton() { return FirstWith(Lists().buttons, &Button::isHovered); }

void updateWidgets() {
    CursorState& cursor = Cursor();
    SDL_ShowCursor(cursor.custom ? SDL_DISABLE : SDL_ENABLE);
    if (cursor.custom && CursorShown() && platform::HasMouseFocus()) {
        const MousePosition mouse = GetMousePosition();
        FrameDrawQueue().Add(mouse.x, mouse.y, kCursorDepth, false, cursor.image);
    }
    WidgetLists& lists = Lists();
    for (const auto& button : lists.buttons)
        button->update();
    for (const auto& widget : lists.imageWidgets)
        widget->update();
    for (const auto& label : lists.labels)
        label->draw();
}

void clearWidgets() { DeleteAll(Lists()); }

void InstallCursor(const Image& image) {
    Cursor().image = image;
    Cursor().custom = true;
}

void RemoveCursor() {
    Cursor().image = Image();
    Cursor().custom = false;
}

WidgetLayer::WidgetLayer() {
    SetAside().push_back(std::move(Lists()));
    Lists() = WidgetLists{};
}

WidgetLayer::~WidgetLayer() {
    DeleteAll(Lists());
    Lists() = std::move(SetAside().back());
    SetAside().pop_back();
}
