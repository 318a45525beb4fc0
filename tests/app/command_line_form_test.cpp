// A file named on the command line, opened through the screens as the title screen would.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line_file.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/host_file.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/turn_files.h"
#include "game/world_map.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/qt/qt_ui_shell.h"
#include "race/race_design_form.h"
#include "race/race_file.h"
#include "support/file_contents.h"
#include "support/quiet_views.h"
#include "support/temp_dir.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace fs = std::filesystem;

namespace {

// Views that do nothing but note the steps, with the loading notice's state at the gauge.
class NotingViews final : public QuietViews {
public:
    explicit NotingViews(std::vector<std::string>& steps) : steps_(steps) {}
    bool SetUpEngine(MainMap&) override {
        steps_.push_back("engine");
        return true;
    }
    bool SetUpGlobe(WorldMap&) override {
        steps_.push_back("globe");
        return true;
    }
    bool SetUpLargeMap(MainMap&, const WorldMap&, int, const LoadProgressFn& progress) override {
        progress(50);
        steps_.push_back(Form1->isVisible() ? "map, notice shown" : "map, notice hidden");
        return true;
    }

private:
    std::vector<std::string>& steps_;
};

class CommandLineFile : public ::testing::Test {
protected:
    CommandLineFile() {
        SetGameViewsFactory([this] { return std::make_unique<NotingViews>(steps); });
        MainForm->show();
    }
    ~CommandLineFile() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    std::string WritePlayerFile(const std::string& name) {
        auto world = std::make_unique<WorldMap>();
        world->At(3, 9).Terrain = TerrainHighland;
        TitleState title;
        title.VersionStampA = 3.634f;
        title.VersionStampB = 3.634f;
        const std::string path = dir.File(name);
        WriteBytes(path, EncodePlayerFile(title, *world, std::vector<PendingMessage>{}));
        return path;
    }

    // A race as the wizard saves it: Elves of class Mammalia, with a password.
    std::string WriteRaceFile(const std::string& name, const std::string& password) {
        RaceRecord race;
        race.Version = 3.634f;
        race.NameSingular = "Elf";
        race.NamePlural = "Elves";
        race.LeaderName = "Ara";
        race.LeaderTitle = "King";
        race.Password = password;
        race.Sex = 1;
        race.RaceClass = 4;
        race.DesignSlots = {6, 5, 8, 6, 5, 5, 3, 5};
        const std::string path = dir.File(name);
        WriteBytes(path, RaceFileBytes(race));
        return path;
    }

    // Opens the file; while the race design wizard is up (it is modal), notes what it shows
    // and closes it.
    bool Open(const std::string& path) {
        QTimer::singleShot(0, RaceDesign, [this] {
            if (!RaceDesign->isVisible())
                return;
            wizardShown = true;
            titleHiddenUnderWizard = !MainForm->isVisible();
            wizardPlural = RaceDesign->RaceNamePlural->text().toStdString();
            wizardPassword = RaceDesign->Password->text().toStdString();
            RaceDesign->close();
        });
        const bool opened = OpenCommandLineFile(path);
        QCoreApplication::processEvents();
        return opened;
    }

    // The title screen is up and nothing was opened.
    void ExpectOnlyTheTitleScreen() {
        EXPECT_TRUE(MainForm->isVisible());
        EXPECT_FALSE(Main_ScreenForm->isVisible());
        EXPECT_FALSE(HostForm->isVisible());
        EXPECT_FALSE(Form1->isVisible());
        EXPECT_FALSE(wizardShown);
        EXPECT_FALSE(Game().Loaded());
        EXPECT_EQ(shell.endRequests, 0);
    }

    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    std::vector<std::string> steps;
    bool wizardShown = false;
    bool titleHiddenUnderWizard = false;
    std::string wizardPlural;
    std::string wizardPassword;
};

TEST_F(CommandLineFile, PlayerFileLoadsItsGameAsLoadGameDoes) {
    const std::string path = WritePlayerFile("war.p03");
    // The history file beside it brings a design of the player's own.
    UnitDesignTable designs;
    UnitDesign scout;
    scout.SetName("Scout");
    ASSERT_TRUE(designs.AppendOwnDesign(scout));
    WriteBytes(dir.File("war.H03"), EncodeHistoryFile(TitleState{}, designs));

    EXPECT_TRUE(Open(path));
    ASSERT_TRUE(Game().Loaded());
    EXPECT_EQ(Game().World()->At(3, 9).Terrain, TerrainHighland);
    EXPECT_FLOAT_EQ(MainForm->State.VersionStampA, 3.634f);
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        EXPECT_EQ(UnitForm->State.DesignTable.Count(slot), designs.Count(slot)) << slot;
    }
    // The loading notice is up while the map is built; then the main screen replaces the
    // title screen, and the save and the host screen take the file's name from the dialog.
    EXPECT_EQ(steps, (std::vector<std::string>{"engine", "globe", "map, notice shown"}));
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(MainForm->OpenGameDialog.FileName, path);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(shell.openRequests.empty());  // no dialog is asked
}

