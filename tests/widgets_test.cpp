#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "tests/test_support.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"

namespace {

Image Swatch(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
    Image image(s);
    SDL_FreeSurface(s);
    return image;
}

SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event MouseButton(Uint8 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

// The widgets tests run in the game folder, where the interface font lies.
class WidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        platform::SetScriptedFocus(true);
        PumpEvents();
        FrameDrawQueue().Clear();
    }
    void TearDown() override {
        clearWidgets();
        RemoveCursor();
        SetCursorShown(true);
        platform::SetScriptedFocus(false);
        FrameDrawQueue().Clear();
    }

    // One frame: the mouse moves to (x, y), then the given button events happen there.
    void Frame(int mx, int my, std::vector<Uint8> buttonEvents = {}) {
        std::vector<SDL_Event> events{Motion(mx, my)};
        for (Uint8 type : buttonEvents)
            events.push_back(MouseButton(type, mx, my));
        for (SDL_Event& e : events)
            SDL_PushEvent(&e);
        PumpEvents();
        FrameDrawQueue().Clear();
        updateWidgets();
    }

    test::WorkingDir inGame{QM_GAME_DIR};
};

constexpr Uint8 kDown = SDL_MOUSEBUTTONDOWN;
constexpr Uint8 kUp = SDL_MOUSEBUTTONUP;

struct ClickCase {
    const char* name;
    struct Step {
        int x, y;
        std::vector<Uint8> events;
        int clicked;
    };
    std::vector<Step> steps;
};

TEST_F(WidgetsTest, ClickRules) {
    // The button covers 10..30 x 20..40, both edges included.
    const std::vector<ClickCase> cases = {
        {"press and release inside", {{15, 25, {kDown}, -1}, {16, 26, {kUp}, 0}, {16, 26, {}, -1}}},
        {"press and release in one frame click", {{15, 25, {kDown, kUp}, 0}}},
        {"release then press in one frame: no click, and held", {{15, 25, {kUp, kDown}, -1}, {15, 25, {kUp}, 0}}},
        {"drag off cancels", {{15, 25, {kDown}, -1}, {50, 50, {}, -1}, {50, 50, {kUp}, -1}, {15, 25, {}, -1}}},
        {"drag off and back still clicks", {{15, 25, {kDown}, -1}, {50, 50, {}, -1}, {15, 25, {kUp}, 0}}},
        {"press outside, release inside", {{5, 25, {kDown}, -1}, {15, 25, {kUp}, -1}}},
        {"right and bottom edges count", {{30, 40, {kDown}, -1}, {30, 40, {kUp}, 0}}},
        {"one past the edge does not", {{31, 40, {kDown}, -1}, {31, 40, {kUp}, -1}, {30, 41, {kDown}, -1}, {30, 41, {kUp}, -1}}},
        {"left and top edges count", {{10, 20, {kDown}, -1}, {10, 20, {kUp}, 0}}},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        addButton(std::make_unique<Button>(Swatch(20, 20), 10, 20, 20, 20, 5));
        Frame(0, 0, {kUp});
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const auto& step = c.steps[i];
            Frame(step.x, step.y, step.events);
            EXPECT_EQ(clickedButton(), step.clicked) << "step " << i;
        }
        clearWidgets();
    }
}

TEST_F(WidgetsTest, AReleaseTheButtonNeverSawStillEndsThePress) {
    addButton(std::make_unique<Button>(Swatch(20, 20), 10, 20, 20, 20, 5));
    Frame(15, 25, {kDown});
    ASSERT_EQ(pressedButton(), 0);
    // A cutscene swallows the frame in which the mouse button comes up.
    SDL_Event up = MouseButton(kUp, 15, 25);
    SDL_PushEvent(&up);
    PumpEvents();
    ConsumeEvents();
    updateWidgets();
    EXPECT_EQ(pressedButton(), -1);
    EXPECT_EQ(clickedButton(), -1);
    Frame(15, 25);
    EXPECT_EQ(pressedButton(), -1) << "nothing steps on as if held";
}

