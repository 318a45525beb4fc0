#include "creation/create_game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "creation/create_command_line.h"
#include "game/host_file.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/record_stream.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Players = std::array<PlayerSlot, kPlayerCount>;

CreateGameRequest Request(const std::string& gameFileText, int landPercent = 40,
                          uint32_t seed = 1234) {
    CreateGameRequest request;
    request.GameFileText = gameFileText;
    request.LandPercent = landPercent;
    request.Seed = seed;
    request.Title.VersionStampA = 3.634f;
    request.Title.VersionStampB = 3.5f;
    return request;
}

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// What a player file gives back when "Load Game" reads it.
struct LoadedPlayerFile {
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    TitleState title;
    MessageStore messages;  // with the built-in message texts
    ResearchPoints research;
    ReadOutcome outcome;
    bool read = false;
};

std::unique_ptr<LoadedPlayerFile> LoadPlayer(const std::string& path) {
    auto loaded = std::make_unique<LoadedPlayerFile>();
    loaded->read =
        ReadPlayerFile(path, {*loaded->world, loaded->title, loaded->messages, loaded->research},
                       &loaded->outcome);
    return loaded;
}

void ExpectMessage(const StoredMessage& message, int32_t type, std::string_view param1,
                   std::string_view param2 = "", std::string_view param3 = "") {
    EXPECT_EQ(message.Type, type);
    EXPECT_EQ(ParamText(message.Param1), param1);
    EXPECT_EQ(ParamText(message.Param2), param2);
    EXPECT_EQ(ParamText(message.Param3), param3);
}

// Players 1 to 5 in play: player 1 without a race, player 5 with one whose leader name is
// too long for a message parameter; players 6 to 10 out of play.
Players FivePlayers() {
    Players players{};
    for (int i = 0; i < 5; ++i)
        players[i].InPlay = 1;
    players[4].Race.NameSingular = "Elf";
    players[4].Race.NamePlural = "Elves";
    players[4].Race.LeaderName = std::string(120, 'L');
    players[4].Race.LeaderTitle = "High King";
    players[4].Race.Password = "secret";
    players[7].Race.NameSingular = "Orc";  // has a race but is not in play
    return players;
}

class CreateGameTest : public ::testing::Test {
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
};

