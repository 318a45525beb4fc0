#include "platform/qt/qt_ui_shell.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFileDialog>
#include <QStringList>

#include "support/qt_printing.h"

namespace {

// What the dialog's file type box lists, as the user reads it.
QStringList FileTypesShown(const QFileDialog& dialog) {
    QStringList shown;
    if (auto* box = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
    }
    return shown;
}

TEST(FileDialogFilters, ShowTheirNamesExactlyAsGiven) {
    QFileDialog open;
    FileDialogOptions game;
    game.title = "Open Existing Game";
    game.filter =
        "Game Files (*.hst, *.p*)|*.hst; *.p*|Host Files (*.hst)|*.hst|Player Files "
        "(*.p*)|*.p*|All Files (*.*)|*.*";
    PrepareFileDialog(open, game, QFileDialog::AcceptOpen);
    EXPECT_EQ(FileTypesShown(open), (QStringList{"Game Files (*.hst, *.p*)", "Host Files (*.hst)",
                                                 "Player Files (*.p*)", "All Files (*.*)"}));
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);

    QFileDialog save;
    FileDialogOptions race;
    race.title = "Save Race";
    race.filter = "Race Files (*.rce)|*.rce";
    race.defaultExt = "rce";
    PrepareFileDialog(save, race, QFileDialog::AcceptSave);
    EXPECT_EQ(FileTypesShown(save), QStringList{"Race Files (*.rce)"});
    EXPECT_EQ(save.defaultSuffix(), "rce");
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
}

TEST(FileDialogFilters, KeepEveryPatternOfAPairForTheDialogToMatch) {
    // The patterns separated by ";" become the parenthesised list Qt matches names against;
    // the text before them stays as written, its own parentheses included.
    EXPECT_EQ(QtNameFilters("Game Files (*.hst, *.p*)|*.hst; *.p*|All Files (*.*)|*.*"),
              (QStringList{"Game Files (*.hst, *.p*) (*.hst *.p*)", "All Files (*.*) (*.*)"}));
    EXPECT_EQ(QtNameFilters("Race Files|*.rce"), QStringList{"Race Files (*.rce)"});
    EXPECT_TRUE(QtNameFilters("").isEmpty());

    QFileDialog open;
    FileDialogOptions options;
    options.filter = "Game Files (*.hst, *.p*)|*.hst; *.p*";
    PrepareFileDialog(open, options, QFileDialog::AcceptOpen);
    EXPECT_EQ(open.nameFilters(), QStringList{"Game Files (*.hst, *.p*) (*.hst *.p*)"});
}

}  // namespace
