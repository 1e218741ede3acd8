// Progress kept in 45-byte records: best turns, odd files, safe writing.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "platform/notice.h"
#include "play/save_data.h"
#include "tests/test_support.h"

namespace {

std::string Record(const std::string& name, std::uint8_t completed, std::int32_t turns) {
    std::string raw(45, '\0');
    raw.replace(0, std::min<std::size_t>(name.size(), 40), name.substr(0, 40));
    raw[40] = static_cast<char>(completed);
    auto bits = static_cast<std::uint32_t>(turns);
    for (int i = 0; i < 4; ++i)
        raw[41 + i] = static_cast<char>(bits >> (8 * i));
    return raw;
}

TEST(SaveDataTest, BestTurnsKeepsTheSmallestRealCount) {
    struct Case {
        std::int32_t before, now, best;
    };
    // 0 reads as "no best yet", so any later completion replaces it.
    for (Case c : {Case{9, 12, 9}, Case{0, 12, 12}, Case{12, 9, 9}, Case{0, 0, 0}}) {
        SaveData data;
        data.Build({"Main/A"});
        if (c.before != 0)
            data.RecordResult("Main/A", 1, c.before);
        data.RecordResult("Main/A", 1, c.now);
        EXPECT_EQ(data.BestTurns("Main/A"), c.best) << c.before << " then " << c.now;
        EXPECT_EQ(data.IsCompleted("Main/A"), 1);
    }
    SaveData data;
    data.Build({"Main/A"});
    data.RecordResult("Main/A", 1, 0);
    data.RecordResult("Main/A", 1, 7);
    EXPECT_EQ(data.BestTurns("Main/A"), 7) << "a 0-turn completion is replaced by the next";
    data.RecordResult("main/a", 1, 3);
    data.RecordResult("Main/Nope", 1, 3);
    EXPECT_EQ(data.BestTurns("Main/A"), 7) << "names match exactly";
    EXPECT_EQ(data.IsCompleted("Main/Nope"), 0);
    EXPECT_EQ(data.BestTurns("Main/Nope"), 0);
}

TEST(SaveDataTest, WritesFortyFiveByteRecordsAndReadsThemBack) {
    test::ScratchDir dir;
    SaveData data;
    data.Build({"Main/Level 1", "Main/Botany \xE0 la Kool-aid Man", std::string(45, 'x')});
    data.RecordResult("Main/Level 1", 1, 0x01020304);
    data.RecordResult("Main/Botany \xE0 la Kool-aid Man", 1, 5);
    ASSERT_TRUE(data.Write(dir / "SaveData.sav"));

    std::string bytes = test::ReadFile(dir / "SaveData.sav");
    ASSERT_EQ(bytes.size(), 3 * 45u);
    EXPECT_EQ(bytes.substr(0, 45), Record("Main/Level 1", 1, 0x01020304)) << "little-endian, zero filler";
    EXPECT_EQ(bytes.substr(90, 40), std::string(39, 'x') + '\0') << "an over-long name is cut to 39 bytes";

    SaveData back;
    back.Build({"Main/Level 1", "Main/Botany \xE0 la Kool-aid Man"});
    back.Read(dir / "SaveData.sav");
    EXPECT_EQ(back.BestTurns("Main/Level 1"), 0x01020304);
    EXPECT_EQ(back.BestTurns("Main/Botany \xE0 la Kool-aid Man"), 5);
    auto leftovers = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    EXPECT_EQ(leftovers, 1) << "no temporary file left behind";
}

TEST(SaveDataTest, OddFilesNeverCostOtherLevelsTheirProgress) {
    test::ScratchDir dir;
    std::string unterminated = Record(std::string(40, 'Z'), 1, 4);  // no zero byte in the name field
    std::string garbage;
    for (int i = 0; i < 4000; ++i)
        garbage.push_back(static_cast<char>(i * 37 + 11));
    struct Case {
        const char* what;
        std::string bytes;
        std::uint8_t completedA;
        std::int32_t bestA, bestB;
    };
    Case cases[] = {
        {"empty file", "", 0, 0, 0},
        {"unknown level dropped", Record("Gone/Level", 1, 3) + Record("Main/B", 1, 6), 0, 0, 6},
        {"duplicate: last flag, smallest non-zero turns",
         Record("Main/A", 1, 9) + Record("Main/A", 1, 4) + Record("Main/A", 0, 0), 0, 4, 0},
        {"unterminated name field is bounded", unterminated + Record("Main/A", 1, 2), 1, 2, 0},
        {"negative turns are no best", Record("Main/A", 1, -5), 1, 0, 0},
        {"garbage flag reads as completed", Record("Main/A", 7, 3), 1, 3, 0},
        {"short last record gives what it holds", Record("Main/B", 1, 6) + Record("Main/A", 1, 8).substr(0, 43), 1, 0, 6},
        {"garbage around good records", Record("Main/A", 1, 5) + garbage + std::string(45 - garbage.size() % 45, '\0') +
                                             Record("Main/B", 1, 2), 1, 5, 2},
    };
    for (const Case& c : cases) {
        test::WriteFile(dir / "SaveData.sav", c.bytes);
        SaveData data;
        data.Build({"Main/A", "Main/B"});
        data.Read(dir / "SaveData.sav");
        EXPECT_EQ(data.IsCompleted("Main/A"), c.completedA) << c.what;
        EXPECT_EQ(data.BestTurns("Main/A"), c.bestA) << c.what;
        EXPECT_EQ(data.BestTurns("Main/B"), c.bestB) << c.what;
    }
}

TEST(SaveDataTest, ProcessWideDataFollowsTheWorkingFolder) {
    test::ScratchDir dir;
    test::WorkingDir cd(dir.Path());
    test::WriteFile(dir / "SaveData.sav", Record("Main/A", 1, 3) + Record("Other/Gone", 1, 1));
    LoadSaveData({"Main/A", "Main/B"});
    EXPECT_EQ(BestTurns("Main/A"), 3);
    RecordResult("Main/B", 1, 11);
    SaveSaveData();
    EXPECT_EQ(test::ReadFile(dir / "SaveData.sav"), Record("Main/A", 1, 3) + Record("Main/B", 1, 11))
        << "levels no module defines are left out";

    ClearSaveData();
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveData.sav"));
    EXPECT_EQ(BestTurns("Main/A"), 0);
    SaveSaveData();
    EXPECT_EQ(test::ReadFile(dir / "SaveData.sav"), Record("Main/A", 0, 0) + Record("Main/B", 0, 0));
}

// A completion after a hint is a completion in SaveData.sav, as an earlier version reads it,
// with the player's own best untouched; its turns go to a file of their own.
TEST(SaveDataTest, AHelpedCompletionKeepsTheOwnBestAndGoesBesideIt) {
    test::ScratchDir dir;
    test::WorkingDir cd(dir.Path());
    test::WriteFile(dir / "SaveData.sav", Record("Main/A", 1, 9));
    LoadSaveData({"Main/A", "Main/B"});
    SaveSaveData();
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveDataHints.sav")) << "no hint has helped yet";

    RecordHintedResult("Main/A", 4);
    RecordHintedResult("Main/B", 6);
    RecordHintedResult("Main/B", 8);
    SaveSaveData();
    EXPECT_EQ(test::ReadFile(dir / "SaveData.sav"), Record("Main/A", 1, 9) + Record("Main/B", 1, 0));
    EXPECT_EQ(test::ReadFile(dir / "SaveDataHints.sav"), Record("Main/A", 1, 4) + Record("Main/B", 1, 6));

    // The next start reads both back.
    LoadSaveData({"Main/A", "Main/B"});
    EXPECT_EQ(BestTurns("Main/A"), 9);
    EXPECT_EQ(HintedBestTurns("Main/A"), 4);
    EXPECT_EQ(IsCompleted("Main/B"), 1);
    EXPECT_EQ(BestTurns("Main/B"), 0);
    EXPECT_EQ(HintedBestTurns("Main/B"), 6);

    ClearSaveData();
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveData.sav"));
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveDataHints.sav"));
    EXPECT_EQ(HintedBestTurns("Main/A"), 0);
    SaveSaveData();
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveDataHints.sav"));
}

TEST(SaveDataTest, WritingReplacesTheFileInsteadOfOverwritingIt) {
    test::ScratchDir dir;
    test::WriteFile(dir / "SaveData.sav", Record("Main/A", 1, 3));
    // A second name for the old file shows whether its bytes were ever touched in place,
    // which is what an interrupted write would leave half done.
    std::filesystem::create_hard_link(dir / "SaveData.sav", dir / "old.sav");
    SaveData data;
    data.Build({"Main/A"});
    ASSERT_TRUE(data.Write(dir / "SaveData.sav"));
    EXPECT_EQ(test::ReadFile(dir / "old.sav"), Record("Main/A", 1, 3));
    EXPECT_EQ(test::ReadFile(dir / "SaveData.sav"), Record("Main/A", 0, 0));
    EXPECT_FALSE(data.Write(dir / "no such folder" / "SaveData.sav"));
}

// Every way the file can fail keeps what was on disk and tells the player.
TEST(SaveDataTest, AFileThatCannotBeReadOrWrittenIsKeptAndThePlayerTold) {
    namespace fs = std::filesystem;
    const std::string before = Record("Main/A", 1, 3);
    struct Case {
        const char* what;
        std::function<bool(const test::ScratchDir&)> prepare;  // false: cannot be set up here
        const char* notice;
    } cases[] = {
        {"save data is a directory",
         [](const test::ScratchDir& dir) {
             fs::create_directories(dir / "SaveData.sav" / "inside");
             return true;
         },
         "Couldn't read \"SaveData.sav\""},
        // Permissions do not stop the superuser, who may read and write anything.
        {"save unreadable",
         [&](const test::ScratchDir& dir) {
             test::WriteFile(dir / "SaveData.sav", before);
             fs::permissions(dir / "SaveData.sav", fs::perms::none);
             return ::geteuid() != 0;
         },
         "Couldn't read \"SaveData.sav\""},
        {"folder read-only",
         [&](const test::ScratchDir& dir) {
             test::WriteFile(dir / "SaveData.sav", before);
             fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
             return ::geteuid() != 0;
         },
         "Couldn't save your progress"},
        // A file size limit fails the write part-way, as a full disk does.
        {"disk full",
         [&](const test::ScratchDir& dir) {
             test::WriteFile(dir / "SaveData.sav", before);
             return true;
         },
         "Couldn't save your progress"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        test::WorkingDir cd(dir.Path());
        if (!c.prepare(dir)) {
            fs::permissions(dir.Path(), fs::perms::owner_all);
            std::printf("[ skipped  ] %s: running as the superuser\n", c.what);
            continue;
        }
        const bool diskFull = std::string(c.what) == "disk full";
        platform::TakeNotices();
        LoadSaveData({"Main/A", "Main/B"});
        RecordResult("Main/B", 1, 5);
        rlimit oldLimit{};
        ::getrlimit(RLIMIT_FSIZE, &oldLimit);
        if (diskFull) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = oldLimit;
            small.rlim_cur = 50;
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        SaveSaveData();
        if (diskFull)
            ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        fs::permissions(dir.Path(), fs::perms::owner_all);
        const std::vector<std::string> notices = platform::TakeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_TRUE(notices[0].starts_with(c.notice)) << notices[0];
        if (fs::is_directory(dir / "SaveData.sav")) {
            EXPECT_TRUE(fs::exists(dir / "SaveData.sav" / "inside"));
        } else {
            fs::permissions(dir / "SaveData.sav", fs::perms::owner_read | fs::perms::owner_write);
            EXPECT_EQ(test::ReadFile(dir / "SaveData.sav"), before);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1) << "no temporary left";
        if (notices[0].starts_with("Couldn't read")) {
            ClearSaveData();
            EXPECT_TRUE(fs::exists(dir / "SaveData.sav")) << "a file never read is never deleted";
        }
    }
}

TEST(SaveDataTest, ALinkedFileIsUpdatedThroughTheLinkAndStaleTemporariesGo) {
    test::ScratchDir dir;
    test::WorkingDir cd(dir.Path());
    std::filesystem::create_directories(dir / "saves");
    test::WriteFile(dir / "saves" / "mine.sav", Record("Main/A", 1, 3));
    std::filesystem::create_symlink("saves/mine.sav", dir / "SaveData.sav");
    test::WriteFile(dir / "saves" / "mine.sav.tmp999999999", "torn");
    LoadSaveData({"Main/A"});
    RecordResult("Main/A", 1, 2);
    SaveSaveData();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "SaveData.sav"));
    EXPECT_EQ(test::ReadFile(dir / "saves" / "mine.sav"), Record("Main/A", 1, 2));
    EXPECT_FALSE(std::filesystem::exists(dir / "saves" / "mine.sav.tmp999999999"));
}

}  // namespace
