// Composes, renders and encodes the game's music into the resource folder. Kept apart from
// the picture generator so that redrawing a picture never re-encodes a minute of music.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "tools/assetgen/music/compose.h"

int main(int argc, char** argv) {
    std::filesystem::path resources;
    std::string only;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key == "--resources")
            resources = argv[i + 1];
        else if (key == "--only")
            only = argv[i + 1];
    }
    if (resources.empty()) {
        std::fprintf(stderr, "usage: quillmere-musicgen --resources DIR [--only TRACK]\n");
        return 2;
    }
    const auto& tracks = music::AllTracks();
    std::filesystem::create_directories(resources / "music");
    auto started = std::chrono::steady_clock::now();
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::string failure;
    auto work = [&]() {
        for (std::size_t i = next++; i < tracks.size(); i = next++) {
            const music::TrackPlan& plan = tracks[i];
            if (!only.empty() && plan.name != only)
                continue;
            try {
                music::RenderedTrack track = music::Render(plan);
                std::string bytes = music::EncodeVorbis(track.audio, music::kRate, 0.3f, static_cast<int>(plan.seed), plan.name);
                std::filesystem::path path = resources / "music" / (plan.name + ".ogg");
                std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                std::printf("  %-10s %5.1f s  %4zu KiB\n", plan.name.c_str(), track.seconds, bytes.size() / 1024);
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> lock(failureLock);
                failure = plan.name + ": " + e.what();
            }
        }
    };
    unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned w = 0; w < workers; ++w)
        pool.emplace_back(work);
    for (std::thread& t : pool)
        t.join();
    if (!failure.empty()) {
        std::fprintf(stderr, "quillmere-musicgen: %s\n", failure.c_str());
        return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("music: %zu tracks in %.1f s\n", tracks.size(), seconds);
    return 0;
}
