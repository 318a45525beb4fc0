#include "host/host_form.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>
#include <array>
#include <bit>
#include <fstream>
#include <string>

#include "app/main_form.h"
#include "app/screens.h"
#include "game/game_state.h"
#include "game/host_file.h"
#include "game/world_map.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

class HostScreen : public ::testing::Test {
protected:
    // Writes a host file the way game creation does, with the given version stamp.
    std::string WriteGame(const std::string& name, float versionStamp) {
        std::array<PlayerSlot, kPlayerCount> players{};
        players[1].InPlay = 1;
        TitleState title;
        title.VersionStampA = versionStamp;
        title.VersionStampB = versionStamp;
        WorldMap world;
        EXPECT_TRUE(WriteHostFile(dir.File(name), players, world, title));
        return dir.File(name) + ".hst";
    }

    std::string WriteBytes(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.File(name), std::ios::binary) << bytes;
        return dir.File(name);
    }

    // Opens a file from the title screen, as the player does with "Load Game".
    void LoadGame(const std::string& path) {
        MainForm->show();
        shell.openAnswers.push_back(path);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    TempDir dir;
};

TEST_F(HostScreen, IsLaidOutAsDesigned) {
    EXPECT_EQ(HostForm->windowTitle(), "Host Functions");
    EXPECT_EQ(HostForm->pos(), QPoint(200, 109));
    EXPECT_EQ(HostForm->size(), QSize(435 - 8, 300 - 27));
    EXPECT_EQ(HostForm->GenerateTurnButton->text(), "Generate Turn");
    EXPECT_EQ(HostForm->GenerateTurnButton->geometry(), QRect(192, 112, 80, 25));
    EXPECT_EQ(HostForm->HostFileTag, 0);
    EXPECT_EQ(HostForm->HostFileValue, 0);
}

TEST_F(HostScreen, ShowingReadsTheHeadOfACreatedGame) {
    const std::string path = WriteGame("war", 3.634f);
    LoadGame(path);
    ASSERT_TRUE(HostForm->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(HostForm->HostFileTag, 2);
    EXPECT_EQ(HostForm->HostFileValue, std::bit_cast<int32_t>(3.634f));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(HostScreen, EveryShowingReadsTheFileAgain) {
    LoadGame(WriteGame("war", 3.634f));
    HostForm->close();
    LoadGame(WriteBytes("other.hst", std::string("\x07\x00\x00\x00\xff\xff\xff\xff", 8)));
    EXPECT_EQ(HostForm->HostFileTag, 7);
    EXPECT_EQ(HostForm->HostFileValue, -1);
}

TEST_F(HostScreen, MissingOrShortFilePassesSilently) {
    LoadGame(dir.File("gone.hst"));
    EXPECT_TRUE(HostForm->isVisible());
    EXPECT_EQ(HostForm->HostFileTag, 0);
    EXPECT_EQ(HostForm->HostFileValue, 0);
    HostForm->close();

    // Too short to hold both values: what an earlier showing read stays.
    LoadGame(WriteGame("war", 2.5f));
    HostForm->close();
    LoadGame(WriteBytes("cut.hst", std::string("\x05\x00\x00\x00\x01\x02", 6)));
    EXPECT_TRUE(HostForm->isVisible());
    EXPECT_EQ(HostForm->HostFileTag, 2);
    EXPECT_EQ(HostForm->HostFileValue, std::bit_cast<int32_t>(2.5f));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(HostScreen, GenerateTurnChangesNothing) {
    LoadGame(WriteGame("war", 3.634f));
    QTest::mouseClick(HostForm->GenerateTurnButton, Qt::LeftButton);
    EXPECT_TRUE(HostForm->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(HostForm->HostFileTag, 2);
    EXPECT_EQ(HostForm->HostFileValue, std::bit_cast<int32_t>(3.634f));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(HostScreen, CloseBoxShowsTheTitleScreenAgain) {
    LoadGame(WriteGame("war", 3.634f));
    HostForm->close();
    EXPECT_FALSE(HostForm->isVisible());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