TEST_F(CreateGameTest, WrittenFilesLoadBackAsTheGameReadsThem) {
    Players players = FivePlayers();
    const CreateGameResult result = CreateGame(Request("war"), players);

    ASSERT_EQ(result.Status, CreateGameStatus::Complete);
    EXPECT_FALSE(result.WriteFailed());
    EXPECT_EQ(result.World.faultIterations, 10000);
    EXPECT_EQ(result.FilesWritten, (std::vector<std::string>{"war.hst", "war.p01", "war.p02",
                                                             "war.p03", "war.p04", "war.p05"}));
    EXPECT_EQ(result.PlayersWritten, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{"war.hst", "war.p01", "war.p02",
                                                          "war.p03", "war.p04", "war.p05"}));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);

    // Player 5: only the welcome, with the leader's name cut to 99 characters.
    auto five = LoadPlayer("war.p05");
    ASSERT_TRUE(five->read);
    EXPECT_FALSE(five->outcome.Damaged());
    EXPECT_TRUE(five->outcome.EndReached);
    ASSERT_EQ(five->messages.Count(), 1);
    ExpectMessage(five->messages.Message(0), 1, std::string(99, 'L'), "Elf", "High King");
    EXPECT_EQ(five->research.AvailableResearchPoints, 50);
    ASSERT_EQ(five->title.PointList.size(), 2u);
    EXPECT_FLOAT_EQ(five->title.PointList[0].X, 20.5f);
    EXPECT_FLOAT_EQ(five->title.PointList[0].Y, 50.9f);
    EXPECT_FLOAT_EQ(five->title.PointList[0].Z, 20.0f);
    EXPECT_FLOAT_EQ(five->title.PointList[1].X, 30.2f);
    EXPECT_FLOAT_EQ(five->title.PointList[1].Y, 70.1f);
    EXPECT_FLOAT_EQ(five->title.PointList[1].Z, 29.6f);
    EXPECT_EQ(five->title.VersionStampA, 3.634f);
    EXPECT_EQ(five->title.VersionStampB, 3.5f);
    EXPECT_EQ(five->world->Width, 256);

    // The world in the file is the finished one: terrain codes 0..6, ice at both poles.
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            const int32_t terrain = five->world->At(row, column).Terrain;
            ASSERT_GE(terrain, 0);
            ASSERT_LE(terrain, 6);
        }
    }
    for (int column = 0; column < kWorldColumns; ++column) {
        EXPECT_EQ(five->world->At(0, column).Terrain, TerrainIce);
        EXPECT_EQ(five->world->At(127, column).Terrain, TerrainIce);
    }

    // Player 1 is in play without a race: a welcome with empty parameters, then his two
    // demonstration messages.
    auto one = LoadPlayer("war.p01");
    ASSERT_EQ(one->messages.Count(), 3);
    ExpectMessage(one->messages.Message(0), 1, "", "", "");
    ExpectMessage(one->messages.Message(1), 2, "Scout Fleet-1");
    ExpectMessage(one->messages.Message(2), 3, "King's Landing", "Temple");

    auto two = LoadPlayer("war.p02");
    ASSERT_EQ(two->messages.Count(), 3);
    ExpectMessage(two->messages.Message(1), 4, "Roman", "Centurion-4");
    ExpectMessage(two->messages.Message(2), 5, "Klingon", "Tchar-6", "6");
    auto three = LoadPlayer("war.p03");
    ASSERT_EQ(three->messages.Count(), 3);
    ExpectMessage(three->messages.Message(1), 6, "Tumeroks");
    ExpectMessage(three->messages.Message(2), 7, "Drudges", "8");
    auto four = LoadPlayer("war.p04");
    ASSERT_EQ(four->messages.Count(), 3);
    ExpectMessage(four->messages.Message(1), 8, "Vulcans", "6", "15");
    ExpectMessage(four->messages.Message(2), 9, "Romans");

    // Every player file carries the same world as the host file.
    auto hostBytes = ReadWholeFile("war.hst");
    ASSERT_TRUE(hostBytes);
    auto hostWorld = std::make_unique<WorldMap>();
    HostFileContents host;
    ReadHostFileImage(*hostBytes, host, *hostWorld);
    ASSERT_EQ(host.Players.size(), 5u);
    for (size_t i = 0; i < host.Players.size(); ++i)
        EXPECT_EQ(host.Players[i].Player, static_cast<int32_t>(i + 1));
    EXPECT_EQ(host.Players[4].Race.NamePlural, "Elves");
    EXPECT_EQ(host.Players[4].Race.LeaderName, std::string(120, 'L'));  // kept whole here
    EXPECT_EQ(host.Players[4].Race.Password, "secret");
    EXPECT_EQ(host.VersionStampA, 3.634f);
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            ASSERT_EQ(hostWorld->At(row, column).Terrain, five->world->At(row, column).Terrain);
            ASSERT_EQ(hostWorld->At(row, column).Altitude, five->world->At(row, column).Altitude);
        }
    }

    // The slots keep the messages: player 8 has a race but is out of play.
    EXPECT_EQ(players[7].PendingMessages[0].Type, -1);
}

TEST_F(CreateGameTest, RefusalsChangeAndWriteNothing) {
    struct Case {
        std::string gameFileText;
        int landPercent;
        CreateGameStatus status;
    };
    const Case cases[] = {
        {"war", -1, CreateGameStatus::LandShareOutOfRange},
        {"war", 101, CreateGameStatus::LandShareOutOfRange},
        {"war", 999, CreateGameStatus::LandShareOutOfRange},
        {"", 40, CreateGameStatus::NoGameFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.landPercent);
        Players players = FivePlayers();
        players[6].PendingMessages[2].Type = 7;  // left from an earlier creation
        int events = 0;
        WorldGenerationHooks hooks;
        hooks.processPendingEvents = [&] { ++events; };
        const CreateGameResult result =
            CreateGame(Request(c.gameFileText, c.landPercent), players, hooks);
        EXPECT_EQ(result.Status, c.status);
        EXPECT_EQ(CreateGameRefusal(Request(c.gameFileText, c.landPercent)), c.status);
        EXPECT_STRNE(CreateGameRefusalText(c.status), "");
        EXPECT_TRUE(result.FilesWritten.empty());
        EXPECT_EQ(events, 0);
        EXPECT_EQ(players[6].PendingMessages[2].Type, 7);
        EXPECT_EQ(players[0].PendingMessages[0].Type, -1);
    }
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_TRUE(shell.messages.empty());  // the caller shows the refusal
    EXPECT_FALSE(CreateGameRefusal(Request("war", 0)));
    EXPECT_FALSE(CreateGameRefusal(Request("war", 100)));
}

