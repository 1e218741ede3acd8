#pragma once
// 16-bit PCM WAV files from float samples (-1..1, interleaved when stereo). Header-only so
// the generator and the tests that need a sample on disk can both use it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace wav {

inline std::string Encode(const std::vector<float>& samples, int rate, int channels) {
    std::string out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out += "RIFF";
    put(36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(static_cast<std::uint32_t>(channels), 2);
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate * channels * 2), 4);
    put(static_cast<std::uint32_t>(channels * 2), 2);
    put(16, 2);
    out += "data";
    put(dataBytes, 4);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))), 2);
    }
    return out;
}

inline void Write(const std::filesystem::path& path, const std::vector<float>& samples, int rate, int channels) {
    if (!path.parent_path().empty())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    std::string bytes = Encode(samples, rate, channels);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        throw std::runtime_error("couldn't write " + path.string());
}

}  // namespace wav
