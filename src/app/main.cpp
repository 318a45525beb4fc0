// The game program: builds every screen, then runs the event loop with the title screen.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/application_settings.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "platform/os/memory_policy.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/qt_ui_shell.h"
#include "race/password_form.h"

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "velmora: no display found (DISPLAY is not set); to run without a screen "
                     "use: xvfb-run ./run.sh\n");
        return 1;
    }
    KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    ApplyApplicationSettings();

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
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"),
                              QString::fromLocal8Bit(error.what()));
        return 0;
    }
}
