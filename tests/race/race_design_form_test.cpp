#include "race/race_design_form.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/main_form.h"
#include "app/screens.h"
#include "creation/race_choice_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "race/password_form.h"
#include "race/race_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

int CountOf(const QString& text, const QString& piece) {
    return static_cast<int>(text.count(piece));
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RaceWizard : public ::testing::Test {
protected:
    TRaceDesign form;
    ScriptedUiShell shell;
    ScopedShell scoped{shell};

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    int Points() const { return form.RacePointsLabel->text().toInt(); }
    QString Story() const { return form.RaceBlurb->toPlainText(); }
    int Page() const { return form.RaceCreateTabControl->currentIndex(); }

    void ShowPage(int page) {
        for (int press = 0; press < TRaceDesign::PageCount && Page() != page; ++press)
            QTest::mouseClick(form.NextButton, Qt::LeftButton);
        ASSERT_EQ(Page(), page);
    }

    // Radio buttons are hit on their indicator.
    static void ClickRadio(QRadioButton* item) {
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(7, item->height() / 2));
    }

    void ChooseClass(int raceClass) {
        ShowPage(TRaceDesign::PrimaryPage);
        ClickRadio(form.ClassChoiceRadioGroup->Item(raceClass));
    }

    void Press(int category, bool up, int times = 1) {
        ShowPage(TRaceDesign::BureaucracyPage);
        const TArrowPair* arrows = form.Row(category).Slider;
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(up ? arrows->UpButton : arrows->DownButton, Qt::LeftButton);
    }

    void TypeNames(const QString& singular, const QString& plural, const QString& leader,
                   const QString& title) {
        form.RaceNameSingular->setText(singular);
        form.RaceNamePlural->setText(plural);
        form.RaceLeaderName->setText(leader);
        form.RaceLeaderTitle->setText(title);
    }

    QStringList RowTexts(int category) const {
        const TRaceDesign::CategoryRow& row = form.Row(category);
        return {row.Base->text(), row.Sign->text(), row.Change->text(), row.Total->text()};
    }
};

TEST_F(RaceWizard, IsLaidOutAsDesigned) {
    EXPECT_EQ(form.windowTitle(), "RaceDesign");
    EXPECT_EQ(form.size(), QSize(558 - kFrameWidth, 477 - kFrameHeight));
    EXPECT_EQ(form.font().family(), "Arial");
    EXPECT_TRUE(form.Label8->font().bold());
    EXPECT_TRUE(form.RacePointsLabel->font().bold());
    EXPECT_EQ(form.PointsCaption->text(), "Available Race Points:");

    QTabWidget* pages = form.RaceCreateTabControl;
    EXPECT_FALSE(pages->tabBar()->isVisible());
    const QStringList titles = {"Race Info",    "Primary Characteristics",
                                "Bureaucracy",  "Secondary Characteristics",
                                "Habitibility", "Technology"};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pages->tabText(i), titles[i]);
        EXPECT_EQ(pages->widget(i)->isEnabled(), i < 3) << i;
    }
    EXPECT_EQ(pages->widget(2), form.TabSheet6);
    for (QLabel* mark : form.InactiveLabels)
        EXPECT_EQ(mark->text(), "INACTIVE SCREEN");

    EXPECT_TRUE(form.NextButton->isDefault());
    QTest::keyClicks(form.Password, "abc");
    EXPECT_EQ(form.Password->displayText(), "***");
    EXPECT_EQ(form.PasswordConfirm->echoMode(), QLineEdit::Password);

    // The rows: caption, base, sign, arrows, magnitude, "=", total; categories 0-3 on the
    // left, 4-7 on the right.
    const char* captions[] = {"Infantry:", "Cavalry:",  "Vehicle:", "Artillery:",
                              "Ships:",    "Aircraft:", "Mechs:",   "Satellites:"};
    for (int category = 0; category < 8; ++category) {
        const TRaceDesign::CategoryRow& row = form.Row(category);
        EXPECT_EQ(row.Caption->text(), captions[category]);
        EXPECT_EQ(row.Equals->text(), "=");
        EXPECT_TRUE(row.Change->isReadOnly());
        EXPECT_LT(row.Caption->x(), row.Base->x());
        EXPECT_LT(row.Base->x(), row.Sign->x());
        EXPECT_LT(row.Sign->x(), row.Slider->x());
        EXPECT_LT(row.Slider->x(), row.Change->x());
        EXPECT_LT(row.Change->x(), row.Equals->x());
        EXPECT_LT(row.Equals->x(), row.Total->x());
        if (category % 4 != 0) {
            EXPECT_GT(row.Caption->y(), form.Row(category - 1).Caption->y());
        }
        if (category >= 4) {
            EXPECT_GT(row.Caption->x(), form.Row(3).Total->x());
        }
    }

    // The inactive pages' controls, which do nothing.
    EXPECT_EQ(form.CombatRadioGroup->Item(form.CombatRadioGroup->ItemIndex())->text(), "Normal");
    EXPECT_EQ(form.OthersRadioGroup->Item(0)->text(), "Flight");
    EXPECT_EQ(form.CombatResearchRadioGroup->Item(0)->text(), "Inept");
    for (QSlider* slider : form.HabitatSliders)
        EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(form.HabitatLabels[7]->text(), "Temperate");
}

