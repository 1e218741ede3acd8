// Reads arbitrary bytes as the save data file over a small campaign, then asks and writes it back.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "play/save_data.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteFile("SaveData.sav", fuzz::Bytes(data, size));
    fuzz::Guarded([] {
        SaveData save;
        save.Build({"Level01", "Level02", "Level03"});
        if (save.Read("SaveData.sav")) {
            for (const char* name : {"Level01", "Level02", "Level03", "Elsewhere"}) {
                save.IsCompleted(name);
                save.BestTurns(name);
            }
            save.RecordResult("Level02", 1, 7);
            save.Write("SaveData.sav");
        }
    });
    return 0;
}
