#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game_options_form.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/turn_files.h"
#include "game/world_map.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "research/research_form.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

PendingMessage Message(int32_t type, int32_t paramCount, std::string p1 = {}, std::string p2 = {},
                       std::string p3 = {}) {
    return PendingMessage{type, paramCount, std::move(p1), std::move(p2), std::move(p3)};
}

// Records what the loading sequence asks of the views.
struct ViewLog {
    std::vector<std::string> calls;
    bool failGlobe = false;
};

class RecordingViews final : public GameViews {
public:
    explicit RecordingViews(ViewLog& log) : log_(log) {}
    bool SetUpEngine(MainMap&) override {
        log_.calls.push_back("engine");
        return true;
    }
    bool SetUpGlobe(WorldMap&) override {
        log_.calls.push_back("globe");
        return !log_.failGlobe;
    }
    bool SetUpLargeMap(MainMap&, const WorldMap&, int resolution,
                       const LoadProgressFn& progress) override {
        log_.calls.push_back("map " + std::to_string(resolution));
        progress(40);
        log_.calls.push_back("gauge " + std::to_string(Form1->CGauge1->Progress()) +
                             (Form1->isVisible() ? " shown" : " hidden"));
        progress(100);
        return true;
    }
    void RenderViews() override { log_.calls.push_back("render"); }
    void BlitMainMapToScreen() override { log_.calls.push_back("blit"); }
    bool SetRotation(RotationFrame frame, float x, float y, float z, float angle) override {
        log_.calls.push_back("rotate " + std::to_string(static_cast<int>(frame)) + " " +
                             std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) +
                             " " + std::to_string(angle));
        return true;
    }
    bool StepZoom(ZoomView view, float step) override {
        log_.calls.push_back("zoom " + std::to_string(static_cast<int>(view)) + " " +
                             std::to_string(step));
        return true;
    }
    bool SetDeviceQuality(int quality) override {
        log_.calls.push_back("quality " + std::to_string(quality));
        return true;
    }

private:
    ViewLog& log_;
};

class GameLoading : public ::testing::Test {
protected:
    GameLoading() {
        SetGameViewsFactory([this] { return std::make_unique<RecordingViews>(views); });
        Game().OnObjectEvent = [this](std::string_view event) { events.emplace_back(event); };
    }
    ~GameLoading() override {
        Game().Destroy();
        Game().OnObjectEvent = nullptr;
        SetGameViewsFactory(nullptr);
    }

    std::string WritePlayerFile(const std::string& name,
                                const std::vector<PendingMessage>& messages) {
        auto world = std::make_unique<WorldMap>();
        world->At(5, 7).Terrain = TerrainHighland;
        TitleState title;
        title.VersionStampA = 3.634f;
        title.VersionStampB = 3.634f;
        const std::string path = dir.File(name);
        WriteBytes(path, EncodePlayerFile(title, *world, messages));
        return path;
    }

    void Load(const std::string& path) {
        shell.openAnswers.push_back(path);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
        Main_ScreenForm->FormActivate();
    }

    std::string Label() const { return Main_ScreenForm->MessageNumberLabel->text().toStdString(); }
    std::string Memo() const {
        return Main_ScreenForm->MessagePanelMessageBox->toPlainText().toStdString();
    }
    std::string Buttons() const {
        std::string s;
        s += Main_ScreenForm->MessagePanelPreviousButton->isEnabled() ? 'P' : '-';
        s += Main_ScreenForm->MessagePanelGotoButton->isEnabled() ? 'G' : '-';
        s += Main_ScreenForm->MessagePanelNextButton->isEnabled() ? 'N' : '-';
        return s;
    }

    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    ViewLog views;
    std::vector<std::string> events;
};

