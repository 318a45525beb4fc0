#include "game/player_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "game/record_stream.h"
#include "game_file_bytes.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

constexpr size_t kTilesAt = 28;  // first tile's Terrain, after 2, 3, 1000 and the 1001 tag
constexpr size_t kTileBytes = 262144;

std::string Param(const StoredMessage& message, int which) {
    const MessageParam& p = which == 1   ? message.Param1
                            : which == 2 ? message.Param2
                                         : message.Param3;
    return std::string(ParamText(p));
}

// The four objects a player file fills, as "Load Game" creates them.
struct LoadedGame {
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    TitleState title;
    MessageStore messages{std::vector<MessageText>{}};
    ResearchPoints research;

    PlayerFileTargets Targets() { return {*world, title, messages, research}; }
    ReadOutcome Load(const FileBytes& file) { return LoadPlayerFileImage(file.bytes, Targets()); }
};

PendingMessage Message(int32_t type, int32_t count, std::string p1 = {}, std::string p2 = {},
                       std::string p3 = {}) {
    return PendingMessage{type, count, std::move(p1), std::move(p2), std::move(p3)};
}

TEST(PlayerFileName, TwoDigitPlayerNumberAfterAnyText) {
    EXPECT_EQ(PlayerFileName("war", 7), "war.p07");
    EXPECT_EQ(PlayerFileName("war", 1), "war.p01");
    EXPECT_EQ(PlayerFileName("war", 10), "war.p10");
    const std::string longPath = "/home/player/games/the-great-war-of-the-northern-isles";
    EXPECT_EQ(PlayerFileName(longPath, 3), longPath + ".p03");
}

TEST(PlayerFileWriter, WritesRecordsInOrderWithStartValues) {
    TitleState title = Stamps(1.25f, 3.634f);
    auto world = std::make_unique<WorldMap>();
    world->At(0, 0) = Tile{1040, 0, 3};
    world->At(127, 255) = Tile{-7, 0, 6};
    std::array<PendingMessage, 5> messages;
    messages[2] = Message(1, 3, "Gorm", "Elf", "Lord");

    std::vector<uint8_t> bytes = EncodePlayerFile(title, *world, messages);
    FileBytes head;
    head.I32(2).F32(1.25f).I32(3).F32(3.634f).I32(1000).I32(256).I32(1001);
    head.I32(3).I32(1040);  // the first tile: Terrain, then Altitude
    FileBytes tail;
    tail.I32(6).I32(-7);  // the last tile
    tail.I32(2001).Text0("Gorm").Text0("Elf").Text0("Lord").I32(3000).I32(50).I32(4000).I32(2);
    tail.I32(4001).I32(0).F32(20.5f).F32(50.9f).F32(20.0f);
    tail.I32(4001).I32(1).F32(30.2f).F32(70.1f).F32(29.6f).I32(0);

    ASSERT_EQ(bytes.size(), kTilesAt + kTileBytes + tail.bytes.size() - 8);
    EXPECT_TRUE(std::equal(head.bytes.begin(), head.bytes.end(), bytes.begin()));
    EXPECT_TRUE(std::equal(tail.bytes.begin(), tail.bytes.end(),
                           bytes.end() - static_cast<ptrdiff_t>(tail.bytes.size())));
}

TEST(PlayerFileWriter, EveryWrittenFileReadsBack) {
    TitleState title = Stamps(3.5f, 3.634f);
    auto world = std::make_unique<WorldMap>();
    world->At(64, 128) = Tile{1200, 0, 5};
    std::array<PendingMessage, 5> messages;
    messages[0] = Message(1, 3, std::string(150, 'x'), "Elf", "Lord");  // cut to 99
    messages[1] = Message(1, 1, "Gorm");  // too few parameters: the rest go out empty
    messages[3] = Message(12, 0);         // not a message type: not written
    messages[4] = Message(2, 1, "Scout Fleet-1");

    LoadedGame game;
    FileBytes file;
    file.bytes = EncodePlayerFile(title, *world, messages);
    ReadOutcome outcome = game.Load(file);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_FALSE(outcome.Damaged());
    EXPECT_EQ(game.title.VersionStampA, 3.5f);
    EXPECT_EQ(game.title.VersionStampB, 3.634f);
    EXPECT_EQ(game.world->At(64, 128).Terrain, 5);
    EXPECT_EQ(game.world->At(64, 128).Altitude, 1200);
    ASSERT_EQ(game.messages.Count(), 3);
    EXPECT_EQ(Param(game.messages.Message(0), 1), std::string(99, 'x'));
    EXPECT_EQ(Param(game.messages.Message(1), 1), "Gorm");
    EXPECT_EQ(Param(game.messages.Message(1), 2), "");
    EXPECT_EQ(game.messages.Message(2).Type, 2);
    EXPECT_EQ(game.research.AvailableResearchPoints, 50);
    ASSERT_EQ(game.title.PointList.size(), 2u);
    EXPECT_EQ(game.title.PointList[1].Z, 29.6f);
}