TEST_F(WidgetsTest, LooksFollowTheMouseAndAPressedButtonKeepsItsLookWhenDraggedOff) {
    Image normal = Swatch(20, 20), hover = Swatch(20, 20), pressedLook = Swatch(20, 20);
    Button* button = addButton(std::make_unique<Button>(normal, 10, 20, 20, 20, 5));
    button->setHoverImage(hover);
    button->setPressedImage(pressedLook);
    auto shown = [] {
        EXPECT_EQ(FrameDrawQueue().Size(), 1u);
        const DrawRequest& r = FrameDrawQueue().Requests().front();
        EXPECT_EQ(r.depth, 5);
        EXPECT_FALSE(r.useXY);
        return r.image.surface.get();
    };

    Frame(0, 0);
    EXPECT_EQ(shown(), normal.surface.get());
    EXPECT_EQ(hoveredButton(), -1);
    Frame(15, 25);
    EXPECT_EQ(shown(), hover.surface.get());
    EXPECT_EQ(hoveredButton(), 0);
    Frame(15, 25, {kDown});
    EXPECT_EQ(shown(), pressedLook.surface.get());
    EXPECT_EQ(pressedButton(), 0);
    Frame(60, 60);
    EXPECT_EQ(shown(), pressedLook.surface.get());
    EXPECT_EQ(hoveredButton(), 0);  // still hovered until released
    EXPECT_EQ(pressedButton(), 0);
    Frame(60, 60, {kUp});
    EXPECT_EQ(pressedButton(), -1);
    Frame(60, 60);
    EXPECT_EQ(shown(), normal.surface.get());
    EXPECT_EQ(hoveredButton(), -1);
}

TEST_F(WidgetsTest, OverlappingButtonsAllUpdateAndTheEarliestRegisteredWins) {
    Button* first = addButton(std::make_unique<Button>(Swatch(8, 8), 0, 0, 100, 100, 0));
    Button* second = addButton(std::make_unique<Button>(Swatch(8, 8), 50, 50, 100, 100, 0));
    Frame(60, 60, {kDown});
    Frame(60, 60, {kUp});
    EXPECT_TRUE(first->isClicked());
    EXPECT_TRUE(second->isClicked());
    EXPECT_EQ(clickedButton(), 0);

    // Taken out of the list, a button is the caller's again and the indices close up.
    std::unique_ptr<Button> taken = removeButton(first);
    EXPECT_EQ(taken.get(), first);
    EXPECT_EQ(removeButton(first), nullptr) << "no longer listed";
    EXPECT_EQ(clickedButton(), 0);
    Frame(120, 120, {kDown});
    EXPECT_EQ(pressedButton(), 0);
}

// Counts deletions, to show what the lists own.
struct CountedButton : Button {
    explicit CountedButton(int& deleted) : deleted(deleted) {}
    ~CountedButton() override { ++deleted; }
    int& deleted;
};

TEST_F(WidgetsTest, ListsOwnTheirWidgetsAndALayerSetsThemAside) {
    int deleted = 0;
    addButton(std::make_unique<CountedButton>(deleted));
    auto* kept = addButton(std::make_unique<CountedButton>(deleted));
    addImageWidget(std::make_unique<ImageWidget>(Swatch(4, 4), 7, 9, 11));
    {
        WidgetLayer layer;
        addButton(std::make_unique<CountedButton>(deleted));
        Frame(0, 0);
        EXPECT_EQ(FrameDrawQueue().Size(), 1u);  // only the layer's own button
    }
    EXPECT_EQ(deleted, 1);

    Frame(0, 0);
    ASSERT_EQ(FrameDrawQueue().Size(), 3u);
    const DrawRequest& picture = FrameDrawQueue().Requests().back();
    EXPECT_EQ(picture.x, 7);
    EXPECT_EQ(picture.y, 9);
    EXPECT_EQ(picture.depth, 11);

    std::unique_ptr<Button> taken = removeButton(kept);
    clearWidgets();
    EXPECT_EQ(deleted, 2);
    taken.reset();
    EXPECT_EQ(deleted, 3);
    Frame(0, 0);
    EXPECT_EQ(FrameDrawQueue().Size(), 0u);
}

