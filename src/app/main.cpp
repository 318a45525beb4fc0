// The game program: builds every screen, then runs the event loop with the title screen.
// Its one optional argument is a file to open at start (a player, host or race file).
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/application_settings.h"
#include "app/command_line_file.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "platform/os/file_lookup.h"
#include "platform/os/memory_policy.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/qt_ui_shell.h"
#include "race/password_form.h"

#ifndef VELMORA_DATA_FROM_PROGRAM
#define VELMORA_DATA_FROM_PROGRAM ""
#endif

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

constexpr const char* kUsage =
    "usage: velmora [FILE]\n"
    "  FILE  a player file (.p01 to .p10), host file (.hst) or race file (.rce) to open\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "velmora: no display found (DISPLAY is not set); to run without a screen, "
                     "start it under xvfb-run (in a build: xvfb-run ./run.sh)\n");
        return 1;
    }
    KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    ApplyApplicationSettings();

    // The file named at start, fixed against the working directory the player started in.
    // The toolkit has taken its own options out of the arguments by now.
    std::string fileToOpen;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith('-'))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (arguments.size() == 2)
        fileToOpen = AbsoluteCommandLinePath(arguments[1].toLocal8Bit().toStdString());

    // The game's data lives beside the program in a build's run folder and in the shared
    // data folder once installed; the player's own files stay relative to where he started.
    SetDataFolder(FindDataFolder(RunningProgramPath(), VELMORA_DATA_FROM_PROGRAM));

    QtUiShell shell;
    ScopedShell installed(shell);
    try {
        ScreenSet screens;
        shell.passwordPrompt = [](const std::function<bool(const std::string&)>& accept) {
            return AskPasswordWithForm(*PasswordForm, accept);
        };
        MainForm->show();
        if (shell.EndRequested())
            return 0;
        if (!fileToOpen.empty()) {
            // Opened once the event loop runs, so the title screen is drawn first and a
            // failure leaves it up.
            shell.NoteChosenFile(fileToOpen);
            QTimer::singleShot(0, MainForm, [fileToOpen] { OpenCommandLineFile(fileToOpen); });
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"),
                              QString::fromLocal8Bit(error.what()));
        return 0;
    }
}
