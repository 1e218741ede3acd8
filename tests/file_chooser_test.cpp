#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/input.h"
#include "platform/app_focus.h"
#include "tests/play_fixture.h"
#include "tests/test_support.h"
#include "widgets/file_chooser.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"

namespace {

namespace fs = std::filesystem;

TEST(FileChooserPieces, PatternsAndDefaultExtension) {
    struct Match {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Match matches[] = {
        {"run.rpl", "*.rpl", true},       {"RUN.RPL", "*.rpl", true},       {"run.rpl.bak", "*.rpl", false},
        {"rpl", "*.rpl", false},          {".rpl", "*.rpl", true},          {"level.ini", "*.rpl;*.ini", true},
        {"level.ini", "*.rpl; *.ini", true}, {"a1.rpl", "a?.rpl", true},    {"a12.rpl", "a?.rpl", false},
        {"anything", "", true},           {"x.aab", "*a*b", true},          {"x.aba", "*a*b", false},
    };
    for (const Match& m : matches)
        EXPECT_EQ(MatchesFilePattern(m.name, m.pattern), m.matches) << m.name << " ~ " << m.pattern;

    struct Extension {
        const char* name;
        const char* extension;
        const char* result;
    };
    const Extension extensions[] = {
        {"mine", ".rpl", "mine.rpl"},      {"mine.dat", ".rpl", "mine.dat"}, {"mine", "ini", "mine.ini"},
        {"old.d/mine", ".rpl", "old.d/mine.rpl"}, {"mine", "", "mine"},
    };
    for (const Extension& e : extensions)
        EXPECT_EQ(WithDefaultExtension(e.name, e.extension), e.result) << e.name;
}

SDL_Event KeyDown(int sym, int unicode = 0) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.type = SDL_KEYDOWN;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    e.key.keysym.unicode = static_cast<Uint16>(unicode);
    return e;
}

// The real chooser, answered by events already waiting in SDL's queue, in a folder of
// its own that holds a few files.
class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        fs::create_directories(dir / "GUI");
        fs::copy_file(fs::path(QM_GAME_DIR) / "GUI" / "Qhytsdakx.ttf", dir / "GUI" / "Qhytsdakx.ttf");
        for (const char* name : {"two.rpl", "one.rpl", "three.RPL", "notes.txt"})
            test::WriteFile(dir / name, "Main/Level 1\n");
        fs::create_directories(dir / "folder.rpl");
        inDir = std::make_unique<test::WorkingDir>(dir.Path());
        PumpEvents();
        ClearFileChooserAnswers();
    }
    void TearDown() override {
        inDir.reset();
        SetFileChooserFrameHook(nullptr);
        clearWidgets();
        FrameDrawQueue().Clear();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    static void Push(std::initializer_list<SDL_Event> events) {
        for (SDL_Event e : events)
            SDL_PushEvent(&e);
    }
    static void Type(const std::string& text) {
        for (char c : text)
            Push({KeyDown(c, c)});
    }

    test::ScratchDir dir;
    std::unique_ptr<test::WorkingDir> inDir;
};

TEST_F(FileChooserTest, PresetAnswersAreTakenInOrder) {
    SetFileChooserAnswer("first.rpl");
    SetFileChooserAnswer(std::nullopt);
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), "first.rpl");
    EXPECT_EQ(ChooseFileToSave("Save Replay", "*.rpl", ".rpl"), std::nullopt);
    EXPECT_EQ(ListMatchingFiles("*.rpl"), (std::vector<std::string>{"one.rpl", "three.RPL", "two.rpl"}));
}

TEST_F(FileChooserTest, ArrowKeysChooseAFileToOpen) {
    Push({KeyDown(SDLK_DOWN), KeyDown(SDLK_DOWN), KeyDown(SDLK_DOWN), KeyDown(SDLK_UP), KeyDown(SDLK_RETURN)});
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), "three.RPL");
}

