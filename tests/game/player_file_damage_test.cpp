#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/player_file.h"
#include "game/record_stream.h"
#include "game_file_bytes.h"
#include "support/temp_dir.h"

namespace {

constexpr size_t kFirstTileAt = 28;  // after 2, 3, 1000 and the 1001 tag

struct LoadedGame {
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    TitleState title;
    MessageStore messages{std::vector<MessageText>{}};
    ResearchPoints research;

    PlayerFileTargets Targets() { return {*world, title, messages, research}; }
};

class PlayerFileDamage : public ::testing::Test {
protected:
    // A whole player file whose tiles all have Terrain 2, with one message of type 2.
    std::vector<uint8_t> WholeFile() const {
        auto world = std::make_unique<WorldMap>();
        for (auto& row : world->Tiles) {
            for (Tile& tile : row)
                tile.Terrain = TerrainLowland;
        }
        std::array<PendingMessage, 5> messages;
        messages[0] = PendingMessage{2, 1, "Scout Fleet-1", {}, {}};
        return EncodePlayerFile(Stamps(3.634f, 3.634f), *world, messages);
    }

    std::string Put(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = dir.File(name);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    PlayerFileLoad Load(const std::string& path) { return LoadPlayerFile(path, game.Targets()); }

    TempDir dir;
    LoadedGame game;
};

TEST_F(PlayerFileDamage, AWholeFileHasNothingToSay) {
    const std::string path = Put("war.p01", WholeFile());
    const PlayerFileLoad load = Load(path);
    ASSERT_TRUE(load);
    EXPECT_FALSE(load.Outcome.Damaged());
    EXPECT_FALSE(load.Outcome.CutShort);
    EXPECT_EQ(load.TilesRead, kWorldTiles);
    EXPECT_EQ(DescribePlayerFileDamage(path, load), "");
}

TEST_F(PlayerFileDamage, ACutFileKeepsItsTilesAndSaysWhereItEnds) {
    std::vector<uint8_t> bytes = WholeFile();
    bytes.resize(100000);
    const std::string path = Put("war.p01", bytes);
    const PlayerFileLoad load = Load(path);
    ASSERT_TRUE(load);
    EXPECT_TRUE(load.Outcome.CutShort);
    EXPECT_EQ(load.Outcome.CutRecordTag, PlayerTag::Tiles);
    EXPECT_EQ(load.FileSize, 100000u);
    const int whole = static_cast<int>((100000 - kFirstTileAt) / 8);
    EXPECT_EQ(load.TilesRead, whole);
    EXPECT_EQ(game.world->At(0, 0).Terrain, TerrainLowland);
    EXPECT_EQ(game.world->At(whole / kWorldColumns, whole % kWorldColumns - 1).Terrain,
              TerrainLowland);
    EXPECT_EQ(game.world->At(127, 255).Terrain, TerrainUnset);
    // The messages were beyond the cut: the store shows "no new messages".
    EXPECT_EQ(game.messages.Count(), 1);
    EXPECT_EQ(DescribePlayerFileDamage("war.p01", load),
              "war.p01 ends at byte 100000, inside the tile data: the rest of the world is "
              "unknown");
}

TEST_F(PlayerFileDamage, EachKindOfDamageIsToldInOneSentence) {
    const std::vector<uint8_t> whole = WholeFile();
    const size_t messageAt = kFirstTileAt + 262144;  // the message record's tag

    std::vector<uint8_t> inMessage(whole.begin(), whole.begin() + messageAt + 10);
    PlayerFileLoad load = Load(Put("a.p01", inMessage));
    ASSERT_TRUE(load);
    EXPECT_EQ(DescribePlayerFileDamage("a.p01", load),
              "a.p01 ends at byte " + std::to_string(messageAt + 10) +
                  ", inside a message: that message and what follows it are lost");

    std::vector<uint8_t> inTag(whole.begin(), whole.begin() + messageAt + 2);
    load = Load(Put("b.p01", inTag));
    EXPECT_EQ(DescribePlayerFileDamage("b.p01", load),
              "b.p01 ends at byte " + std::to_string(messageAt + 2) +
                  ", inside a record tag: what follows it is lost");

    std::vector<uint8_t> noEnd(whole.begin(), whole.end() - 4);
    load = Load(Put("c.p01", noEnd));
    EXPECT_EQ(DescribePlayerFileDamage("c.p01", load),
              "c.p01 ends at byte " + std::to_string(noEnd.size()) +
                  " without its end record: records after it may be missing");

    // Two bad values in a whole file: the first is told, the other counted.
    FileBytes bad;
    bad.bytes.assign(whole.begin(), whole.begin() + messageAt);
    bad.I32(2002).I32(300).Raw(std::string(300, 'x'));
    bad.I32(4001).I32(7).F32(1).F32(2).F32(3).I32(0);
    load = Load(Put("d.p01", bad.bytes));
    ASSERT_TRUE(load);
    EXPECT_FALSE(load.Outcome.CutShort);
    EXPECT_EQ(DescribePlayerFileDamage("d.p01", load),
              "d.p01 is damaged at byte " + std::to_string(messageAt + 4) +
                  ": message text count 300 is above 100 (and 1 more fault)");
}

TEST_F(PlayerFileDamage, AFileWithoutAWorldIsRefusedWithTheReason) {
    const std::vector<uint8_t> whole = WholeFile();
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"empty.p01", {}, "the file is empty"},
        {"head.p01", std::vector<uint8_t>(whole.begin(), whole.begin() + 24),
         "the file holds no tile data"},
        {"tag.p01", std::vector<uint8_t>(whole.begin(), whole.begin() + kFirstTileAt + 5),
         "the file holds no tile data"},
        {"end.p01", FileBytes().I32(0).bytes, "the file holds no tile data"},
    };
    for (const Case& c : cases) {
        const PlayerFileLoad load = Load(Put(c.name, c.bytes));
        ASSERT_FALSE(load) << c.name;
        EXPECT_EQ(DescribeReadFailure(*load.Failure), dir.File(c.name) + ": " + c.reason);
    }

    const PlayerFileLoad missing = Load(dir.File("war.p09"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Failure->Reason, "No such file or directory");
    std::filesystem::create_directory(dir.File("war.p08"));
    const PlayerFileLoad folder = Load(dir.File("war.p08"));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.Failure->Reason, "Is a directory");
}

}  // namespace
