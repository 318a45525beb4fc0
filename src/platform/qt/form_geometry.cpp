#include "platform/qt/form_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void SetOuterSize(QWidget* window, int outerWidth, int outerHeight) {
    window->resize(outerWidth - kFrameWidth, outerHeight - kFrameHeight);
}

void CentreOnDesktop(QWidget* window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect area = screen->availableGeometry();
    QSize outer = window->size() + QSize(kFrameWidth, kFrameHeight);
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

QFont LayoutFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void InstallFontSubstitutions() {
    // fontconfig offers DejaVu Sans for these two, which is much wider than the layouts
    // expect; Liberation Sans keeps the designed text widths.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Small Fonts"), QStringLiteral("Liberation Sans"));
}