TEST(PlayerFileReader, FileOfOnlyTheEndRecord) {
    LoadedGame game;
    game.title.PointList.resize(4);
    game.title.VersionStampA = 9.0f;
    ReadOutcome outcome = game.Load(FileBytes().I32(0));
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_TRUE(game.title.PointList.empty());
    EXPECT_EQ(game.title.VersionStampA, 9.0f);  // no tag 2: the stamp stays
    ASSERT_EQ(game.messages.Count(), 1);
    EXPECT_EQ(game.messages.Message(0).Type, 0);
}

TEST(PlayerFileReader, FileCutInsideARecordTagIsDamagedOnce) {
    LoadedGame game;
    ReadOutcome outcome = game.Load(FileBytes().I32(2).F32(3.5f).U8(7).U8(0));
    EXPECT_FALSE(outcome.EndReached);
    EXPECT_EQ(outcome.DamageCount, 1);
    ASSERT_TRUE(outcome.FirstDamage);
    EXPECT_EQ(outcome.FirstDamage->What, "the file ends inside a record tag");
    EXPECT_EQ(game.title.VersionStampA, 3.5f);
}

TEST(PlayerFileReader, RecordsInAnyOrderAndUnknownTagsWithoutPayload) {
    LoadedGame game;
    FileBytes file;
    file.I32(3000).I32(7).I32(1002).I32(2002).Text0("Scout Fleet-1").I32(1).I32(4005);
    file.I32(3).F32(2.5f).I32(2000).I32(0);
    ReadOutcome outcome = game.Load(file);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_FALSE(outcome.Damaged());
    EXPECT_EQ(game.research.AvailableResearchPoints, 7);
    EXPECT_EQ(game.title.VersionStampB, 2.5f);
    ASSERT_EQ(game.messages.Count(), 2);
    const StoredMessage& scout = game.messages.Message(0);
    EXPECT_EQ(scout.Type, 2);
    EXPECT_EQ(Param(scout, 1), "Scout Fleet-1");
    EXPECT_EQ(Param(scout, 2), "");
    EXPECT_EQ(Param(scout, 3), "");
    EXPECT_EQ(game.messages.Message(1).Type, 0);
}

TEST(PlayerFileReader, SecondPointListCountReplacesTheList) {
    LoadedGame game;
    FileBytes file;
    file.I32(4000).I32(2).I32(4001).I32(1).F32(1).F32(2).F32(3);
    file.I32(4000).I32(3).I32(4001).I32(2).F32(4).F32(5).F32(6).I32(0);
    game.Load(file);
    ASSERT_EQ(game.title.PointList.size(), 3u);
    EXPECT_EQ(game.title.PointList[1].X, 0.0f);  // the first list's entry is gone
    EXPECT_EQ(game.title.PointList[2].Y, 5.0f);
}

TEST(PlayerFileReader, CutTileRecordLeavesTheRestUnset) {
    LoadedGame game;
    for (auto& row : game.world->Tiles)
        row.fill(Tile{55, 9, 4});
    FileBytes file;
    file.I32(2).F32(1.5f).I32(1001);
    for (int i = 0; i < 300; ++i)
        file.I32(2).I32(1000 + i);
    file.I32(3);  // Terrain of tile 300, Altitude missing
    ReadOutcome outcome = game.Load(file);
    EXPECT_FALSE(outcome.EndReached);
    EXPECT_TRUE(outcome.Damaged());
    EXPECT_EQ(game.title.VersionStampA, 1.5f);
    EXPECT_EQ(game.world->At(0, 0).Altitude, 1000);
    EXPECT_EQ(game.world->At(1, 43).Altitude, 1299);  // tile 299
    EXPECT_EQ(game.world->At(1, 44).Terrain, 3);
    EXPECT_EQ(game.world->At(1, 44).Altitude, 0);
    EXPECT_EQ(game.world->At(1, 45).Terrain, -1);
    EXPECT_EQ(game.world->At(127, 255).Terrain, -1);
    EXPECT_EQ(game.world->At(127, 255).Altitude, 0);
    for (const auto& row : game.world->Tiles) {
        for (const Tile& tile : row)
            ASSERT_EQ(tile.Reserved, 0);
    }
    EXPECT_EQ(game.messages.Count(), 1);  // what was read stays; the no-news message is added
}

