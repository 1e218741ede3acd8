// Wraps arbitrary text into a box: the first byte picks the box width, the rest (at most
// 2,000 bytes, so a run stays quick) is the text.
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "widgets/text_label.h"
#include "world/draw_queue.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartVideo();
    if (TTF_Init() != 0)
        std::abort();
    // The interface font, where the label looks for it from its game folder.
    fuzz::EnterScratchFolder();
    std::filesystem::create_directories("GUI");
    std::filesystem::copy_file(QM_SOURCE_DATA_DIR "/GUI/Qhytsdakx.ttf", InterfaceFontPath(),
                               std::filesystem::copy_options::overwrite_existing);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int box = data[0] * 3 - 1;  // -1 (no box) up to 764 pixels
    const std::string text = fuzz::Bytes(data + 1, std::min<std::size_t>(size - 1, 2000));
    fuzz::Guarded([&] {
        TextLabel label;
        label.setBoxWidth(box);
        label.setWrap(true);
        label.setCentred(data[0] % 2 == 0);
        label.setText(text);
        label.draw();
    });
    FrameDrawQueue().Clear();
    return 0;
}