TEST_F(GameLoading, PlayerFileWithoutMessagesShowsTheNoMessagesText) {
    MainForm->show();
    Load(WritePlayerFile("war.p01", {}));

    ASSERT_TRUE(Game().Loaded());
    EXPECT_EQ(Game().World()->At(5, 7).Terrain, TerrainHighland);
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(Label(), "Message 1 of 1");
    EXPECT_EQ(Memo(), "You have... NO ...new messages.");
    EXPECT_EQ(Buttons(), "---");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameLoading, RunsTheStepsInOrderWithTheNoticeShown) {
    MainForm->show();
    MainForm->State.TextureResolution = 100;
    Load(WritePlayerFile("war.p02", {}));

    EXPECT_EQ(events, (std::vector<std::string>{"create ViewEngine", "create WorldMap",
                                                "create MainMap", "create MessageStore"}));
    EXPECT_EQ(shell.processEventsCalls, 1);
    ASSERT_GE(views.calls.size(), 4u);
    EXPECT_EQ(views.calls[0], "engine");
    EXPECT_EQ(views.calls[1], "globe");
    EXPECT_EQ(views.calls[2], "map 100");
    EXPECT_EQ(views.calls[3], "gauge 40 shown");
    EXPECT_EQ(Form1->CGauge1->Progress(), 100);
}

TEST_F(GameLoading, StepsThroughThreeMessagesWithTheButtonsRight) {
    MainForm->show();
    Load(WritePlayerFile("war.p03", {Message(1, 3, "Ann", "Elves", "the Wise"),
                                     Message(2, 1, "Scout Fleet-1"), Message(9, 1, "Huns")}));

    EXPECT_EQ(Label(), "Message 1 of 3");
    EXPECT_EQ(Memo(),
              "Ann, you have risen to become leader of the Elves race.  Recognizing your "
              "superior intellegence and skills, they name you the Wise.  Your people await "
              "your commands...");
    EXPECT_EQ(Buttons(), "--N");

    QTest::mouseClick(Main_ScreenForm->MessagePanelNextButton, Qt::LeftButton);
    EXPECT_EQ(Label(), "Message 2 of 3");
    EXPECT_EQ(Memo(),
              "Your fleet, Scout Fleet-1, has arrived at it's final location and is awaiting "
              "further orders.");
    EXPECT_EQ(Buttons(), "PGN");

    QTest::mouseClick(Main_ScreenForm->MessagePanelNextButton, Qt::LeftButton);
    EXPECT_EQ(Label(), "Message 3 of 3");
    EXPECT_EQ(Buttons(), "PG-");

    // Activation shows the message last shown; it does not start again.
    Main_ScreenForm->FormActivate();
    EXPECT_EQ(Label(), "Message 3 of 3");

    QTest::mouseClick(Main_ScreenForm->MessagePanelPreviousButton, Qt::LeftButton);
    QTest::mouseClick(Main_ScreenForm->MessagePanelPreviousButton, Qt::LeftButton);
    EXPECT_EQ(Label(), "Message 1 of 3");
    EXPECT_EQ(Buttons(), "--N");
}

TEST_F(GameLoading, UpperCaseHostNameOpensNothing) {
    MainForm->show();
    Load(dir.File("GAME.HST"));
    EXPECT_FALSE(Game().Loaded());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(HostForm->isVisible());
    EXPECT_FALSE(Main_ScreenForm->isVisible());
}

TEST_F(GameLoading, HostFileInAFolderNamedWithDotPIsNotReadAsAPlayerFile) {
    const std::filesystem::path folder = dir.path() / "my.plans";
    std::filesystem::create_directory(folder);
    MainForm->show();
    Load((folder / "war.hst").string());
    EXPECT_TRUE(HostForm->isVisible());
    EXPECT_FALSE(Game().Loaded());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameLoading, MissingPlayerFileIsRefusedAndLeavesNoObjects) {
    MainForm->show();
    Load(dir.File("war.p04"));

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "Couldn't open player file\n" + dir.File("war.p04") + ": No such file or directory");
    EXPECT_EQ(shell.messages[0].caption, "Fatal Error");
    // The title screen stays for another choice.
    EXPECT_EQ(shell.endRequests, 0);
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(Game().Loaded());
    EXPECT_EQ(events, (std::vector<std::string>{"create ViewEngine", "create WorldMap",
                                                "create MainMap", "create MessageStore",
                                                "destroy MessageStore", "destroy MainMap",
                                                "destroy WorldMap", "destroy ViewEngine"}));
    EXPECT_TRUE(views.calls.empty());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(Main_ScreenForm->isVisible());
}

