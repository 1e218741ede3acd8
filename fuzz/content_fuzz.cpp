// Feeds arbitrary bytes to the key-line reader, the list-line parsers and the content-file
// loader, then builds whatever levels came of it. Content errors are expected; crashes,
// leaks and undefined behaviour are not.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "content/key_lines.h"
#include "content/level_template.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "content/dialog.h"
#include "dialog/dialogs.h"
#include "fuzz/fuzz_support.h"
#include "world/world.h"

namespace {

// The key-line readers also give standard exceptions for a missing key or a number out of range.
template <class F>
void Guarded(F f) {
    try {
        fuzz::Guarded(f);
    } catch (const std::exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartVideo();
    // A scratch game folder with small pictures that sprite sections may name.
    fuzz::EnterScratchFolder();
    std::filesystem::create_directories("Modules/F");
    fuzz::WritePictures();
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

    fuzz::WriteFile("./Modules/F/fuzz.ini", bytes);
    Guarded([] { LoadContentFile("./Modules/F/fuzz.ini"); });
    ModuleRegistry& registry = Registry();
    for (int index : registry.TemplatesOfType("Level"))
        Guarded([&] { registry.BuildLevel(registry.NameAt(index), TheWorld()); });
    for (int i = 0; i < registry.Count(); ++i)
        Guarded([&] { registry.Instantiate(registry.TypeAt(i), registry.NameAt(i)); });

    TheWorld().Clear();
    DeleteAllDialogs();
    registry.Clear();
    return 0;
}
