// Loads arbitrary bytes as a module: the pieces between "---" lines are its Include.ini, then
// 1.ini, 2.ini and so on, which the Include.ini may name. Whatever levels came of it are built.
#include <cstdint>
#include <filesystem>

#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "fuzz/fuzz_support.h"
#include "world/world.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartVideo();
    fuzz::EnterScratchFolder();
    fuzz::WritePictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path dir = "Modules/F";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::vector<std::string> files = fuzz::Split(fuzz::Bytes(data, size), "\n---\n");
    fuzz::WriteFile(dir / "Include.ini", files[0]);
    for (std::size_t i = 1; i < files.size(); ++i)
        fuzz::WriteFile(dir / (std::to_string(i) + ".ini"), files[i]);

    fuzz::Guarded([] { LoadModule("./Modules/F"); });
    ModuleRegistry& registry = Registry();
    for (int index : registry.TemplatesOfType("Level"))
        fuzz::Guarded([&] { registry.BuildLevel(registry.NameAt(index), TheWorld()); });

    TheWorld().Clear();
    DeleteAllDialogs();
    registry.Clear();
    return 0;
}
