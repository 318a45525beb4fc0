#include <gtest/gtest.h>
#include <qpa/qplatformwindow.h>
#include <QFileDialog>
#include <QWidget>
#include <QWindow>
#include <utility>
#include <vector>

#include "app/application_settings.h"
#include "app/city_design_form.h"
#include "app/credits_form.h"
#include "app/game_options_form.h"
#include "app/help_form.h"
#include "app/known_bugs_form.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "app/version_history_form.h"
#include "creation/new_game_form.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/qt/qt_ui_shell.h"
#include "race/password_form.h"
#include "race/race_design_form.h"
#include "research/research_form.h"
#include "support/qt_printing.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

// The desktop platforms hand a window's title to the window manager through this
// formatting, which may add the application's display name to it.
struct PlatformCaption : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

// The caption the window manager is given for a shown window.
QString CaptionShown(QWidget* window) {
    window->show();
    const QWindow* handle = window->windowHandle();
    if (handle == nullptr)
        return QStringLiteral("(no window)");
    return PlatformCaption::formatWindowTitle(handle->title(), QString::fromUtf8(" \u2014 "));
}

class WindowCaptions : public ::testing::Test {
protected:
    WindowCaptions() { ApplyApplicationSettings(); }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
};

TEST_F(WindowCaptions, EveryTopLevelWindowShowsExactlyItsCaption) {
    THelpForm help;
    QFileDialog openDialog;
    FileDialogOptions open;
    open.title = MainForm->OpenGameDialog.Title;
    open.filter = MainForm->OpenGameDialog.Filter;
    PrepareFileDialog(openDialog, open, QFileDialog::AcceptOpen);
    QFileDialog untitledDialog;  // the race wizard's "Load Race" gives no title
    FileDialogOptions untitled;
    untitled.filter = "Race Files (*.rce)|*.rce|All Files (*.*)|*.*";
    PrepareFileDialog(untitledDialog, untitled, QFileDialog::AcceptOpen);

    const std::vector<std::pair<QWidget*, QString>> windows = {
        {MainForm, QStringLiteral("Velmora - Orbalune")},
        {CityDesignForm, QStringLiteral("CityDesignForm")},
        {CreditsForm, QStringLiteral("Velmora - Orbalune - Credits")},
        {HostForm, QStringLiteral("Host Functions")},
        {KnownBugsForm, QStringLiteral("Known Bugs")},
        {Main_ScreenForm, QStringLiteral("Velmora - Orbalune  (Pre-Alpha)")},
        {NewGameForm, QStringLiteral("New Game")},
        {RaceDesign, QStringLiteral("RaceDesign")},
        {ResearchForm, QStringLiteral("Research")},
        {UnitForm, QStringLiteral("Unit Inspector")},
        {VersionHistoryForm, QStringLiteral("Velmora Version History")},
        {GameOptionsForm, QStringLiteral("GameOptionsForm")},
        {Form1, QStringLiteral("Velmora")},
        {PasswordForm, QStringLiteral("Enter Password")},
        {&help, QStringLiteral("Tarrowind Help")},
        {&openDialog, QStringLiteral("Open Existing Game")},
        {&untitledDialog, QStringLiteral("Open")},
    };
    for (const auto& [window, caption] : windows) {
        EXPECT_EQ(CaptionShown(window), caption);
        window->hide();
    }
}

}  // namespace