TEST_F(CommandLineFile, HostFileOpensTheHostScreen) {
    std::array<PlayerSlot, 10> players{};
    auto world = std::make_unique<WorldMap>();
    TitleState title;
    title.VersionStampA = 3.634f;
    const std::string path = dir.File("war.hst");
    WriteBytes(path, EncodeHostFile(title, *world, players));

    EXPECT_TRUE(Open(path));
    EXPECT_TRUE(HostForm->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(HostForm->HostFileTag, 2);
    EXPECT_EQ(MainForm->OpenGameDialog.FileName, path);
    EXPECT_FALSE(Game().Loaded());  // a host file is never read as a player file
    EXPECT_TRUE(shell.messages.empty());

    HostForm->close();
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(CommandLineFile, RaceFileOpensTheWizardWithTheRaceAfterItsPassword) {
    const std::string path = WriteRaceFile("elves.rce", "Secret");
    shell.passwordAnswers = {std::string("secret"), std::string("Secret")};

    EXPECT_TRUE(Open(path));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_TRUE(wizardShown);
    EXPECT_TRUE(titleHiddenUnderWizard);
    EXPECT_EQ(wizardPlural, "Elves");
    EXPECT_EQ(wizardPassword, "Secret");
    EXPECT_EQ(RaceDesign->Values.RaceClass, 4);
    EXPECT_EQ(RaceDesign->Values.Adjustments[0], 1);  // Infantry 6 on a base of 5
    // Closing the wizard brings the title screen back.
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(CommandLineFile, RaceWithACancelledPasswordStillOpensTheWizard) {
    // As with "Load Race": the load stops at the password and empties the password fields.
    const std::string path = WriteRaceFile("guarded.rce", "Secret");
    shell.passwordAnswers = {std::nullopt};
    EXPECT_TRUE(Open(path));
    EXPECT_TRUE(wizardShown);
    EXPECT_EQ(wizardPlural, "");
    EXPECT_EQ(wizardPassword, "");
}

TEST_F(CommandLineFile, MissingFilesAreReportedAndLeaveTheTitleScreenUp) {
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"gone.p01", "Couldn't open player file"},
        {"gone.hst", "Couldn't open host file"},
        {"gone.rce", "Race File Does Not Exist!"},
    };
    for (const Case& c : cases) {
        shell.messages.clear();
        EXPECT_FALSE(Open(dir.File(c.name))) << c.name;
        ASSERT_EQ(shell.messages.size(), 1u) << c.name;
        EXPECT_EQ(shell.messages[0].text, c.text);
        EXPECT_EQ(shell.messages[0].caption, "File Error");
        ExpectOnlyTheTitleScreen();
    }
    // A folder named like a game file cannot be opened either.
    fs::create_directory(dir.path() / "folder.p02");
    fs::create_directory(dir.path() / "folder.hst");
    shell.messages.clear();
    EXPECT_FALSE(Open(dir.File("folder.p02")));
    EXPECT_FALSE(Open(dir.File("folder.hst")));
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, "Couldn't open player file");
    EXPECT_EQ(shell.messages[1].text, "Couldn't open host file");
    ExpectOnlyTheTitleScreen();
}

TEST_F(CommandLineFile, NameOfNoKnownKindGetsAClearBox) {
    // It exists and holds a player file, but its name is none of the game's kinds.
    const std::string path = WritePlayerFile("notes.txt");
    const std::string upper = WritePlayerFile("WAR.P01");
    EXPECT_FALSE(Open(path));
    EXPECT_FALSE(Open(upper));
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text,
              "\"notes.txt\" is not a Velmora file. Velmora opens player files (.p01 to .p10), "
              "host files (.hst) and race files (.rce).");
    EXPECT_EQ(shell.messages[0].caption, "File Error");
    EXPECT_EQ(shell.messages[1].text.rfind("\"WAR.P01\" is not a Velmora file.", 0), 0u);
    ExpectOnlyTheTitleScreen();
}

TEST(CommandLineFileKind, TellsTheKindByTheExactCaseExtension) {
    EXPECT_EQ(KindOfCommandLineFile("/games/war.p01"), CommandLineFileKind::Player);
    EXPECT_EQ(KindOfCommandLineFile("war.p10"), CommandLineFileKind::Player);
    EXPECT_EQ(KindOfCommandLineFile("/games/war.hst"), CommandLineFileKind::Host);
    EXPECT_EQ(KindOfCommandLineFile("/races/elves.rce"), CommandLineFileKind::Race);
    // A host file in a folder named with ".p" is a host file only.
    EXPECT_EQ(KindOfCommandLineFile("/home/a/my.plans/war.hst"), CommandLineFileKind::Host);
    // Players are numbered 1 to 10 with two digits; the folder does not count.
    for (const char* name :
         {"war.p00", "war.p11", "war.p1", "war.p001", "war.P01", "WAR.HST", "elves.RCE", "war.H01",
          "war.S01", "war.p01.bak", "/a/b.p01/war", "war", ""}) {
        EXPECT_EQ(KindOfCommandLineFile(name), CommandLineFileKind::Unknown) << name;
    }
}

TEST(CommandLineFileKind, ArgumentBecomesAbsoluteFromTheStartFolder) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    EXPECT_EQ(AbsoluteCommandLinePath("war.p01"), (fs::current_path() / "war.p01").string());
    EXPECT_EQ(AbsoluteCommandLinePath("games/../war.hst"),
              (fs::current_path() / "war.hst").string());
    EXPECT_EQ(AbsoluteCommandLinePath("/games/war.p02"), "/games/war.p02");
}

TEST(FileDialogStart, OpensInTheNamedFolderTheLastFolderOrHome) {
    EXPECT_EQ(DialogStartFolder("/games/war.p01", QStringLiteral("/races")),
              QStringLiteral("/games"));
    EXPECT_EQ(DialogStartFolder("", QStringLiteral("/races")), QStringLiteral("/races"));
    EXPECT_EQ(DialogStartFolder("war", QStringLiteral("/races")), QStringLiteral("/races"));
    // Never the working directory, which the desktop's menu chooses.
    EXPECT_EQ(DialogStartFolder("", QString()), QDir::homePath());
    EXPECT_EQ(DialogStartFolder("war.p01", QString()), QDir::homePath());
}

}  // namespace
