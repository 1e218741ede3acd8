#include "widgets/widgets.h"

#include <algorithm>
#include <deque>

#include "app/input.h"
#include "audio/cues.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "widgets/text_label.h"
#include "world/draw_queue.h"

namespace {

constexpr int kCursorDepth = -1000000;

struct Focus {
    std::vector<int> order;
    bool screenStop = false;
    int at = 0;  // position in the order; -1 is the screen stop
};

struct WidgetLists {
    std::deque<std::unique_ptr<ImageWidget>> imageWidgets;
    std::deque<std::unique_ptr<Button>> buttons;
    std::deque<std::unique_ptr<TextLabel>> labels;
    Focus focus;
};

// The ring drawn round the selected button, made for the size last asked for.
struct FocusRing {
    Image image;
    int width = -1, height = -1;
};

constexpr int kRingMargin = 6;
constexpr int kRingThickness = 3;
constexpr SDL_Color kRingColour{236, 180, 60, 0};
constexpr SDL_Color kRingEdge{90, 20, 10, 0};

bool keysLeftToScreen = false;
// Whether the mouse was moved (or clicked) more lately than a key went down: the pointer's
// button then leads, else the keyboard ring alone shows which button is meant.
bool pointerLeads = false;

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
    lists.focus = Focus{};
}

bool Inside(const SDL_Rect& r, MousePosition mouse) {
    // Both edges count, so the clickable area is one pixel wider and taller than the size.
    return r.x <= mouse.x && mouse.x <= r.x + r.w && r.y <= mouse.y && mouse.y <= r.y + r.h;
}

int FocusedIndex(const WidgetLists& lists) {
    const Focus& f = lists.focus;
    if (f.at < 0 || f.at >= static_cast<int>(f.order.size()))
        return -1;
    const int button = f.order[static_cast<std::size_t>(f.at)];
    return button >= 0 && button < static_cast<int>(lists.buttons.size()) ? button : -1;
}

// Tab walks round; the arrows stop at either end, so no menu's first or last button is one
// key press from the other.
void StepFocus(Focus& f, int step, bool wrap) {
    const int first = f.screenStop ? -1 : 0;
    const int stops = static_cast<int>(f.order.size()) - first;
    const int from = f.at - first;
    f.at = (wrap ? ((from + step) % stops + stops) % stops : std::clamp(from + step, 0, stops - 1)) + first;
}

void NoteWhoLeads() {
    for (const SDL_Event& e : FrameEvents()) {
        if (e.type == SDL_KEYDOWN)
            pointerLeads = false;
        else if (e.type == SDL_MOUSEMOTION || e.type == SDL_MOUSEBUTTONDOWN)
            pointerLeads = true;
    }
}

// Arrows and Tab in the order they came; pointing at a button selects it.
void DriveFocus(WidgetLists& lists) {
    Focus& f = lists.focus;
    if (f.order.empty())
        return;
    if (EventOccurred(SDL_MOUSEMOTION) || EventOccurred(SDL_MOUSEBUTTONDOWN)) {
        const MousePosition mouse = GetMousePosition();
        for (std::size_t i = 0; i < lists.buttons.size(); ++i) {
            if (!Inside(lists.buttons[i]->getRect(), mouse))
                continue;
            auto listed = std::find(f.order.begin(), f.order.end(), static_cast<int>(i));
            if (listed != f.order.end())
                f.at = static_cast<int>(listed - f.order.begin());
            else if (f.screenStop)
                f.at = -1;
            break;
        }
    }
    if (keysLeftToScreen)
        return;
    for (const SDL_Event& e : FrameEvents()) {
        if (e.type != SDL_KEYDOWN)
            continue;
        const SDLKey sym = e.key.keysym.sym;
        const bool onScreenStop = f.at == -1;
        if (sym == SDLK_TAB)
            StepFocus(f, (e.key.keysym.mod & KMOD_SHIFT) ? -1 : 1, true);
        else if (onScreenStop)
            continue;
        else if (sym == SDLK_UP || sym == SDLK_LEFT)
            StepFocus(f, -1, false);
        else if (sym == SDLK_DOWN || sym == SDLK_RIGHT)
            StepFocus(f, 1, false);
    }
}

void ActivateByKeys(WidgetLists& lists) {
    const int focused = FocusedIndex(lists);
    if (focused < 0 || keysLeftToScreen)
        return;
    if (KeyPressed(SDLK_RETURN) || KeyPressed(SDLK_KP_ENTER))
        lists.buttons[static_cast<std::size_t>(focused)]->activate();
}

