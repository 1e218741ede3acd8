// Parses arbitrary bytes as the simulator's move list ("L, U, Right").
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "tools/sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Guarded([&] { ParseMoves(fuzz::Bytes(data, size)); });
    return 0;
}
