#include "game/host_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "game_file_bytes.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

constexpr size_t kWorldBytes = 262172;  // 2, 3, 1000 and 1001 with their payloads

std::array<PlayerSlot, kPlayerCount> NoPlayers() {
    return {};
}

RaceRecord Elves() {
    RaceRecord race;
    race.Version = 3.634f;
    race.NameSingular = "Elf";
    race.NamePlural = "Elves";
    race.LeaderName = "Gorm";
    race.LeaderTitle = "Lord";
    race.Password = "oak";
    race.Sex = 1;
    race.RaceClass = 4;
    race.DesignSlots = {2, 3, 4, 5, 6, 7, 8, 9};
    return race;
}

TEST(HostFileWriter, GameWithNoPlayerInPlay) {
    EXPECT_EQ(HostFileName("war"), "war.hst");
    EXPECT_EQ(HostFileName("/a/rather/long/folder/the-war-of-the-isles"),
              "/a/rather/long/folder/the-war-of-the-isles.hst");

    auto world = std::make_unique<WorldMap>();
    world->At(0, 1) = Tile{999, 0, 2};
    std::vector<uint8_t> bytes = EncodeHostFile(Stamps(1.5f, 3.634f), *world, NoPlayers());
    ASSERT_EQ(bytes.size(), kWorldBytes);  // and no end record
    EXPECT_EQ(I32At(bytes, 0), 2);
    EXPECT_EQ(F32At(bytes, 4), 1.5f);
    EXPECT_EQ(I32At(bytes, 8), 3);
    EXPECT_EQ(F32At(bytes, 12), 3.634f);
    EXPECT_EQ(I32At(bytes, 16), 1000);
    EXPECT_EQ(I32At(bytes, 20), 256);
    EXPECT_EQ(I32At(bytes, 24), 1001);
    EXPECT_EQ(I32At(bytes, 36), 2);
    EXPECT_EQ(I32At(bytes, 40), 999);
}

TEST(HostFileWriter, OneGroupPerPlayerInPlay) {
    auto world = std::make_unique<WorldMap>();
    auto players = NoPlayers();
    players[1].InPlay = 1;
    players[1].Race = Elves();
    players[4].InPlay = 1;  // a race never loaded
    std::vector<uint8_t> bytes = EncodeHostFile({}, *world, players);

    FileBytes expected;
    expected.I32(12).I32(2).I32(3).F32(3.634f).I32(9).Text("oak");
    expected.I32(4).Text("Elf").I32(5).Text("Elves").I32(6).Text("Gorm").I32(7).Text("Lord");
    expected.I32(8).I32(1).I32(10).I32(4).I32(11);
    for (int slots = 2; slots <= 9; ++slots)
        expected.I32(slots);
    expected.I32(12).I32(5).I32(3).F32(0.0f);
    expected.I32(4).I32(0).I32(5).I32(0).I32(6).I32(0).I32(7).I32(0);
    expected.I32(8).I32(0).I32(10).I32(0).I32(11);
    for (int i = 0; i < 8; ++i)
        expected.I32(0);

    ASSERT_EQ(bytes.size(), kWorldBytes + expected.bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + kWorldBytes, bytes.end()), expected.bytes);
    // The three-letter name: n = 3 and the letters, no 0 byte.
    EXPECT_EQ(I32At(bytes, kWorldBytes + 31), 3);
    EXPECT_EQ(CharsAt(bytes, kWorldBytes + 35, 3), "Elf");
}

