#pragma once
// The level editor driven frame by frame through the real main loop, on the small workshop
// module (tests/fixtures/editor_module) with pictures made on the spot.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "game/app.h"
#include "game/screens.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "play/play.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "widgets/file_chooser.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/render.h"
#include "world/world.h"

enum ToolButton {
    kPrevModule, kNextModule, kPrevDef, kNextDef, kSave, kCenter, kCleanup, kTest, kLoad, kLink, kPreview, kLevel, kSolve
};
inline int ToolX(int tool) {
    const int xs[] = {0, 212, 236, 448, 472, 496, 520, 544, 568, 592, 616, 164, 188};
    return xs[tool] + 12;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        namespace fs = std::filesystem;
        fs::copy(fs::path(QM_GAME_DIR) / "GUI", dir / "GUI", fs::copy_options::recursive);
        fs::copy(fs::path(QM_FIXTURES_DIR) / "editor_module/Modules", dir / "Modules", fs::copy_options::recursive);
        std::filesystem::create_directories(dir / "Art");
        Picture("Art/Block.png", 24, 24, {176, 118, 62, 255});
        Picture("Art/Button.png", 24, 12, {242, 172, 64, 255});
        Picture("Art/Door.png", 12, 48, {38, 110, 128, 255});
        Picture("Art/Floor.png", 240, 12, {58, 44, 102, 255});
        working.emplace(dir.Path());
        Registry().Clear();
        ASSERT_TRUE(LoadAllModules());
        ResetGameState();
        ResetEditorState();
        TheWorld().Clear();
        SetFixedTimerStep(1.0);
        platform::SetScriptedFocus(true);
        ClearFileChooserAnswers();
        // Frames are presented, so each one's drawing is used up as in the game.
        screenBefore = ScreenSurface();
        SetScreenSurface(SDL_GetVideoSurface());
        FrameDrawQueue().Clear();
    }
    void TearDown() override {
        if (CurrentState() == GameState::LevelEditor)
            EditorExit();
        clearWidgets();
        TheWorld().Clear();
        TheWorld().levelStatus = LevelStatus::NotPlaying;
        DeleteAllDialogs();
        Registry().Clear();
        ResetGameState();
        ResetEditorState();
        ConsumeEvents();
        SetFixedTimerStep(0);
        platform::SetScriptedFocus(false);
        ClearFileChooserAnswers();
        SetScreenSurface(screenBefore);
        FrameDrawQueue().Clear();
        working.reset();
    }

    void Picture(const std::string& path, int w, int h, Rgba colour) { Canvas(w, h, colour).WritePng((dir / path).string()); }

    // The editor on a new level, or on a level loaded as the browser's Load does it.
    void OpenEditor() {
        try {
            SetState(GameState::LevelEditor);
        } catch (const platform::GameError& error) {
            FAIL() << error.Message();
        }
    }
    void OpenEditorOn(const std::string& level) {
        ThePlaySession().levelName = level;
        BuildLevel(level);
        SetEditorHoldsLevel(true);
        SetState(GameState::LevelEditor);
    }

    static void Push(const SDL_Event& e) {
        SDL_Event copy = e;
        SDL_PushEvent(&copy);
    }
    static void Move(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        Push(e);
    }
    static void MouseButton(Uint8 type, int button, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = static_cast<Uint8>(button);
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        Push(e);
    }
    static void Key(Uint8 type, int sym, int unicode = 0) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = static_cast<SDLKey>(sym);
        e.key.keysym.unicode = static_cast<Uint16>(unicode);
        Push(e);
    }
    // Typed as a keyboard types it: the key and the character it makes.
    void Type(const std::string& text) {
        for (char c : text) {
            Key(SDL_KEYDOWN, std::tolower(static_cast<unsigned char>(c)), static_cast<unsigned char>(c));
            Key(SDL_KEYUP, std::tolower(static_cast<unsigned char>(c)));
        }
        Frame();
    }
    // The colour the last presented frame shows at a point.
    static std::vector<int> ScreenRgb(int x, int y) {
        SDL_Surface* screen = SDL_GetVideoSurface();
        Uint8 r, g, b;
        SDL_LockSurface(screen);
        Uint32 v = 0;
        std::memcpy(&v, static_cast<Uint8*>(screen->pixels) + y * screen->pitch + x * screen->format->BytesPerPixel,
                    screen->format->BytesPerPixel);
        SDL_UnlockSurface(screen);
        SDL_GetRGB(v, screen->format, &r, &g, &b);
        return {r, g, b};
    }
    // A level of its own, loaded from a file as the browser's Load would find it.
    void OpenEditorOnFile(const std::string& file, const std::string& text, const std::string& level) {
        test::WriteFile(dir / file, text);
        LoadContentFile("./" + file);
        OpenEditorOn(level);
    }
    // Content errors reach the test as their message.
    bool Frame() {
        try {
            return RunFrame();
        } catch (const platform::GameError& error) {
            ADD_FAILURE() << error.Message();
            return false;
        }
    }

    void Hover(int x, int y) {
        Move(x, y);
        Frame();
    }
    // A left or right click in the workspace acts in the frame of the press.
    void Click(int x, int y, int button = SDL_BUTTON_LEFT) {
        Move(x, y);
        MouseButton(SDL_MOUSEBUTTONDOWN, button, x, y);
        Frame();
        MouseButton(SDL_MOUSEBUTTONUP, button, x, y);
        Frame();
    }
    void Wheel(int x, int y, int button) {
        Move(x, y);
        MouseButton(SDL_MOUSEBUTTONDOWN, button, x, y);
        Frame();
    }
    // A toolbar button reports its click after the release; the editor reads it next frame.
    void Tool(int tool) {
        Click(ToolX(tool), 14);
        Frame();
    }
    void ClickAt(int x, int y) {
        Click(x, y);
        Frame();
    }
    void PressKey(int sym) {
        Key(SDL_KEYDOWN, sym);
        Frame();
        Key(SDL_KEYUP, sym);
        Frame();
    }
    void Ctrl(int sym, bool shift = false) {
        Key(SDL_KEYDOWN, SDLK_LCTRL);
        if (shift)
            Key(SDL_KEYDOWN, SDLK_LSHIFT);
        Key(SDL_KEYDOWN, sym);
        Frame();
        Key(SDL_KEYUP, sym);
        if (shift)
            Key(SDL_KEYUP, SDLK_LSHIFT);
        Key(SDL_KEYUP, SDLK_LCTRL);
        Frame();
    }

    // "kind name x,y r from>to" of every object but the ghost, in World order.
    static std::vector<std::string> Layout() {
        std::vector<std::string> out;
        for (const LevelEntry& e : EditorLevelObjects())
            out.push_back(e.kind + " " + e.name + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " " +
                          std::to_string(e.rotation) + " " + e.linkFrom + ">" + e.linkTo);
        return out;
    }
    static Entity* Ghost() { return CurrentEditor().ghost; }

    test::ScratchDir dir;
    std::optional<test::WorkingDir> working;
    SDL_Surface* screenBefore = nullptr;
};
