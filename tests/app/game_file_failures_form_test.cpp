#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/player_file.h"
#include "game/turn_files.h"
#include "game/world_map.h"
#include "platform/os/file_write.h"
#include "platform/os/scripted_ui_shell.h"
#include "research/research_form.h"
#include "support/file_contents.h"
#include "support/quiet_views.h"
#include "support/temp_dir.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

namespace fs = std::filesystem;

class GameFileFailures : public ::testing::Test {
protected:
    GameFileFailures() {
        SetGameViewsFactory([] { return std::make_unique<QuietViews>(); });
    }
    ~GameFileFailures() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    // A player file whose every tile is highland, stamped 3.634.
    std::vector<uint8_t> PlayerFile() const {
        auto world = std::make_unique<WorldMap>();
        for (auto& row : world->Tiles) {
            for (Tile& tile : row)
                tile.Terrain = TerrainHighland;
        }
        std::array<PendingMessage, 5> messages;
        messages[0] = PendingMessage{2, 1, "Scout Fleet-1", {}, {}};
        TitleState title;
        title.VersionStampA = 3.634f;
        title.VersionStampB = 3.634f;
        return EncodePlayerFile(title, *world, messages);
    }

    void Load(const std::string& path) {
        shell.openAnswers.push_back(path);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    }

    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
};

TEST_F(GameFileFailures, ASaveThatCannotBeWrittenKeepsTheGameAndTheFiles) {
    const std::string path = dir.File("war.p01");
    WriteBytes(path, PlayerFile());
    WriteBytes(dir.File("war.H01"), {1, 2, 3});
    WriteBytes(dir.File("war.S01"), {4, 5, 6});
    MainForm->show();
    Load(path);
    ASSERT_TRUE(Game().Loaded());
    const std::map<std::string, std::string> before = FolderContents(dir.path());

    {
        // A folder that takes no new file, holding files that cannot be rewritten.
        ScopedWriteFault folder(WriteStep::CreateTemporary, 0, EACCES);
        ScopedWriteFault files(WriteStep::OpenInPlace, 0, EACCES);
        Main_ScreenForm->MainMenuFileSave->trigger();
    }
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "Couldn't save history file\n" + dir.File("war.H01") + ": Permission denied");
    EXPECT_EQ(shell.messages[0].caption, "Fatal Error");
    EXPECT_EQ(shell.endRequests, 0);
    EXPECT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_EQ(FolderContents(dir.path()), before);

    // The send file's place is taken by a folder: the history file is not replaced either.
    fs::remove(dir.File("war.S01"));
    fs::create_directory(dir.File("war.S01"));
    Main_ScreenForm->MainMenuFileSave->trigger();
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text,
              "Couldn't save send file\n" + dir.File("war.S01") + ": Is a directory");
    EXPECT_EQ(FolderContents(dir.path()).at("war.H01"), before.at("war.H01"));
    EXPECT_TRUE(Game().Loaded());

    // Once the folder takes the files, the same turn is saved.
    fs::remove(dir.File("war.S01"));
    Main_ScreenForm->MainMenuFileSave->trigger();
    EXPECT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(FolderContents(dir.path()).at("war.S01").size(), 12u);
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameFileFailures, ACutPlayerFileOpensAfterABoxNamingTheFileAndTheOffset) {
    std::vector<uint8_t> bytes = PlayerFile();
    bytes.resize(100000);
    const std::string path = dir.File("war.p01");
    WriteBytes(path, bytes);
    MainForm->show();
    // The box comes before the loading notice and the main screen.
    size_t boxesBeforeNotice = 0;
    shell.onProcessEvents = [&] {
        boxesBeforeNotice = shell.messages.size();
        EXPECT_FALSE(Main_ScreenForm->isVisible());
    };
    Load(path);
    EXPECT_EQ(boxesBeforeNotice, 1u);

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              path +
                  " ends at byte 100000, inside the tile data: the rest of the world is "
                  "unknown");
    EXPECT_EQ(shell.messages[0].caption, "File Error");
    ASSERT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_EQ(Game().World()->At(0, 0).Terrain, TerrainHighland);
    EXPECT_EQ(Game().World()->At(127, 255).Terrain, TerrainUnset);
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameFileFailures, AnEmptyPlayerFileIsRefusedAndTheTitleScreenStays) {
    MainForm->State.VersionStampA = 3.634f;
    MainForm->State.PointList = {PointEntry{1.0f, 2.0f, 3.0f}};
    ResearchForm->State.Points.AvailableResearchPoints = 7;
    // A history file beside it would change the designs and stamps; they are put back.
    WriteBytes(dir.File("war.H02"), EncodeHistoryFile(TitleState{}, UnitDesignTable::MakeEmpty()));
    const std::string path = dir.File("war.p02");
    WriteBytes(path, {});
    MainForm->show();
    Load(path);

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Couldn't open player file\n" + path + ": the file is empty");
    EXPECT_EQ(shell.messages[0].caption, "Fatal Error");
    EXPECT_EQ(shell.endRequests, 0);
    EXPECT_FALSE(Game().Loaded());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(MainForm->State.VersionStampA, 3.634f);
    EXPECT_EQ(MainForm->State.PointList.size(), 1u);
    EXPECT_EQ(ResearchForm->State.Points.AvailableResearchPoints, 7);
    EXPECT_EQ(UnitForm->State.DesignTable.Count(0), UnitDesignTable().Count(0));

    // A whole file chosen next opens as usual.
    const std::string whole = dir.File("war.p03");
    WriteBytes(whole, PlayerFile());
    Load(whole);
    EXPECT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_EQ(shell.messages.size(), 1u);
}

}  // namespace