TEST(PlayerFileReader, MessageLimits) {
    LoadedGame game;
    FileBytes file;
    for (int i = 0; i < 51; ++i) {
        // Appended rather than "m" + ...: GCC 12 at -O3 misreads the inserting form as an
        // overlapping copy (-Wrestrict).
        std::string text = "m";
        text += std::to_string(i);
        file.I32(2006).Text0(text);
    }
    file.I32(3000).I32(11).I32(0);
    ReadOutcome outcome = game.Load(file);
    ASSERT_EQ(game.messages.Count(), 50);
    EXPECT_EQ(Param(game.messages.Message(49), 1), "m49");
    EXPECT_EQ(game.research.AvailableResearchPoints, 11);  // read after the dropped message
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_EQ(outcome.DamageCount, 1);

    LoadedGame longText;
    FileBytes tooLong;
    tooLong.I32(2002).I32(101).Raw(std::string(100, 'a')).U8(0);
    tooLong.I32(2009).I32(100).Raw(std::string(99, 'b')).U8(0).I32(0);
    longText.Load(tooLong);
    ASSERT_EQ(longText.messages.Count(), 1);
    EXPECT_EQ(longText.messages.Message(0).Type, 9);
    EXPECT_EQ(Param(longText.messages.Message(0), 1), std::string(99, 'b'));

    LoadedGame negative;
    FileBytes cut;
    cut.I32(2002).Text0("kept").I32(2002).I32(-1).I32(3000).I32(11).I32(0);
    ReadOutcome stopped = negative.Load(cut);
    EXPECT_FALSE(stopped.EndReached);
    ASSERT_EQ(negative.messages.Count(), 1);
    EXPECT_EQ(Param(negative.messages.Message(0), 1), "kept");
    EXPECT_EQ(negative.research.AvailableResearchPoints, 0);  // reading stopped
}

TEST(PlayerFileReader, PointListLimits) {
    LoadedGame game;
    FileBytes file;
    file.I32(4000).I32(1).I32(4001).I32(1).F32(7).F32(7).F32(7);  // index beyond the count
    file.I32(4001).I32(-1).F32(7).F32(7).F32(7);                  // negative index
    file.I32(4000).I32(-5).I32(4000).I32(0x7FFFFFFF);             // refused counts
    file.I32(4001).I32(0).F32(1).F32(2).F32(3).I32(0);
    ReadOutcome outcome = game.Load(file);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_EQ(outcome.DamageCount, 4);
    ASSERT_EQ(game.title.PointList.size(), 1u);
    EXPECT_EQ(game.title.PointList[0].Z, 3.0f);
}

TEST(PlayerFileFiles, MissingFileChangesNothing) {
    TempDir dir;
    LoadedGame game;
    game.research.AvailableResearchPoints = 3;
    EXPECT_FALSE(ReadPlayerFile(dir.File("war.p01"), game.Targets()));
    EXPECT_EQ(game.messages.Count(), 0);
    EXPECT_EQ(game.research.AvailableResearchPoints, 3);
}

TEST(PlayerFileFiles, WriteIntoMissingFolderNamesTheFile) {
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell scoped(shell);
    auto world = std::make_unique<WorldMap>();
    std::array<PendingMessage, 5> messages;
    const WriteOutcome written =
        WritePlayerFile(dir.File("no-such-folder/war"), 1, messages, *world, {});
    EXPECT_FALSE(written);
    ASSERT_TRUE(written.Failure);
    EXPECT_EQ(DescribeWriteFailure(*written.Failure),
              dir.File("no-such-folder/war.p01") + ": No such file or directory");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST(PlayerFileFiles, FailedWriteKeepsTheOldFile) {
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell scoped(shell);
    const std::string game = dir.File("war");
    const std::vector<uint8_t> old = {0, 0, 0, 0};
    ASSERT_TRUE(WriteFileReplacing(PlayerFileName(game, 2), old));
    auto world = std::make_unique<WorldMap>();
    std::array<PendingMessage, 5> messages;
    {
        FileSizeLimit limit(4096);  // the file needs 262 KB
        EXPECT_FALSE(WritePlayerFile(game, 2, messages, *world, {}));
    }
    EXPECT_EQ(ReadWholeFile(PlayerFileName(game, 2)), old);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    ASSERT_TRUE(WritePlayerFile(game, 2, messages, *world, {}));
    LoadedGame loaded;
    ASSERT_TRUE(ReadPlayerFile(PlayerFileName(game, 2), loaded.Targets()));
    EXPECT_EQ(loaded.research.AvailableResearchPoints, 50);
}

}  // namespace