TEST_F(FileChooserTest, TypedNamesTakeTheDefaultExtension) {
    Type("one");
    Push({KeyDown(SDLK_RETURN)});
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), "one.rpl");

    Type("my run");
    Push({KeyDown(SDLK_RETURN)});
    EXPECT_EQ(ChooseFileToSave("Save Replay", "*.rpl", ".rpl"), "my run.rpl");

    // Unsafe characters are not typed; backspace takes the last one back.
    Type("a/b:c.datx");
    Push({KeyDown(SDLK_BACKSPACE), KeyDown(SDLK_RETURN)});
    EXPECT_EQ(ChooseFileToSave("Save Replay", "*.rpl", ".rpl"), "abc.dat");
}

TEST_F(FileChooserTest, OpenRefusesWhatIsNotAFileAndEscapeCancels) {
    // Enter on nothing, on a missing file and on a folder: the chooser stays until Escape.
    Push({KeyDown(SDLK_RETURN)});
    Type("missing");
    Push({KeyDown(SDLK_RETURN)});
    for (int i = 0; i < 7; ++i)
        Push({KeyDown(SDLK_BACKSPACE)});
    Type("folder");
    Push({KeyDown(SDLK_RETURN), KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), std::nullopt);
    Push({KeyDown(SDLK_RETURN)});
    Type("folder");
    Push({KeyDown(SDLK_RETURN), KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(ChooseFileToSave("Save Replay", "*.rpl", ".rpl"), std::nullopt);
}

TEST_F(FileChooserTest, ClosingTheWindowCancelsAndStillEndsTheGame) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push({quit});
    EXPECT_EQ(ChooseFileToSave("Save Replay", "*.rpl", ".rpl"), std::nullopt);
    PumpEvents();
    EXPECT_TRUE(EventOccurred(SDL_QUIT));
}

TEST_F(FileChooserTest, TheCallingScreenIsLeftAsItWas) {
    Button* screenButton = addButton(std::make_unique<Button>());
    FrameDrawQueue().Add(1, 2, 3, false, Image());
    int frames = 0;
    SetFileChooserFrameHook([&frames](int frame) {
        EXPECT_EQ(frame, frames);
        return ++frames < 3;
    });
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), std::nullopt);
    EXPECT_EQ(frames, 3);
    ASSERT_EQ(FrameDrawQueue().Size(), 1u);
    EXPECT_EQ(FrameDrawQueue().Requests().front().depth, 3);
    // The lists hold the screen's button again, and nothing of the chooser's.
    EXPECT_EQ(removeButton(screenButton).get(), screenButton);
    updateWidgets();
    EXPECT_EQ(FrameDrawQueue().Size(), 1u);
}

TEST_F(FileChooserTest, ClickingARowTwiceOpensIt) {
    // The list's first row starts at y 100; the second row is a row height below.
    platform::SetScriptedFocus(true);
    auto mouse = [](Uint8 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.type = type;
            e.motion.x = static_cast<Uint16>(x);
            e.motion.y = static_cast<Uint16>(y);
        } else {
            e.button.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = static_cast<Uint16>(x);
            e.button.y = static_cast<Uint16>(y);
        }
        return e;
    };
    SetFileChooserFrameHook([&](int frame) {
        if (frame == 1)
            Push({mouse(SDL_MOUSEMOTION, 200, 145)});
        if (frame == 2 || frame == 4)
            Push({mouse(SDL_MOUSEBUTTONDOWN, 200, 145)});
        if (frame == 3 || frame == 5)
            Push({mouse(SDL_MOUSEBUTTONUP, 200, 145)});
        return frame < 50;
    });
    EXPECT_EQ(ChooseFileToOpen("Load Replay", "*.rpl", ".rpl"), "three.RPL");
    platform::SetScriptedFocus(false);
}