TEST_F(RaceWizard, StartsAsMammaliaWithNamelessStory) {
    EXPECT_EQ(Page(), TRaceDesign::RaceInfoPage);
    EXPECT_EQ(Points(), 300);
    EXPECT_EQ(form.Label8->text(), "The ________");
    EXPECT_EQ(CountOf(Story(), "___"), 7);
    EXPECT_TRUE(
        Story().contains("immortal.  In awe of this characteristic, he is named ___, ___ "));
    EXPECT_TRUE(Story().contains("On the day of his coronation, ___ vows to lead his people"));
    EXPECT_EQ(form.RaceSexRadioGroup->ItemIndex(), 0);
    EXPECT_EQ(form.ClassChoiceRadioGroup->ItemIndex(), 4);
    EXPECT_FALSE(form.SaveRaceButton->isEnabled());
    const QStringList bases = {"5", "5", "8", "6", "5", "5", "3", "5"};
    for (int category = 0; category < 8; ++category)
        EXPECT_EQ(RowTexts(category), QStringList({bases[category], "+", "0", bases[category]}));
}

TEST_F(RaceWizard, StoryAndHeaderFollowEveryNameAndSexChange) {
    QTest::keyClicks(form.RaceNameSingular, "Elf");
    EXPECT_EQ(CountOf(Story(), "___"), 6);
    QTest::keyClicks(form.RaceNamePlural, "Elves");
    EXPECT_EQ(form.Label8->text(), "The Elves");
    QTest::keyClicks(form.RaceLeaderName, "Ara");
    QTest::keyClicks(form.RaceLeaderTitle, "King");
    EXPECT_EQ(Story(),
              "The Elf race slowly claw their way from the primordial ooze to sentience.  Much "
              "to their amazement, the Elves discover one of them, Ara, is immortal.  In awe of "
              "this characteristic, he is named Ara, King of the Elves.  On the day of his "
              "coronation, Ara vows to lead his people to world domination.");

    ClickRadio(form.RaceSexRadioGroup->Item(1));
    EXPECT_TRUE(Story().contains(", she is named Ara"));
    EXPECT_TRUE(Story().contains("day of her coronation, Ara vows to lead her people"));
    ClickRadio(form.RaceSexRadioGroup->Item(2));
    EXPECT_TRUE(Story().contains(", it is named Ara"));
    EXPECT_TRUE(Story().contains("day of its coronation, Ara vows to lead its people"));

    form.RaceNamePlural->clear();
    EXPECT_EQ(form.Label8->text(), "The ________");
    form.RaceNamePlural->setText(" ");  // a space is a name
    EXPECT_EQ(form.Label8->text(), "The  ");
    EXPECT_TRUE(form.SaveRaceButton->isEnabled());
}

