// The shipped campaign, as the build lays it out in the game folder: every slot of the level
// list names a level, the dialogs the program asks for by name exist, and every level's
// committed optimal replay completes it in exactly its par.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "content/dialog_template.h"
#include "content/registry.h"
#include "play/replay.h"
#include "play/turn_engine.h"
#include "tools/sim/sim.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

const fs::path kReplays = fs::path(QM_FIXTURES_DIR) / "campaign";

// The level list as the level select reads it: one slot a line, the first 25 lines.
std::vector<std::string> LevelList() {
    std::ifstream in(fs::path(QM_GAME_DIR) / "LevelList.txt", std::ios::binary);
    std::vector<std::string> slots;
    std::string line;
    while (slots.size() < 25 && std::getline(in, line))
        slots.push_back(line);
    return slots;
}

}  // namespace

TEST(Campaign, TheLevelListNamesTwentyFiveShippedLevelsInStoryOrder) {
    SimSession session(QM_GAME_DIR, false);
    const std::vector<std::string> slots = LevelList();
    ASSERT_EQ(slots.size(), 25u);
    std::set<std::string> distinct;
    for (const std::string& name : slots) {
        EXPECT_LE(name.size(), 39u) << name;
        distinct.insert(name);
        if (Registry().Find(name, "Level") == nullptr) {
            ADD_FAILURE() << "no level named " << name;
            continue;
        }
        EXPECT_GT(Registry().LevelTurnsPar(name), 0) << name << " has no par";
        EXPECT_EQ(Registry().LevelMusicThemePath(name).rfind("RS#TRACK", 0), 0u) << name << " has no music of its own";
        // The build draws every preview into the game folder.
        const std::string preview = Registry().LevelPreviewPath(name);
        EXPECT_TRUE(!preview.empty() && fs::is_regular_file(fs::path(QM_GAME_DIR) / preview)) << name << ": " << preview;
    }
    EXPECT_EQ(distinct.size(), 25u);
    EXPECT_EQ(slots.front(), "Main/Level 1");
    EXPECT_EQ(slots.back(), "Main/Tarrow For Time");
    // Stored in Latin-1, as the play state compares it.
    EXPECT_NE(std::find(slots.begin(), slots.end(), "Main/Botany \xE0 la Kool-aid Man"), slots.end());
}

// As built, before anything falls: every piece on the screen and none lying on another, so
// nothing a level needs is hidden (the backdrop, a plain picture, lies under everything).
TEST(Campaign, EveryPieceStartsOnScreenAndUncovered) {
    SimSession session(QM_GAME_DIR, false);
    for (const std::string& level : LevelList()) {
        SCOPED_TRACE(level);
        if (Registry().Find(level, "Level") == nullptr)
            continue;  // the level-list test names it
        BuildFresh(level);
        const World& world = TheWorld();
        std::vector<const Entity*> pieces;
        for (int i = 0; i < world.Count(); ++i)
            if (world.Get(i)->IsPhysical())
                pieces.push_back(world.Get(i));
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const Entity& a = *pieces[i];
            const int aw = a.image.frameWidth, ah = a.image.frameHeight;
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + aw <= 640 && a.y + ah <= 480)
                << a.templateName << " at " << a.x << ", " << a.y << " is not wholly on the screen";
            // By their squares: the Ledger's picture reaches past its own on purpose.
            for (std::size_t j = i + 1; j < pieces.size(); ++j) {
                const Entity& b = *pieces[j];
                EXPECT_FALSE(a.CurrentBox().Overlaps(b.CurrentBox()))
                    << a.templateName << " at " << a.x << ", " << a.y << " and " << b.templateName << " at " << b.x << ", "
                    << b.y << " share a square";
            }
        }
        TheWorld().Clear();
    }
}

TEST(Campaign, TheSecretsAndTheEndingHaveTheirDialogs) {
    SimSession session(QM_GAME_DIR, false);
    const std::pair<const char*, const char*> wanted[] = {
        {"Main/KC", "SECRET_DIALOGA"}, {"Main/Secret 2", "SECRET_DIALOGB"}, {"Main/Ending", "ENDING_DIALOG"}};
    for (const auto& [name, trigger] : wanted) {
        const auto* dialog = static_cast<const DialogTemplate*>(Registry().Find(name, "Dialog"));
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_EQ(dialog->trigger, trigger) << name;
        EXPECT_FALSE(dialog->messages.empty()) << name;
        for (const auto& message : dialog->messages) {
            EXPECT_NE(Registry().Find(message.icon, "Sprite"), nullptr) << name << ": " << message.icon;
            EXPECT_NE(Registry().Find(message.flag, "Sprite"), nullptr) << name << ": " << message.flag;
        }
    }
}

TEST(Campaign, EveryLevelsOptimalReplayCompletesItInExactlyItsPar) {
    SimSession session(QM_GAME_DIR, false);
    std::set<std::string> replayed;
    for (const fs::directory_entry& file : fs::directory_iterator(kReplays)) {
        if (file.path().extension() != ".rpl")
            continue;
        const std::optional<ReplayFile> replay = ReadReplayFile(file.path());
        ASSERT_TRUE(replay) << file.path();
        SCOPED_TRACE(replay->levelName);
        std::vector<std::string> moves = replay->moves;
        // The reader's trailing empty entry after the last line end.
        if (!moves.empty() && moves.back().empty())
            moves.pop_back();

        TurnOutcome outcome = BuildAndSettle(replay->levelName, 100000);
        ASSERT_TRUE(outcome.settled);
        World& world = TheWorld();
        for (std::size_t i = 0; i < moves.size(); ++i) {
            ASSERT_EQ(world.levelStatus, LevelStatus::Playing) << "the level ended before move " << i + 1;
            outcome = PlayMoveHeadless(world, moves[i], 100000);
        }
        EXPECT_EQ(world.levelStatus, LevelStatus::Complete) << "the replay does not complete the level";
        EXPECT_EQ(static_cast<std::int32_t>(moves.size()), Registry().LevelTurnsPar(replay->levelName));
        replayed.insert(replay->levelName);
    }
    for (const std::string& name : LevelList())
        EXPECT_TRUE(replayed.contains(name)) << "no replay for " << name;
}
