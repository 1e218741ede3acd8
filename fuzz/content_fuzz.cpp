// Feeds arbitrary bytes to the key-line reader, the list-line parsers and the content-file
// loader, then builds whatever levels came of it. Content errors are expected; crashes,
// leaks and undefined behaviour are not.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "content/key_lines.h"
#include "content/level_template.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "content/dialog.h"
#include "dialog/dialogs.h"
#include "platform/game_error.h"
#include "world/world.h"

namespace {

template <class F>
void Guarded(F f) {
    try {
        f();
    } catch (const platform::GameError&) {
    } catch (const std::exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || SDL_SetVideoMode(640, 480, 32, 0x10001) == nullptr)
        std::abort();
    // A scratch game folder with small pictures that sprite sections may name, frames included.
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quillmere-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "Modules/F");
    std::filesystem::current_path(dir);
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xff0000, 0xff00, 0xff, 0xff000000);
    SDL_FillRect(picture, nullptr, 0xff806040);
    for (const char* name : {"p.bmp", "p0.bmp", "p1.bmp"})
        SDL_SaveBMP(picture, name);
    SDL_FreeSurface(picture);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::istringstream text(bytes);
    for (const char* key : {"Name", "Width", "SpritePath", "A"}) {
        Guarded([&] { ReadString(text, key, ""); });
        Guarded([&] { ReadInt(text, key, -1); });
        Guarded([&] { ReadBool(text, key, 1); });
    }
    std::istringstream lines(bytes);
    std::string line;
    while (ReadLine(lines, line)) {
        Guarded([&] { ParseLevelEntry(line); });
        ParseMessage(line);
    }

    std::ofstream("./Modules/F/fuzz.ini", std::ios::binary) << bytes;
    Guarded([] { LoadContentFile("./Modules/F/fuzz.ini"); });
    ModuleRegistry& registry = Registry();
    for (int index : registry.TemplatesOfType("Level"))
        Guarded([&] { registry.BuildLevel(registry.NameAt(index)); });
    for (int i = 0; i < registry.Count(); ++i)
        Guarded([&] { registry.Instantiate(registry.TypeAt(i), registry.NameAt(i)); });

    TheWorld().Clear();
    DeleteAllDialogs();
    registry.Clear();
    return 0;
}