// The part of the first frame with ink in it: pixels not nearly clear. A picture without
// an alpha channel is inked all over.
SDL_Rect InkBounds(const Image& image) {
    SDL_Surface* surface = image.surface.get();
    const SDL_Rect whole{0, 0, static_cast<Uint16>(image.frameWidth), static_cast<Uint16>(image.frameHeight)};
    if (surface == nullptr || surface->format->BytesPerPixel != 4 || surface->format->Amask == 0)
        return whole;
    const int w = std::min<int>(image.frameWidth, surface->w), h = std::min<int>(image.frameHeight, surface->h);
    int left = w, right = -1, top = h, bottom = -1;
    SDL_LockSurface(surface);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < w; ++x) {
            if (((row[x] & surface->format->Amask) >> surface->format->Ashift) <= 64)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    SDL_UnlockSurface(surface);
    if (right < 0)
        return whole;
    return SDL_Rect{static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left + 1),
                    static_cast<Uint16>(bottom - top + 1)};
}

const Image& RingFor(int width, int height) {
    static FocusRing& ring = *new FocusRing;
    if (ring.width == width && ring.height == height)
        return ring.image;
    ring.width = width;
    ring.height = height;
    const int w = width + 2 * kRingMargin, h = height + 2 * kRingMargin;
    SurfaceHandle surface(SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, w, h, 32, 0x00ff0000, 0x0000ff00,
                                               0x000000ff, 0xff000000));
    if (surface == nullptr) {
        ring.image = Image();
        return ring.image;
    }
    SDL_FillRect(surface.get(), nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
    auto frame = [&](int inset, int thickness, SDL_Color c) {
        const Uint32 colour = SDL_MapRGBA(surface->format, c.r, c.g, c.b, 255);
        const Sint16 a = static_cast<Sint16>(inset);
        const Uint16 t = static_cast<Uint16>(thickness);
        const Uint16 innerW = static_cast<Uint16>(w - 2 * inset), innerH = static_cast<Uint16>(h - 2 * inset);
        SDL_Rect sides[] = {{a, a, innerW, t},
                            {a, static_cast<Sint16>(h - inset - thickness), innerW, t},
                            {a, a, t, innerH},
                            {static_cast<Sint16>(w - inset - thickness), a, t, innerH}};
        for (SDL_Rect& r : sides)
            SDL_FillRect(surface.get(), &r, colour);
    };
    // A dark edge keeps the bright ring readable on light parchment and on dark pictures alike.
    frame(0, kRingThickness + 2, kRingEdge);
    frame(1, kRingThickness, kRingColour);
    ring.image = Image(surface.get());
    return ring.image;
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
    pressed = hovered = clicked = pushed = false;
    normalInk = SDL_Rect{0, 0, 0, 0};
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
    normalInk = InkBounds(image);
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

SDL_Rect Button::visibleRect() const {
    if (!hasNormalImage || normalInk.w == 0)
        return getRect();
    return SDL_Rect{static_cast<Sint16>(x + normalInk.x), static_cast<Sint16>(y + normalInk.y), normalInk.w, normalInk.h};
}

void Button::setRect(int newX, int newY, int newWidth, int newHeight) {
    x = static_cast<std::int16_t>(newX);
    y = static_cast<std::int16_t>(newY);
    width = static_cast<std::uint16_t>(newWidth);
    height = static_cast<std::uint16_t>(newHeight);
}

void Button::update(bool focused, bool pointerLeads) {
    clicked = false;
    pushed = false;
    const bool inside = Inside(getRect(), GetMousePosition());
    // Taken in the order they came, a press and a release in one frame make a click.
    for (const SDL_Event& e : FrameEvents()) {
        if ((e.type != SDL_MOUSEBUTTONDOWN && e.type != SDL_MOUSEBUTTONUP) || e.button.button != SDL_BUTTON_LEFT)
            continue;
        if (e.type == SDL_MOUSEBUTTONDOWN) {
            if (inside)
                pressed = pushed = true;
        } else {
            if (pressed && inside)
                clicked = true;
            pressed = false;
        }
    }
    // A release this button never saw (the frame's events were swallowed) still ends the press.
    if (pressed && !MouseButtonHeld(SDL_BUTTON_LEFT))
        pressed = false;
    if (inside) {
        hovered = true;
        // A pointer left resting on a button while the keys move the ring does not light it.
        if (pressed || clicked) {
            if (hasPressedImage)
                setCurrentImage(pressedImage);
        } else if (hasHoverImage && (pointerLeads || focused)) {
            setCurrentImage(hoverImage);
        } else if (hasNormalImage) {
            setCurrentImage(normalImage);
        }
    } else {
        // Dragged off while pressed, it keeps the look it was pressed with.
        if (!(pressed && hasCurrentImage)) {
            hovered = false;
            if (focused && hasHoverImage)
                setCurrentImage(hoverImage);
            else if (hasNormalImage)
                setCurrentImage(normalImage);
        }
    }
    FrameDrawQueue().Add(x, y, depth, false, currentImage);
}

void Button::activate() {
    clicked = true;
    pushed = true;
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

Image TranslucentRect(int width, int height, SDL_Color colour, Uint8 alpha) {
    SurfaceHandle surface(SDL_CreateRGBSurface(SDL_SRCALPHA, width, height, 32, 0x00ff0000, 0x0000ff00, 0x000000ff,
                                               0xff000000));
    if (surface == nullptr)
        return Image();
    SDL_FillRect(surface.get(), nullptr, SDL_MapRGBA(surface->format, colour.r, colour.g, colour.b, alpha));
    return Image(surface.get());
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

int buttonIndex(const Button* button) {
    const auto& list = Lists().buttons;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == button)
            return static_cast<int>(i);
    return -1;
}

Button* buttonAt(int index) {
    const auto& list = Lists().buttons;
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)].get() : nullptr;
}

