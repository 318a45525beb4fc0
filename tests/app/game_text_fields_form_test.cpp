// Game texts are Windows-1252 bytes: every screen that shows or takes one must show "€" for
// 0x80 and "é" for 0xE9, store them back as those bytes, and refuse at the keyboard what
// the code page cannot hold ("Ω", "ł") instead of storing something else.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/message_store.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/os/version_block.h"
#include "race/password_form.h"
#include "race/race_design_form.h"
#include "support/executable_image_builder.h"
#include "support/file_contents.h"
#include "support/qt_printing.h"
#include "support/qt_typing.h"
#include "support/quiet_views.h"
#include "support/temp_dir.h"
#include "units/unit_form.h"
#include "view/main_screen_form.h"

namespace {

const QString kEuroE = QString::fromUtf8("\u20ac\u00e9");  // "€é": bytes 0x80 0xE9
const std::string kEuroEBytes = "\x80\xE9";
const QString kOmega = QString::fromUtf8("\u03a9");    // not in the code page
const QString kLStroke = QString::fromUtf8("\u0142");  // "ł": not in the code page

// Types "€é", then "Ω" and "ł", which must change nothing: the field keeps "€é" with the
// cursor behind it.
void TypeAndRefuse(QLineEdit* field) {
    field->clear();
    TypeText(field, kEuroE);
    TypeText(field, kOmega + kLStroke);
    EXPECT_EQ(field->text(), kEuroE) << field->objectName().toStdString();
    EXPECT_EQ(field->cursorPosition(), 2) << field->objectName().toStdString();
}

class GameTextFields : public ::testing::Test {
protected:
    ScriptedUiShell shell;
    ScopedShell installed{shell};
};

TEST_F(GameTextFields, RaceWizardStoresEveryTextFieldInTheCodePageAndShowsItBack) {
    TempDir dir;
    ScreenSet screens;
    TRaceDesign& form = *RaceDesign;
    form.show();
    QLineEdit* const fields[] = {form.RaceNameSingular, form.RaceNamePlural, form.RaceLeaderName,
                                 form.RaceLeaderTitle,  form.Password,       form.PasswordConfirm};
    for (QLineEdit* field : fields)
        TypeAndRefuse(field);

    for (const std::string* text :
         {&form.Values.RaceNameSingular, &form.Values.RaceNamePlural, &form.Values.RaceLeaderName,
          &form.Values.RaceLeaderTitle, &form.Values.Password, &form.Values.PasswordConfirm}) {
        EXPECT_EQ(*text, kEuroEBytes);
    }
    EXPECT_EQ(form.Label8->text(), QStringLiteral("The ") + kEuroE);
    EXPECT_TRUE(form.RaceBlurb->toPlainText().contains(QStringLiteral("The ") + kEuroE +
                                                       QStringLiteral(" race slowly")));

    // Saved and loaded into another wizard, the names come back as typed; the load goes
    // through the password prompt, which is answered with the same two bytes.
    const std::string path = dir.File("euro.rce");
    shell.saveAnswers.push_back(path);
    QTest::mouseClick(form.SaveRaceButton, Qt::LeftButton);
    ASSERT_TRUE(shell.messages.empty());
    TRaceDesign other;
    other.show();
    shell.openAnswers.push_back(path);
    shell.passwordAnswers.push_back(kEuroEBytes);
    QTest::mouseClick(other.LoadRaceButton, Qt::LeftButton);
    EXPECT_EQ(shell.passwordPrompts, 1);
    for (QLineEdit* field : {other.RaceNameSingular, other.RaceNamePlural, other.RaceLeaderName,
                             other.RaceLeaderTitle}) {
        EXPECT_EQ(field->text(), kEuroE);
    }
}

TEST_F(GameTextFields, PasswordPromptComparesTheTypedTextInTheCodePage) {
    TPasswordForm prompt;
    std::vector<std::string> compared;
    prompt.SetPasswordCheck([&](const std::string& typed) {
        compared.push_back(typed);
        return true;
    });
    TypeAndRefuse(prompt.PasswordBox);
    QTest::mouseClick(prompt.OkayButton, Qt::LeftButton);
    EXPECT_EQ(compared, std::vector<std::string>{kEuroEBytes});
}

TEST_F(GameTextFields, UnitNameBoxKeepsWhatIsTypedAndSavesItInTheCodePage) {
    TempDir folder;
    WorkingDirectory inFolder(folder.path());
    TUnitForm form;
    form.show();
    form.FormActivate();
    TypeAndRefuse(form.UnitNameBox);
    EXPECT_EQ(form.State.UnitName, kEuroEBytes);
    EXPECT_EQ(form.TemplateHullName->text(), kEuroE);

    QTest::mouseClick(form.UnitSaveButton, Qt::LeftButton);
    const int count = form.State.DesignTable.Count(0);
    ASSERT_GT(count, 0);
    EXPECT_EQ(form.State.DesignTable.Design(0, count - 1).NameText(), kEuroEBytes);
    QTest::mouseClick(form.ExistingUnitRadioButton, Qt::LeftButton);
    ASSERT_EQ(form.HullUnitSelect->count(), count);
    EXPECT_EQ(form.HullUnitSelect->item(count - 1)->text(), kEuroE);
}

TEST_F(GameTextFields, TitleScreenShowsTheVersionLabelsInTheCodePage) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    const VersionStringEntry strings[] = {{"FileVersion", "1.2 \x80\xE9"}};
    PeImageOptions image;
    image.versionBlock = BuildVersionBlock("1.2", 0x0414, 1252, strings);  // Norwegian Bokmål
    WriteBytes(dir.File("tarrowind.exe"), BuildPeImage(image).bytes);

    ScreenSet screens;
    EXPECT_EQ(MainForm->Label4->text(), QStringLiteral("1.2 ") + kEuroE);
    EXPECT_EQ(MainForm->Label6->text(), QString::fromUtf8("Norwegian, Bokm\u00e5l (Norway)"));
}

// Views that do nothing: the message panel needs only the game's message store.
TEST_F(GameTextFields, MessagePanelShowsParametersInTheCodePage) {
    SetGameViewsFactory([] { return std::make_unique<QuietViews>(); });
    ScreenSet screens;
    Game().Create(MakeGameViews());
    ASSERT_TRUE(Game().Messages()->Append(2, kEuroEBytes + " Fleet"));
    Main_ScreenForm->ShowCurrentMessage();
    EXPECT_EQ(Main_ScreenForm->MessagePanelMessageBox->toPlainText(),
              QStringLiteral("Your fleet, ") + kEuroE +
                  QStringLiteral(" Fleet, has arrived at it's final location and is awaiting "
                                 "further orders."));
    Game().Destroy();
    SetGameViewsFactory(nullptr);
}

}  // namespace
