// Parses arbitrary bytes as the simulator's command line, one argument a line, with the
// move list a play command names.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "tools/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Guarded([&] {
        const SimArguments arguments = ParseSimArguments(fuzz::Split(fuzz::Bytes(data, size), "\n"));
        if (arguments.command == "play")
            ParseMoves(arguments.positional.at(1));
    });
    return 0;
}
