// Reads arbitrary bytes as a replay file.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "play/replay.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteFile("fuzz.rep", fuzz::Bytes(data, size));
    fuzz::Guarded([] {
        if (std::optional<ReplayFile> replay = ReadReplayFile("fuzz.rep"))
            for (const std::string& line : replay->moves)
                MoveNamed(line);
    });
    return 0;
}