TEST_F(CreateGameTest, AnAbortedCreationWritesNoFileButPreparesTheMessages) {
    Players players = FivePlayers();
    uint8_t abortFlag = 0;
    int events = 0;
    WorldGenerationHooks hooks;
    hooks.abortFlag = &abortFlag;
    hooks.processPendingEvents = [&] {
        if (++events == 5)
            abortFlag = 1;
    };
    const CreateGameResult result = CreateGame(Request("war"), players, hooks);
    EXPECT_EQ(result.Status, CreateGameStatus::Aborted);
    EXPECT_EQ(result.World.faultIterations, 4);
    EXPECT_TRUE(result.FilesWritten.empty());
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_EQ(players[4].PendingMessages[0].Type, 1);
    EXPECT_EQ(players[1].PendingMessages[2].Type, 5);
}

TEST_F(CreateGameTest, AFailedHostFileWritesNoPlayerFileAndShowsNothing) {
    fs::create_directory("war.hst");  // a folder where the host file should go
    Players players{};
    players[2].InPlay = 1;
    const CreateGameResult result = CreateGame(Request("war"), players);
    EXPECT_EQ(result.Status, CreateGameStatus::Complete);
    EXPECT_TRUE(result.WriteFailed());
    EXPECT_TRUE(result.FilesWritten.empty());
    EXPECT_EQ(result.FailedPlayer, 0);
    EXPECT_EQ(CreateGameFailureText(result), "Couldn't open host file\nwar.hst: Is a directory");
    // The creation reports; its callers speak and decide.
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
    EXPECT_FALSE(fs::exists("war.p03"));
}

TEST(CreateCommandLineTest, ReadsTheOptions) {
    std::string error;
    auto options = ParseCreateCommandLine(
        {"--game", "games/war", "--land", "40 %", "--player", "3=human:races/elf.rce", "--player",
         "10=computer", "--seed", "4294967295"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->GameFileText, "games/war");
    EXPECT_EQ(options->LandPercent, 40);
    ASSERT_EQ(options->Players.size(), 2u);
    EXPECT_EQ(options->Players[0].Player, 3);
    EXPECT_FALSE(options->Players[0].Computer);
    EXPECT_EQ(options->Players[0].RaceFile, "races/elf.rce");
    EXPECT_EQ(options->Players[1].Player, 10);
    EXPECT_TRUE(options->Players[1].Computer);
    EXPECT_EQ(options->Players[1].RaceFile, "");
    EXPECT_EQ(options->Seed, 4294967295u);

    options = ParseCreateCommandLine({"--land", "101%", "--game", "x"}, error);
    ASSERT_TRUE(options) << error;  // the creation refuses the share, not the parser
    EXPECT_EQ(options->LandPercent, 101);
    EXPECT_FALSE(options->Seed);
}

TEST(CreateCommandLineTest, RefusesWhatItCannotRead) {
    const std::vector<std::vector<std::string>> bad = {
        {"--land", "40"},                      // no --game
        {"--game", "war"},                     // no --land
        {"--game", "war", "--land", "forty"},  // not a number
        {"--game", "war", "--land", "40", "--player", "0=human"},
        {"--game", "war", "--land", "40", "--player", "11=human"},
        {"--game", "war", "--land", "40", "--player", "3=robot"},
        {"--game", "war", "--land", "40", "--player", "3"},
        {"--game", "war", "--land", "40", "--player", "3=human:"},
        {"--game", "war", "--land", "40", "--player", "3=human", "--player", "3=computer"},
        {"--game", "war", "--land", "40", "--seed", "-1"},
        {"--game", "war", "--land", "40", "--seed", "4294967296"},
        {"--game", "war", "--land"},
        {"--game", "war", "--land", "40", "--size", "huge"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(ParseCreateCommandLine(args, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
