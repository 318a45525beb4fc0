#include "app/application_settings.h"

#include <QApplication>

#include "platform/qt/form_geometry.h"

void ApplyApplicationSettings() {
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
}
