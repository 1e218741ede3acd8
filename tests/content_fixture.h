#pragma once
// A scratch game folder for content tests: pictures and sounds made on the spot, content files
// loaded through the real loader, and an empty registry before and after every test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "audio/music.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "platform/game_error.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"

class ContentTest : public ::testing::Test {
protected:
    ContentTest() : here(dir.Path()) {}
    void SetUp() override {
        Registry().Clear();
        DeleteAllDialogs();
    }
    void TearDown() override {
        Registry().Clear();
        DeleteAllDialogs();
    }

    // The mixer, for the tests that load sounds or start music.
    struct OpenMixer {
        OpenMixer() { EXPECT_TRUE(OpenAudio()); }
        ~OpenMixer() {
            StopMusic();
            CloseAudio();
        }
    };

    // A w x h picture with an opaque block, written to `path` under the scratch folder.
    static void Png(const std::string& path, int w, int h) {
        if (std::filesystem::path(path).has_parent_path())
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        Canvas c(w, h);
        c.FillRect(1, 1, w - 2, h - 2, {90, 70, 160, 255});
        c.WritePng(path);
    }

    // A short 8-bit mono WAV.
    static void Wav(const std::string& path) {
        std::string data(200, '\x80');
        for (std::size_t i = 0; i < data.size(); i += 8)
            data[i] = '\xc0';
        auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
        auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
        std::string wav = "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(22050) +
                          u32(22050) + u16(1) + u16(8) + "data" + u32(data.size()) + data;
        test::WriteFile(path, wav);
    }

    // Writes a content file under the scratch folder and loads it as the editor would.
    static void LoadFile(const std::string& path, const std::string& text) {
        std::filesystem::path p(path);
        if (p.has_parent_path())
            std::filesystem::create_directories(p.parent_path());
        test::WriteFile(path, text);
        LoadContentFile(path);
    }

    // Catches the content error text of `f`, or "" when it didn't throw one.
    template <class F>
    static std::string ErrorOf(F f) {
        try {
            f();
        } catch (const platform::GameError& error) {
            return error.Message();
        }
        return "";
    }

    // The committed test module under Modules/Main, with the pictures and sound it names.
    static void LayOutFixtureModule(const std::filesystem::path& root) {
        std::filesystem::copy(QM_FIXTURES_DIR "/content", root,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        const std::pair<const char*, std::pair<int, int>> pictures[] = {
            {"Reed", {8, 8}},   {"Crate", {16, 16}}, {"Shards", {16, 16}}, {"Marker", {16, 16}},
            {"Heron", {16, 16}}, {"Plate", {16, 4}},  {"Arrow", {16, 16}},  {"Gate", {16, 32}},
        };
        for (const auto& [name, size] : pictures)
            Png((root / "Fixture" / (std::string(name) + ".png")).string(), size.first, size.second);
        Wav((root / "Fixture" / "Splash.wav").string());
    }

    test::ScratchDir dir;
    test::WorkingDir here;
};
