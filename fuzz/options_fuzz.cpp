// Parses arbitrary bytes as the game's command line, one argument a line.
#include <cstdint>
#include <cstdlib>

#include "app/options.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Guarded([&] {
        // Whatever is accepted must be a value the game can run with.
        const GameOptions options = ParseOptions(fuzz::Split(fuzz::Bytes(data, size), "\n"));
        if (options.minFrameMs < 0 || options.maxFrames < -1)
            std::abort();
        for (const GameOptions::Shot& shot : options.shots)
            if (shot.frame < 0)
                std::abort();
    });
    return 0;
}