TEST_F(GameLoading, FailingViewSetUpOpensNoMainScreen) {
    views.failGlobe = true;
    MainForm->show();
    Load(WritePlayerFile("war.p05", {}));
    EXPECT_FALSE(Game().Loaded());
    EXPECT_FALSE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(GameLoading, MissingHistoryFileLoadsWithTheStartUpDesigns) {
    // A design left over from a game loaded earlier in the run does not carry over.
    UnitDesign extra;
    extra.SetName("Leftover");
    ASSERT_TRUE(UnitForm->State.DesignTable.AppendOwnDesign(extra));

    MainForm->show();
    Load(WritePlayerFile("war.p06", {}));
    ASSERT_TRUE(Game().Loaded());
    const UnitDesignTable start;
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        EXPECT_EQ(UnitForm->State.DesignTable.Count(slot), start.Count(slot)) << slot;
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(GameLoading, SaveWritesHistoryAndSendFilesAndLoadingAgainKeepsTheCounts) {
    MainForm->show();
    const std::string path = WritePlayerFile("war.p01", {});
    Load(path);
    Main_ScreenForm->MainMenuFileSave->trigger();

    const std::vector<uint8_t> send = ReadBytes(dir.File("war.S01"));
    EXPECT_EQ(send.size(), 12u);
    EXPECT_EQ(send, EncodeSendFile(MainForm->State));
    EXPECT_EQ(ReadBytes(dir.File("war.H01")),
              EncodeHistoryFile(MainForm->State, UnitForm->State.DesignTable));

    std::vector<int32_t> counts;
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        counts.push_back(UnitForm->State.DesignTable.Count(slot));
    }
    Main_ScreenForm->MainMenuFileExit->trigger();
    Load(path);
    ASSERT_TRUE(Game().Loaded());
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        EXPECT_EQ(UnitForm->State.DesignTable.Count(slot), counts[slot]) << slot;
    }
}

TEST_F(GameLoading, ClosingDestroysTheObjectsInOrderAndASecondLoadWorks) {
    MainForm->show();
    const std::string path =
        WritePlayerFile("war.p07", {Message(2, 1, "A"), Message(3, 2, "B", "C")});
    Load(path);
    QTest::mouseClick(Main_ScreenForm->MessagePanelNextButton, Qt::LeftButton);
    events.clear();

    Main_ScreenForm->close();
    EXPECT_EQ(events, (std::vector<std::string>{"destroy MessageStore", "destroy MainMap",
                                                "destroy WorldMap", "destroy ViewEngine"}));
    EXPECT_FALSE(Main_ScreenForm->isVisible());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(Game().Loaded());

    Load(path);
    ASSERT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_EQ(Label(), "Message 1 of 2");  // a fresh store starts at the first message
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameLoading, RebuildingTheLargeMapReplacesOnlyTheMainMap) {
    MainForm->show();
    Load(WritePlayerFile("war.p08", {}));
    events.clear();
    Main_ScreenForm->ShowLoadingNotice();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Form1->CGauge1->Progress(), 0);
    Main_ScreenForm->DestroyMainMap();
    Main_ScreenForm->CreateMainMap();
    Main_ScreenForm->CloseLoadingNotice();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"destroy MainMap", "create MainMap"}));
    EXPECT_NE(Game().Map(), nullptr);
}

}  // namespace
