// Parses arbitrary bytes as a --script file and replays its frames into SDL's event queue.
#include <cstdint>

#include "app/script.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartVideo();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Guarded([&] {
        const InputScript script = InputScript::Parse(fuzz::Bytes(data, size), "fuzz.script");
        // Only the first frames: a script may name frames far apart.
        for (long frame = 0; frame <= script.LastFrame() && frame < 64; ++frame) {
            script.PushEventsFor(frame);
            script.ShotsFor(frame);
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    });
    return 0;
}