TEST_F(RaceWizard, ArrowPressesCostAndGainPoints) {
    const int raised[] = {292, 267, 214};
    for (int points : raised) {
        Press(0, true);
        EXPECT_EQ(Points(), points);
    }
    EXPECT_EQ(RowTexts(0), QStringList({"5", "+", "3", "8"}));
    Press(0, false, 3);
    EXPECT_EQ(Points(), 300);
    const int lowered[] = {302, 317, 354};
    for (int points : lowered) {
        Press(0, false);
        EXPECT_EQ(Points(), points);
    }
    EXPECT_EQ(RowTexts(0), QStringList({"5", "-", "3", "2"}));
    Press(0, true, 3);

    Press(6, true, 4);  // Mechs, base 3
    EXPECT_EQ(Points(), 54);
    Press(6, true);
    EXPECT_EQ(Points(), -138);
    Press(0, true);
    EXPECT_EQ(Points(), -146);
    EXPECT_FALSE(form.SaveRaceButton->isEnabled());
    Press(6, false, 5);
    for (int category = 1; category < 8; ++category)
        Press(category, true);
    EXPECT_EQ(Points(), 240);
}

TEST_F(RaceWizard, ArrowsStopAtTwoAndTwenty) {
    Press(0, true, 15);
    const int atTop = Points();
    Press(0, true, 3);
    EXPECT_EQ(Points(), atTop);
    EXPECT_EQ(RowTexts(0), QStringList({"5", "+", "15", "20"}));
    EXPECT_EQ(form.Values.Adjustments[0], 15);

    Press(6, false, 4);  // Mechs: base 3 goes down to 2 only
    EXPECT_EQ(RowTexts(6), QStringList({"3", "-", "1", "2"}));
    EXPECT_EQ(form.Values.Adjustments[6], -1);
}

TEST_F(RaceWizard, ClassChangeClampsAndRowsFollowWhenShown) {
    Press(0, true, 15);  // Mammalia infantry 5 + 15 = 20
    ChooseClass(3);      // Insecta, infantry base 8
    EXPECT_EQ(form.Values.Adjustments[0], 12);
    EXPECT_EQ(Points(), RacePoints(3, form.Values.Adjustments));
    // The page is refreshed only when shown again; the sign stays.
    EXPECT_EQ(form.InfantryBase->text(), "5");
    ShowPage(TRaceDesign::BureaucracyPage);
    EXPECT_EQ(RowTexts(0), QStringList({"8", "+", "12", "20"}));
    EXPECT_EQ(RowTexts(6), QStringList({"4", "+", "0", "4"}));
}

TEST_F(RaceWizard, SaveRaceNeedsAllNamesAndNoDebt) {
    TypeNames("Elf", "Elves", "Ara", "");
    EXPECT_FALSE(form.SaveRaceButton->isEnabled());
    form.RaceLeaderTitle->setText("King");
    EXPECT_TRUE(form.SaveRaceButton->isEnabled());
    Press(6, true, 5);
    EXPECT_LT(Points(), 0);
    EXPECT_FALSE(form.SaveRaceButton->isEnabled());
    Press(6, false);
    EXPECT_TRUE(form.SaveRaceButton->isEnabled());
    form.RaceNameSingular->clear();
    EXPECT_FALSE(form.SaveRaceButton->isEnabled());
}

TEST_F(RaceWizard, NextAndBackWrapOverAllSixPages) {
    for (int press = 1; press <= 6; ++press) {
        QTest::mouseClick(form.NextButton, Qt::LeftButton);
        EXPECT_EQ(Page(), press % 6);
    }
    QTest::mouseClick(form.BackButton, Qt::LeftButton);
    EXPECT_EQ(Page(), TRaceDesign::TechnologyPage);
    QTest::keyClick(form.RaceNameSingular, Qt::Key_Return);  // Enter is "Next"
    EXPECT_EQ(Page(), TRaceDesign::RaceInfoPage);
}

