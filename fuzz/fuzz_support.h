#pragma once
// What the fuzz targets share: a scratch folder of their own to work in, SDL on its dummy
// drivers, and a guard for the errors a reader is meant to give for bad input.
#include <SDL.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_error.h"
#include "platform/notice.h"
#include "platform/video_mode.h"

namespace fuzz {

// A fresh empty folder for this process, entered on the first call and removed at exit.
inline const std::filesystem::path& EnterScratchFolder() {
    struct Scratch {
        std::filesystem::path dir;
        Scratch() {
            dir = std::filesystem::temp_directory_path() / ("quillmere-fuzz-" + std::to_string(getpid()));
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            std::filesystem::current_path(dir);
        }
        ~Scratch() {
            std::error_code ec;
            std::filesystem::current_path(dir.parent_path(), ec);
            std::filesystem::remove_all(dir, ec);
        }
    };
    static const Scratch scratch;
    return scratch.dir;
}

// Dummy drivers always: a fuzz run never opens a window or a sound device.
inline void UseDummyDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// The 640x480 mode the game converts pictures for.
inline void StartVideo() {
    UseDummyDrivers();
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || platform::SetVideoMode(640, 480, 32, SDL_SWSURFACE) == nullptr)
        std::abort();
}

// Small pictures in the current folder that sprite sections may name, frames included.
inline void WritePictures() {
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xff0000, 0xff00, 0xff, 0xff000000);
    SDL_FillRect(picture, nullptr, 0xff806040);
    for (const char* name : {"p.bmp", "p0.bmp", "p1.bmp"})
        SDL_SaveBMP(picture, name);
    SDL_FreeSurface(picture);
}

inline std::string Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The pieces between `separator`s: one more than there are separators.
inline std::vector<std::string> Split(std::string_view bytes, std::string_view separator) {
    std::vector<std::string> pieces;
    std::size_t at = 0;
    for (std::size_t next; (next = bytes.find(separator, at)) != std::string_view::npos; at = next + separator.size())
        pieces.emplace_back(bytes.substr(at, next - at));
    pieces.emplace_back(bytes.substr(at));
    return pieces;
}

// Runs one input. The game's own error and a rejected argument are the outcomes bad input
// should have; anything else escapes and is a finding (the game itself catches nothing
// else). Notices are dropped so a long run does not keep every one.
template <class F>
void Guarded(F f) {
    try {
        f();
    } catch (const platform::GameError&) {
    } catch (const std::invalid_argument&) {
    }
    platform::TakeNotices();
}

}  // namespace fuzz
