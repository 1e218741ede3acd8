// Parses arbitrary bytes as the game's command line, one argument a line.
#include <cstdint>

#include "app/options.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Guarded([&] { ParseOptions(fuzz::Split(fuzz::Bytes(data, size), "\n")); });
    return 0;
}