TEST_F(RaceWizard, ClosingKeepsEverythingAndBringsBackTheTitleScreen) {
    TMainForm title;
    TitleScreenLink* previous = InstallTitleScreen(&title);
    title.hide();
    TypeNames("Elf", "Elves", "Ara", "King");
    Press(2, true, 2);
    QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(title.isVisible());

    title.hide();
    form.show();
    EXPECT_EQ(Page(), TRaceDesign::BureaucracyPage);
    EXPECT_EQ(form.RaceNamePlural->text(), "Elves");
    EXPECT_EQ(RowTexts(2), QStringList({"8", "+", "2", "10"}));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(title.isVisible());
    InstallTitleScreen(previous);
}

TEST_F(RaceWizard, SavedRaceLoadsBackWithEveryField) {
    TempDir dir;
    fs::create_directory(dir.path() / "Races.old");
    TMainForm title;
    title.State.VersionStampB = 3.634f;
    TitleScreenLink* previous = InstallTitleScreen(&title);

    TypeNames(QString::fromUtf8("\u00c9lan"), "Elves", "Ara", "King");
    ClickRadio(form.RaceSexRadioGroup->Item(1));
    ChooseClass(2);  // Aves
    Press(0, false, 2);
    Press(5, true, 1);
    shell.saveAnswers.push_back((dir.path() / "Races.old" / "myrace.rac").string());
    QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
    InstallTitleScreen(previous);

    ASSERT_EQ(shell.saveRequests.size(), 1u);
    EXPECT_EQ(shell.saveRequests[0].title, "Save Race File");
    EXPECT_EQ(shell.saveRequests[0].filter, "Race Files (*.rce)|*.rce");
    EXPECT_EQ(shell.saveRequests[0].defaultExt, "rac");
    EXPECT_TRUE(shell.messages.empty());
    const fs::path saved = dir.path() / "Races.old" / "myrace.rce";
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_FALSE(fs::exists(dir.path() / "Races.old" / "myrace.rac"));
    // The name is stored as one Windows-1252 byte per character.
    const std::vector<uint8_t> bytes = FileBytes(saved);
    ASSERT_GE(bytes.size(), 21u);
    EXPECT_EQ(bytes[16], 0xC9);

    // The New Game wizard's side takes the same file.
    RaceRecord slot;
    shell.openAnswers.push_back(saved.string());
    ASSERT_TRUE(LoadRaceForPlayer(slot));
    EXPECT_FLOAT_EQ(slot.Version, 3.634f);
    EXPECT_EQ(slot.NameSingular, "\xC9lan");
    EXPECT_EQ(slot.LeaderTitle, "King");
    EXPECT_EQ(slot.Sex, 1);
    EXPECT_EQ(slot.RaceClass, 2);
    EXPECT_EQ(slot.DesignSlots, (CategoryValues{5, 6, 5, 4, 4, 9, 3, 5}));

    TRaceDesign other;
    other.show();
    shell.openAnswers.push_back(saved.string());
    QTest::mouseClick(other.LoadRaceButton, Qt::LeftButton);
    EXPECT_EQ(shell.openRequests.back().filter, "Race Files (*.rce)|*.rce|All Files (*.*)|*.*");
    EXPECT_EQ(other.RaceNameSingular->text(), QString::fromUtf8("\u00c9lan"));
    EXPECT_EQ(other.RaceNamePlural->text(), "Elves");
    EXPECT_EQ(other.RaceLeaderName->text(), "Ara");
    EXPECT_EQ(other.RaceLeaderTitle->text(), "King");
    EXPECT_EQ(other.Label8->text(), "The Elves");
    EXPECT_TRUE(other.RaceBlurb->toPlainText().contains("she is named Ara, King of the Elves"));
    EXPECT_EQ(other.RaceSexRadioGroup->ItemIndex(), 1);
    EXPECT_EQ(other.ClassChoiceRadioGroup->ItemIndex(), 2);
    EXPECT_EQ(other.RacePointsLabel->text(), form.RacePointsLabel->text());
    EXPECT_TRUE(other.SaveRaceButton->isEnabled());
    EXPECT_EQ(other.InfantryBase->text(), "7");
    EXPECT_EQ(other.InfPlus->text(), "-");
    EXPECT_EQ(other.InfChange->text(), "2");
    EXPECT_EQ(other.InfTotal->text(), "5");
    EXPECT_EQ(other.AirPlus->text(), "+");
    EXPECT_EQ(other.AirTotal->text(), "9");
    EXPECT_TRUE(other.Password->text().isEmpty());
    EXPECT_EQ(shell.passwordPrompts, 0);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(RaceWizard, SavesRefuseMismatchedPasswordsAndOverlongTexts) {
    TempDir dir;
    TypeNames("Elf", "Elves", "Ara", "King");
    form.Password->setText("Secret");
    form.PasswordConfirm->setText("secret");
    QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Incorrect Password Conformation, Please Reinput Password");
    EXPECT_EQ(shell.messages[0].caption, "Password Error!");
    EXPECT_TRUE(shell.saveRequests.empty());

    form.PasswordConfirm->setText("Secret");
    form.RaceLeaderTitle->setText(QString(200, QLatin1Char('k')));
    shell.saveAnswers.push_back(dir.File("long.rac"));
    QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].caption, "File Error");
    EXPECT_NE(shell.messages[1].text.find("199"), std::string::npos);
    EXPECT_TRUE(shell.saveRequests.empty());
    EXPECT_FALSE(fs::exists(dir.File("long.rce")));

    form.RaceLeaderTitle->setText(QString(199, QLatin1Char('k')));
    QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
    EXPECT_EQ(shell.messages.size(), 2u);
    EXPECT_TRUE(fs::exists(dir.File("long.rce")));
}