int clickedButton() { return FirstWith(Lists().buttons, &Button::isClicked); }
int pressedButton() { return FirstWith(Lists().buttons, &Button::isPressed); }
int hoveredButton() { return FirstWith(Lists().buttons, &Button::isHovered); }
int pushedButton() { return FirstWith(Lists().buttons, &Button::isPushed); }

void SetFocusOrder(std::vector<int> buttons, bool screenStop) {
    Focus& f = Lists().focus;
    f.order = std::move(buttons);
    f.screenStop = screenStop && !f.order.empty();
    f.at = f.screenStop ? -1 : 0;
}

int focusedButton() { return FocusedIndex(Lists()); }

FocusState CurrentFocus() {
    const Focus& f = Lists().focus;
    return FocusState{f.order, f.screenStop, f.at};
}

void RestoreFocus(const FocusState& state) {
    Focus& f = Lists().focus;
    f.order = state.order;
    f.screenStop = state.screenStop && !f.order.empty();
    f.at = state.at;
}

bool PointerLeads() { return pointerLeads; }

void SetFocusedButton(int button) {
    Focus& f = Lists().focus;
    auto listed = std::find(f.order.begin(), f.order.end(), button);
    if (listed != f.order.end())
        f.at = static_cast<int>(listed - f.order.begin());
    else if (button == -1 && f.screenStop)
        f.at = -1;
}

void LeaveKeysToScreen() { keysLeftToScreen = true; }

void updateWidgets() {
    CursorState& cursor = Cursor();
    SDL_ShowCursor(cursor.custom ? SDL_DISABLE : SDL_ENABLE);
    if (cursor.custom && CursorShown() && platform::HasMouseFocus()) {
        const MousePosition mouse = GetMousePosition();
        FrameDrawQueue().Add(mouse.x, mouse.y, kCursorDepth, false, cursor.image);
    }
    WidgetLists& lists = Lists();
    NoteWhoLeads();
    const int focusedBefore = FocusedIndex(lists);
    DriveFocus(lists);
    const int focused = FocusedIndex(lists);
    if (focused != focusedBefore && focused >= 0)
        PlayCue(Cue::MenuMove);
    for (std::size_t i = 0; i < lists.buttons.size(); ++i)
        lists.buttons[i]->update(static_cast<int>(i) == focused, pointerLeads);
    ActivateByKeys(lists);
    keysLeftToScreen = false;
    if (const int chosen = clickedButton(); chosen >= 0 && lists.buttons[static_cast<std::size_t>(chosen)]->chimes())
        PlayCue(Cue::MenuChoose);
    if (focused >= 0) {
        const Button& button = *lists.buttons[static_cast<std::size_t>(focused)];
        const SDL_Rect r = button.visibleRect();
        FrameDrawQueue().Add(r.x - kRingMargin, r.y - kRingMargin, button.getDepth() - 1, false, RingFor(r.w, r.h));
    }
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
