#include "game/app.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "app/game_state.h"
#include "app/options.h"
#include "world/render.h"
#include "app/script.h"
#include "app/timer.h"
#include "content/registry.h"
#include "content/settings_file.h"
#include "game/screens.h"
#include "play/play.h"
#include "media/slideshow.h"
#include "play/story.h"
#include "platform/app_focus.h"
#include "platform/fatal_error.h"
#include "platform/game_error.h"
#include "platform/player_folder.h"
#include "widgets/file_chooser.h"

namespace {

// Keeps a frame from starting sooner than the minimum frame time after the last one,
// so menus don't spin a core and whole-millisecond timing stays meaningful.
class FramePacer {
public:
    explicit FramePacer(int minMs) : minMs(minMs), last(SDL_GetTicks()) {}
    void Wait() {
        if (minMs > 0) {
            Uint32 spent = SDL_GetTicks() - last;
            if (spent < static_cast<Uint32>(minMs))
                SDL_Delay(static_cast<Uint32>(minMs) - spent);
        }
        last = SDL_GetTicks();
    }

private:
    int minMs;
    Uint32 last;
};

// A scripted run keeps time by frames, 10 ms each, so timed pictures, held buttons and
// dialog slides land on the same frame in every run.
std::uint32_t scriptedTicks = 0;
std::uint32_t ScriptedTicks() { return scriptedTicks; }

void WriteFrame(const std::string& path) {
    if (SDL_Surface* screen = ScreenSurface(); screen == nullptr || SDL_SaveBMP(screen, path.c_str()) != 0)
        std::fprintf(stderr, "quillmere: couldn't write the frame to \"%s\"\n", path.c_str());
}

int RunSession(const GameOptions& options, const std::optional<InputScript>& script) {
    RegisterScreens();
    if (!StartUp()) {
        platform::ReportFatalError("ERROR", StartUpFailure());
        return 1;
    }
    SDL_Delay(250);
    if (!options.level.empty()) {
        const std::string level = Registry().LevelNamedAsTyped(options.level);
        if (level.empty())
            throw platform::GameError(Registry().LevelNotFoundMessage(options.level));
        ThePlaySession().levelName = level;
        SetState(GameState::Play);
    } else if (OpeningSeen()) {
        SetState(GameState::TitleMenu);
    } else {
        // Once in full; from then on it waits in the credits.
        SetOpeningSeen(true);
        StartOpeningCutscene();
    }
    FramePacer pacer(options.minFrameMs);
    long frame = 0;
    auto writeShots = [&](long shown) {
        for (const GameOptions::Shot& shot : options.shots)
            if (shot.frame == shown)
                WriteFrame(shot.path);
        if (script)
            for (const std::string& path : script->ShotsFor(shown))
                WriteFrame(path);
    };
    // The file chooser runs frames of its own; they count as game frames, so a script's
    // timing, its shots and the frame limit carry on through it.
    SetFileChooserFrameHook([&](int frameInChooser) {
        if (frameInChooser > 0)
            writeShots(frame);
        ++frame;
        if (options.maxFrames >= 0 && frame >= options.maxFrames)
            return false;
        if (script)
            script->PushEventsFor(frame);
        return true;
    });
    struct HookReset {
        ~HookReset() { SetFileChooserFrameHook(nullptr); }
    } hookReset;
    for (; options.maxFrames < 0 || frame < options.maxFrames; ++frame) {
        if (script)
            script->PushEventsFor(frame);
        if (!RunFrame())
            break;
        writeShots(frame);
        pacer.Wait();
        scriptedTicks += 10;
    }
    Shutdown();
    return 0;
}

}  // namespace

int RunGame(const std::vector<std::string>& args) {
    // A folder made under /tmp for want of the player's own goes when the game does.
    struct TemporaryFolderRemoval {
        ~TemporaryFolderRemoval() { platform::RemoveTemporaryGameFolder(); }
    } removal;
    GameOptions options;
    std::optional<InputScript> script;
    try {
        options = ParseOptions(args);
        if (options.showHelp) {
            std::fputs(HelpText().c_str(), stdout);
            return 0;
        }
        if (options.showVersion) {
            std::printf("quillmere %s\n", QUILLMERE_VERSION);
            return 0;
        }
        if (!options.dataDir.empty()) {
            if (chdir(options.dataDir.c_str()) != 0)
                throw std::invalid_argument("cannot open the game folder \"" + options.dataDir + "\"");
        } else if (std::optional<std::filesystem::path> folder = platform::InstalledGameFolder()) {
            // An installed game plays in the player's folder; a script named from where the
            // command was given is still found.
            if (!options.scriptPath.empty())
                options.scriptPath = std::filesystem::absolute(options.scriptPath).string();
            if (chdir(folder->c_str()) != 0)
                throw std::invalid_argument("cannot open the game folder \"" + folder->string() + "\"");
        }
        if (!options.scriptPath.empty())
            script = InputScript::Load(options.scriptPath);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "quillmere: %s\n", e.what());
        return 2;
    }
    if (script || options.fixedStep)
        SetFixedTimerStep(1.0);
    if (script) {
        SetTickSource(ScriptedTicks);
        platform::SetScriptedFocus(true);
        platform::SetFatalErrorWaits(false);
    }

    try {
        return RunSession(options, script);
    } catch (const platform::GameError& e) {
        platform::ReportFatalError(platform::TierWord(e.Tier()), e.Message());
    } catch (const std::exception& e) {
        platform::ReportFatalError(platform::TierWord(platform::ErrorTier::Exception), e.what());
    }
    ReleaseAfterFatalError();
    return 1;
}