// A shell whose password prompt is the real prompt window, typed into while it is open.
class PromptShell final : public UiShell {
public:
    ScriptedUiShell scripted;
    TPasswordForm prompt;
    std::vector<QString> typed;  // tried in order; the prompt must stay open on a wrong one
    std::vector<bool> openAfterOkay;

    void ShowMessage(const std::string& text, const std::string& caption) override {
        scripted.ShowMessage(text, caption);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        return scripted.AskYesNo(text, caption);
    }
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override {
        return scripted.OpenFile(options);
    }
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override {
        return scripted.SaveFile(options);
    }
    bool AskPassword(const std::function<bool(const std::string&)>& accept) override {
        QTimer::singleShot(0, &prompt, [this] {
            for (const QString& text : typed) {
                prompt.PasswordBox->clear();
                QTest::keyClicks(prompt.PasswordBox, text);
                prompt.OkayButton->click();
                openAfterOkay.push_back(prompt.isVisible());
                if (!prompt.isVisible())
                    return;
            }
            prompt.CancelButton->click();
        });
        return AskPasswordWithForm(prompt, accept);
    }
    void ProcessPendingEvents() override {}
    void EndApplication() override {}
    bool EndRequested() const override { return false; }
    void DebugOutput(const std::string&) override {}
};

class ProtectedRace : public RaceWizard {
protected:
    TempDir dir;
    std::string file = dir.File("guarded.rce");

    void SetUp() override {
        RaceWizard::SetUp();
        TypeNames("Elf", "Elves", "Ara", "King");
        ClickRadio(form.RaceSexRadioGroup->Item(2));
        ChooseClass(0);
        Press(3, true, 2);
        form.Password->setText("Secret");
        form.PasswordConfirm->setText("Secret");
        shell.saveAnswers.push_back(file);
        QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
        ASSERT_TRUE(fs::exists(file));
    }
};

