// Reads arbitrary bytes as LevelList.txt.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "ui/level_select.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteFile("LevelList.txt", fuzz::Bytes(data, size));
    fuzz::Guarded([] {
        LevelTable table;
        ReadLevelList("LevelList.txt", table);
    });
    return 0;
}