TEST(HostFileReader, WholeFileReadsBack) {
    auto world = std::make_unique<WorldMap>();
    world->At(5, 6) = Tile{1111, 0, 4};
    auto players = NoPlayers();
    players[1].InPlay = 1;
    players[1].Race = Elves();
    players[4].InPlay = 1;
    std::vector<uint8_t> bytes = EncodeHostFile(Stamps(1.5f, 3.25f), *world, players);

    auto read = std::make_unique<WorldMap>();
    HostFileContents contents;
    ReadOutcome outcome = ReadHostFileImage(bytes, contents, *read);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_FALSE(outcome.Damaged());
    EXPECT_EQ(contents.VersionStampA, 1.5f);
    EXPECT_EQ(contents.VersionStampB, 3.25f);  // tag 3 before any group
    EXPECT_EQ(read->At(5, 6).Altitude, 1111);
    ASSERT_EQ(contents.Players.size(), 2u);
    EXPECT_EQ(contents.Players[0].Player, 2);
    const RaceRecord& race = contents.Players[0].Race;
    EXPECT_EQ(race.Version, 3.634f);
    EXPECT_EQ(race.Password, "oak");
    EXPECT_EQ(race.NamePlural, "Elves");
    EXPECT_EQ(race.LeaderTitle, "Lord");
    EXPECT_EQ(race.RaceClass, 4);
    EXPECT_EQ(race.DesignSlots, Elves().DesignSlots);
    EXPECT_EQ(contents.Players[1].Player, 5);
    EXPECT_EQ(contents.Players[1].Race.NameSingular, "");
}

TEST(HostFileReader, Limits) {
    FileBytes file;
    file.I32(12).I32(1).I32(4).I32(200).Raw(std::string(200, 'x')).I32(5).Text("Elves");
    for (int p = 2; p <= 11; ++p)
        file.I32(12).I32(p).I32(8).I32(p);
    auto world = std::make_unique<WorldMap>();
    HostFileContents contents;
    ReadOutcome outcome = ReadHostFileImage(file.bytes, contents, *world);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_EQ(outcome.DamageCount, 2);  // the long name, the eleventh group
    ASSERT_EQ(contents.Players.size(), 10u);
    EXPECT_EQ(contents.Players[0].Race.NameSingular, "");
    EXPECT_EQ(contents.Players[0].Race.NamePlural, "Elves");
    EXPECT_EQ(contents.Players[9].Race.Sex, 10);

    FileBytes negative;
    negative.I32(12).I32(1).I32(4).I32(-1).I32(8).I32(2);
    HostFileContents stopped;
    ReadOutcome cut = ReadHostFileImage(negative.bytes, stopped, *world);
    EXPECT_FALSE(cut.EndReached);
    ASSERT_EQ(stopped.Players.size(), 1u);
    EXPECT_EQ(stopped.Players[0].Race.Sex, 0);

    // A file that ends inside a record's tag has not reached its proper end.
    FileBytes cutTag;
    cutTag.I32(12).I32(1).U8(12);
    HostFileContents partial;
    ReadOutcome cutInTag = ReadHostFileImage(cutTag.bytes, partial, *world);
    EXPECT_FALSE(cutInTag.EndReached);
    EXPECT_EQ(cutInTag.DamageCount, 1);
    EXPECT_EQ(partial.Players.size(), 1u);
}

TEST(HostFileHead, FirstTagAndTheBitsAfterIt) {
    TempDir dir;
    auto world = std::make_unique<WorldMap>();
    const std::string game = dir.File("war");
    ASSERT_TRUE(WriteHostFile(game, NoPlayers(), *world, Stamps(3.634f, 3.634f)));
    std::optional<HostFileHead> head = ReadHostFileHead(HostFileName(game));
    ASSERT_TRUE(head);
    EXPECT_EQ(head->HostFileTag, 2);
    EXPECT_EQ(head->HostFileValue, std::bit_cast<int32_t>(3.634f));

    EXPECT_FALSE(ReadHostFileHead(dir.File("missing.hst")));
    ASSERT_TRUE(WriteFileReplacing(dir.File("short.hst"), std::vector<uint8_t>(7, 1)));
    EXPECT_FALSE(ReadHostFileHead(dir.File("short.hst")));
}

TEST(HostFileWriter, FailureNamesTheFileAndTheReason) {
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell scoped(shell);
    auto world = std::make_unique<WorldMap>();
    const WriteOutcome written = WriteHostFile(dir.File("gone/war"), NoPlayers(), *world, {});
    EXPECT_FALSE(written);
    ASSERT_TRUE(written.Failure);
    EXPECT_EQ(written.Failure->Path, dir.File("gone/war.hst"));
    EXPECT_EQ(written.Failure->Reason, "No such file or directory");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