TEST_F(ProtectedRace, AsksForThePasswordUntilTheRightOne) {
    PromptShell prompting;
    ScopedShell use(prompting);
    prompting.typed = {"secret", "Secret"};
    prompting.scripted.openAnswers.push_back(file);

    TRaceDesign other;
    other.show();
    QTest::mouseClick(other.LoadRaceButton, Qt::LeftButton);
    EXPECT_EQ(prompting.openAfterOkay, (std::vector<bool>{true, false}));
    EXPECT_EQ(other.Values.LoadedRacePassword, "Secret");
    EXPECT_EQ(other.Password->text(), "Secret");
    EXPECT_EQ(other.PasswordConfirm->text(), "Secret");
    EXPECT_EQ(other.RaceNamePlural->text(), "Elves");
    EXPECT_EQ(other.RaceSexRadioGroup->ItemIndex(), 2);
    EXPECT_EQ(other.ClassChoiceRadioGroup->ItemIndex(), 0);
    EXPECT_EQ(other.ArtTotal->text(), "10");
    EXPECT_TRUE(prompting.scripted.messages.empty());
}

TEST_F(ProtectedRace, CancelledPromptChangesOnlyThePasswordFields) {
    TRaceDesign other;
    other.show();
    other.RaceNameSingular->setText("Orc");
    other.RaceNamePlural->setText("Orcs");
    other.Password->setText("mine");
    other.PasswordConfirm->setText("mine");
    ClickRadio(other.RaceSexRadioGroup->Item(1));
    other.NextButton->click();
    ClickRadio(other.ClassChoiceRadioGroup->Item(5));
    other.NextButton->click();
    QTest::mouseClick(other.MecSlider->UpButton, Qt::LeftButton);
    const CategoryValues adjustments = other.Values.Adjustments;
    const QString points = other.RacePointsLabel->text();

    shell.openAnswers.push_back(file);
    shell.passwordAnswers = {"wrong", std::nullopt};
    QTest::mouseClick(other.LoadRaceButton, Qt::LeftButton);
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(other.RaceNameSingular->text(), "Orc");
    EXPECT_EQ(other.RaceNamePlural->text(), "Orcs");
    EXPECT_TRUE(other.RaceLeaderName->text().isEmpty());
    EXPECT_EQ(other.RaceSexRadioGroup->ItemIndex(), 1);
    EXPECT_EQ(other.ClassChoiceRadioGroup->ItemIndex(), 5);
    EXPECT_EQ(other.Values.Adjustments, adjustments);
    EXPECT_EQ(other.MecPlus->text(), "+");
    EXPECT_EQ(other.MecTotal->text(), "4");
    EXPECT_EQ(other.RacePointsLabel->text(), points);
    EXPECT_TRUE(other.Password->text().isEmpty());
    EXPECT_TRUE(other.PasswordConfirm->text().isEmpty());
    EXPECT_TRUE(other.Values.Password.empty());
}

TEST_F(RaceWizard, RefusedLoadsSayWhyAndChangeNothing) {
    TempDir dir;
    TypeNames("Elf", "Elves", "Ara", "King");
    std::ofstream(dir.File("MYRACE.RCE"), std::ios::binary) << "x";
    std::ofstream(dir.File("cut.rce"), std::ios::binary) << std::string("\x03\x00\x00", 3);
    shell.openAnswers = {dir.File("none.rce"), dir.File("MYRACE.RCE"), dir.File("cut.rce")};
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form.LoadRaceButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_EQ(shell.messages[0].text, "Race File Does Not Exist!");
    EXPECT_EQ(shell.messages[1].text, "Invalid Race File");
    EXPECT_EQ(shell.messages[2].text, "Damaged Race File\n" + dir.File("cut.rce") +
                                          ": damaged at byte 0: the file ends before its end "
                                          "record");
    for (const auto& message : shell.messages)
        EXPECT_EQ(message.caption, "File Error");
    EXPECT_EQ(form.RaceNamePlural->text(), "Elves");
    EXPECT_EQ(form.Label8->text(), "The Elves");
}

}  // namespace
