#include <gtest/gtest.h>

#include <SDL_image.h>

#include <chrono>
#include <cstdint>
#include <numeric>
#include <vector>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/directory.h"
#include "platform/fatal_error.h"
#include "platform/game_error.h"
#include "platform/open_link.h"
#include "platform/resources.h"
#include "tests/test_support.h"

namespace {

TEST(PlatformTest, EmbeddedIconsAreRealPictures) {
    for (auto [name, size] : {std::pair{"ICON_16x16", 16}, std::pair{"ICON_32x32", 32}}) {
        auto bytes = platform::FindResource(name, "ICON");
        ASSERT_TRUE(bytes.has_value()) << name;
        SDL_Surface* icon = IMG_Load_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
        ASSERT_NE(icon, nullptr) << name;
        EXPECT_EQ(icon->w, size);
        EXPECT_EQ(icon->h, size);
        SDL_FreeSurface(icon);
    }
    EXPECT_FALSE(platform::FindResource("ICON_16x16", "OGG").has_value()) << "the type is part of the key";
    EXPECT_FALSE(platform::FindResource("NOPE", "ICON").has_value());
}

// The player's report shows the tier's word and the whole message, even past a NUL that a
// content file's name may carry.
TEST(PlatformTest, GameErrorsKeepTheirTierAndWholeMessage) {
    const char raw[] = "Door \"A\0B\" not found!";
    const std::string message(raw, sizeof raw - 1);
    try {
        throw platform::GameError(message);
    } catch (const std::exception& e) {
        const auto& error = dynamic_cast<const platform::GameError&>(e);
        EXPECT_EQ(error.Message(), message);
        EXPECT_STREQ(platform::TierWord(error.Tier()), "ERROR");
    }
    EXPECT_STREQ(platform::TierWord(platform::GameError("x", platform::ErrorTier::Exception).Tier()), "EXCEPTION");
}

TEST(PlatformTest, DirectoryListingIsSortedAndTolerant) {
    test::ScratchDir dir;
    for (const char* d : {"Zeta", "Main", "MainExtra", "alpha"})
        std::filesystem::create_directories(dir / d);
    test::WriteFile(dir / "b.rpl", "x");
    test::WriteFile(dir / "a.RPL", "x");
    test::WriteFile(dir / "c.txt", "x");
    EXPECT_EQ(platform::ListSubdirectories(dir.Path().string()),
              (std::vector<std::string>{"Main", "MainExtra", "Zeta", "alpha"}));
    EXPECT_EQ(platform::ListFiles(dir.Path().string(), ".rpl"), (std::vector<std::string>{"a.RPL", "b.rpl"}));
    EXPECT_TRUE(platform::ListSubdirectories((dir / "missing").string()).empty());
}

TEST(PlatformTest, LinksRefuseWhatCannotBeAnAddress) {
    EXPECT_FALSE(platform::OpenLink(""));
    EXPECT_FALSE(platform::OpenLink(std::string("http://a\0b", 10)));
}

// Without the font file (the failure it may be reporting) the report is still written, in
// the built-in letters: white dots in the title and the text rows, different for other words.
TEST(PlatformTest, TheFatalErrorReportIsReadableWithoutTheFontFile) {
    test::ScratchDir dir;
    test::WorkingDir cd(dir.Path());
    auto draw = [](const std::string& title, const std::string& text) {
        SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0xff0000, 0xff00, 0xff, 0);
        platform::DrawFatalError(screen, title, text);
        std::vector<int> whiteByRow(480);
        SDL_LockSurface(screen);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                whiteByRow[static_cast<std::size_t>(y)] +=
                    static_cast<const std::uint32_t*>(screen->pixels)[y * screen->pitch / 4 + x] == 0xffffff;
        SDL_UnlockSurface(screen);
        SDL_FreeSurface(screen);
        return whiteByRow;
    };
    auto sum = [](const std::vector<int>& rows, int from, int to) {
        return std::accumulate(rows.begin() + from, rows.begin() + to, 0);
    };
    const std::string longText = "Failed to open font GUI/Qhytsdakx.ttf! " + std::string(120, 'x');
    const std::vector<int> error = draw("ERROR", longText);
    EXPECT_GT(sum(error, 20, 34), 50) << "the title";
    EXPECT_GT(sum(error, 70, 84), 200) << "the first line of the text";
    EXPECT_GT(sum(error, 110, 124), 200) << "its third line: long text wraps";
    EXPECT_GT(sum(error, 430, 444), 200) << "how to close it";
    EXPECT_NE(draw("EXCEPTION", longText), error);
}

// The opener here waits for a sign that only comes after OpenLink has returned: were the game
// to wait for the opener, the sign would never come and the link would never open.
TEST(PlatformTest, LinksOpenWithoutTheGameWaiting) {
    test::ScratchDir dir;
    test::WriteFile(dir / "xdg-open",
                    "#!/bin/sh\nfor i in $(seq 100); do [ -e \"" + (dir / "go").string() + "\" ] && echo \"$1\" > \"" +
                        (dir / "part").string() + "\" && mv \"" + (dir / "part").string() + "\" \"" +
                        (dir / "opened").string() + "\" && exit 0; sleep 0.05; done\nexit 1\n");
    std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir.Path().string() + ":" + path).c_str(), 1);
    const bool started = platform::OpenLink("https://example.org/quill");
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(started);
    test::WriteFile(dir / "go", "");
    for (int i = 0; i < 200 && !std::filesystem::exists(dir / "opened"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::ReadFile(dir / "opened"), "https://example.org/quill\n");
}
}  // namespace
