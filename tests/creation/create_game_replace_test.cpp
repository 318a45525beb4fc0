#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "creation/create_command_line.h"
#include "creation/create_game.h"
#include "platform/os/file_write.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Players = std::array<PlayerSlot, kPlayerCount>;

CreateGameRequest Request(const std::string& gameFileText) {
    CreateGameRequest request;
    request.GameFileText = gameFileText;
    request.LandPercent = 40;
    request.Seed = 77;
    return request;
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class ReplacingAGame : public ::testing::Test {
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
};

TEST_F(ReplacingAGame, OnlyTheFilesTheCreationWouldWriteCount) {
    Players players{};
    players[0].InPlay = 1;
    players[2].InPlay = 1;
    EXPECT_TRUE(FilesToReplace(Request("war"), players).empty());

    Put("war.p02", "old");  // player 2 is not in play: his old file is not replaced
    Put("war.p03", "old");
    Put("peace.hst", "old");
    EXPECT_EQ(FilesToReplace(Request("war"), players), std::vector<std::string>{"war.p03"});
    // A link counts even when its file is gone, since the creation writes through it.
    fs::create_symlink("gone.hst", "war.hst");
    EXPECT_EQ(FilesToReplace(Request("war"), players),
              (std::vector<std::string>{"war.hst", "war.p03"}));

    EXPECT_EQ(ReplaceGameQuestion({"war.hst", "war.p03"}),
              "These files of an earlier game will be replaced:\nwar.hst\nwar.p03\n\n"
              "Create the new game and replace them?");
    EXPECT_EQ(ReplaceGameQuestion({"war.p03"}),
              "This file of an earlier game will be replaced:\nwar.p03\n\n"
              "Create the new game and replace it?");
}

TEST_F(ReplacingAGame, AFailedPlayerFileLeavesTheEarlierGameWhole) {
    Players players{};
    for (int i = 0; i < 5; ++i)
        players[static_cast<size_t>(i)].InPlay = 1;
    for (const char* name : {"war.hst", "war.p01", "war.p02", "war.p04", "war.p05"})
        Put(name, std::string("earlier ") + name);
    const std::map<std::string, std::string> before = FolderContents(dir.path());

    CreateGameResult result;
    {
        // The third file of the set, player 2's, cannot be written.
        ScopedWriteFault fault(WriteStep::WriteData, 3, ENOSPC);
        result = CreateGame(Request("war"), players);
    }
    EXPECT_EQ(result.Status, CreateGameStatus::Complete);
    ASSERT_TRUE(result.WriteFailed());
    EXPECT_EQ(result.FailedPlayer, 2);
    EXPECT_TRUE(result.FilesWritten.empty());
    EXPECT_TRUE(result.PlayersWritten.empty());
    EXPECT_EQ(CreateGameFailureText(result),
              "Couldn't open player file\nwar.p02: No space left on device");
    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);

    // Without the fault the same creation replaces them all.
    result = CreateGame(Request("war"), players);
    ASSERT_FALSE(result.WriteFailed());
    EXPECT_EQ(CreateGameFailureText(result), "");
    const std::map<std::string, std::string> after = FolderContents(dir.path());
    EXPECT_EQ(after.size(), 6u);
    for (const auto& [name, text] : before)
        EXPECT_NE(after.at(name), text) << name;
}

TEST(CreateCommandLineForce, IsOffUnlessGiven) {
    std::string error;
    auto plain = ParseCreateCommandLine({"--game", "war", "--land", "40"}, error);
    ASSERT_TRUE(plain) << error;
    EXPECT_FALSE(plain->Force);
    auto forced = ParseCreateCommandLine({"--force", "--game", "war", "--land", "40"}, error);
    ASSERT_TRUE(forced) << error;
    EXPECT_TRUE(forced->Force);
    EXPECT_EQ(forced->GameFileText, "war");
}

}  // namespace
