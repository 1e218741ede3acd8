// Reads arbitrary bytes as Settings.ini, then writes the settings back.
#include <cstdint>

#include "content/settings_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseDummyDrivers();
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteFile("Settings.ini", fuzz::Bytes(data, size));
    fuzz::Guarded([] {
        LoadSettings();
        SettingsText();
    });
    return 0;
}