TEST_F(FileChooserTest, FoldersAreBrowsedBelowTheWorkingFolderOnly) {
    platform::SetScriptedFocus(true);
    FileChooserRequest request;
    request.title = "Save Replay";
    request.pattern = "*.rpl";
    request.defaultExtension = ".rpl";
    request.browseFolders = true;
    request.startFolder = "../..";  // above the top: starts at the top
    request.lists = [](const std::string&, const std::string& name) { return name != "two.rpl"; };
    request.refuses = [](const std::string& path) { return path.ends_with("one.rpl") ? "Taken." : ""; };
    request.refusesFolder = [](const std::string&, const std::string& name) { return name == "bad" ? "No." : ""; };

    // The rows: GUI/, folder.rpl/, one.rpl, three.RPL; two.rpl is not listed.
    for (int i = 0; i < 5; ++i)
        Push({KeyDown(SDLK_DOWN)});
    Push({KeyDown(SDLK_RETURN)});
    EXPECT_EQ(ChooseFileToSave(request), "three.RPL");

    auto mouse = [](Uint8 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.motion.x = e.button.x = static_cast<Uint16>(x);
        e.motion.y = e.button.y = static_cast<Uint16>(y);
        e.button.button = SDL_BUTTON_LEFT;
        if (type == SDL_MOUSEMOTION)
            e.motion.type = type;
        return e;
    };
    SetFileChooserFrameHook([&](int frame) {
        if (frame == 1)  // into folder.rpl, back up, and in again
            Push({KeyDown(SDLK_HOME), KeyDown(SDLK_DOWN), KeyDown(SDLK_RETURN), KeyDown(SDLK_HOME), KeyDown(SDLK_RETURN),
                  KeyDown(SDLK_HOME), KeyDown(SDLK_DOWN), KeyDown(SDLK_RETURN)});
        if (frame == 2) {  // refused, then "bad" refused as a folder: the chooser stays
            Type("one");
            Push({KeyDown(SDLK_RETURN), KeyDown(SDLK_BACKSPACE), KeyDown(SDLK_BACKSPACE), KeyDown(SDLK_BACKSPACE)});
            Type("bad");
            Push({mouse(SDL_MOUSEMOTION, 320, 406)});
        }
        if (frame == 3 || frame == 6)
            Push({mouse(SDL_MOUSEBUTTONDOWN, 320, 406)});
        if (frame == 4 || frame == 7)
            Push({mouse(SDL_MOUSEBUTTONUP, 320, 406)});
        if (frame == 5) {
            Push({KeyDown(SDLK_BACKSPACE), KeyDown(SDLK_BACKSPACE), KeyDown(SDLK_BACKSPACE)});
            Type("sub");
        }
        if (frame == 9) {  // in the new folder "sub"
            Type("x");
            Push({KeyDown(SDLK_RETURN)});
        }
        return frame < 50;
    });
    EXPECT_EQ(ChooseFileToSave(request), "folder.rpl/sub/x.rpl");
    EXPECT_FALSE(fs::exists(dir / "folder.rpl/sub")) << "a new folder is made only by saving into it";
    platform::SetScriptedFocus(false);
}

}  // namespace

namespace {

// The real program: a replay saved during play through the chooser, typed in by a script
// whose timing runs on through the chooser's own frames.
TEST(FileChooserProgram, AScriptTypesTheNameOfASavedReplay) {
    test::ScratchDir dir;
    WritePlayGameFolder(dir.Path());
    test::WriteFile(dir / "script.txt",
                    "20 key 275\n"
                    "60 key 290\n"  // Save Replay opens the chooser
                    "64 key 109\n65 key 105\n66 key 110\n67 key 101\n"
                    "69 shot " + (dir / "chooser.bmp").string() + "\n"
                    "70 key 13\n"
                    // The level is not over: the first close asks, the second is the answer.
                    "90 quit\n"
                    "92 quit\n");
    test::RunResult r = test::RunGameBinary({"--data", dir.Path().string(), "--level", "Play/Slide", "--script",
                                             (dir / "script.txt").string(), "--uncapped"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(test::ReadFile(dir / "mine.rpl"), "Play/Slide\nRight\n");
    EXPECT_TRUE(fs::exists(dir / "chooser.bmp")) << "shots are taken in the chooser's frames too";
}

}  // namespace