// A screen left mid-click: the press dies with its button and never clicks the next screen's.
TEST_F(WidgetsTest, ClearingAHoveredPressedButtonLeavesNothingBehind) {
    int deleted = 0;
    addButton(std::make_unique<CountedButton>(deleted))->setRect(10, 20, 20, 20);
    Frame(15, 25, {kDown});
    ASSERT_EQ(hoveredButton(), 0);
    ASSERT_EQ(pressedButton(), 0);
    clearWidgets();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(hoveredButton(), -1);
    EXPECT_EQ(pressedButton(), -1);

    addButton(std::make_unique<Button>(Swatch(20, 20), 10, 20, 20, 20, 5));
    Frame(15, 25, {kUp});
    EXPECT_EQ(clickedButton(), -1);
    EXPECT_EQ(hoveredButton(), 0);
}

TEST_F(WidgetsTest, SoftwareCursor) {
    struct Case {
        bool installed, visible, focused;
        bool drawn;
        int systemCursor;
    };
    const Case cases[] = {
        {true, true, true, true, SDL_DISABLE},
        {true, false, true, false, SDL_DISABLE},
        {true, true, false, false, SDL_DISABLE},
        {false, true, true, false, SDL_ENABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.installed << c.visible << c.focused);
        Frame(100, 120);
        if (c.installed)
            InstallCursor(Swatch(14, 19));
        else
            RemoveCursor();
        SetCursorShown(c.visible);
        platform::SetScriptedFocus(c.focused);
        FrameDrawQueue().Clear();
        updateWidgets();
        EXPECT_EQ(FrameDrawQueue().Size(), c.drawn ? 1u : 0u);
        if (c.drawn) {
            const DrawRequest& r = FrameDrawQueue().Requests().front();
            EXPECT_EQ(r.x, 100);
            EXPECT_EQ(r.y, 120);
            EXPECT_EQ(r.depth, -1000000);
        }
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), c.systemCursor);
        platform::SetScriptedFocus(true);
    }
}

TEST_F(WidgetsTest, TextButtonTakesItsSizeFromItsCaption) {
    auto button = std::make_unique<TextButton>();
    SDL_Rect r = button->getRect();
    EXPECT_EQ(r.w, 0);
    EXPECT_EQ(r.h, 0);
    button->setText("");
    EXPECT_EQ(button->getRect().w, 0);

    button->setFont(InterfaceFontPath(), 36);
    button->setText("PLAY");
    int w = 0, h = 0;
    TTF_SizeText(OpenFont(InterfaceFontPath(), 36).get(), "PLAY", &w, &h);
    r = button->getRect();
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);

    // Registered and hovered, it shows one of its rendered looks.
    TextButton* shown = addButton(std::move(button));
    shown->setRect(200 - r.w / 2, 100, r.w, r.h);
    Frame(200, 105);
    ASSERT_EQ(FrameDrawQueue().Size(), 1u);
    EXPECT_EQ(FrameDrawQueue().Requests().front().image.frameWidth, w);
}

TEST_F(WidgetsTest, FontFailures) {
    TextButton button;
    try {
        button.setFont("GUI/NoSuchFont.ttf", 24);
        FAIL() << "no error";
    } catch (const platform::GameError& error) {
        EXPECT_EQ(error.Message(), "Failed to open font GUI/NoSuchFont.ttf!");
    }
    try {
        button.setText("PLAY");
        FAIL() << "no error";
    } catch (const platform::GameError& error) {
        EXPECT_EQ(error.Message(), "No font!");
    }
    TextLabel label;
    EXPECT_THROW(label.setFont("", 24), platform::GameError);
}

}  // namespace
