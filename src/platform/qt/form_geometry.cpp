#include "platform/qt/form_geometry.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <algorithm>

void SetOuterSize(QWidget* window, int outerWidth, int outerHeight) {
    window->resize(outerWidth - kFrameWidth, outerHeight - kFrameHeight);
}

void CentreOnDesktop(QWidget* window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
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

QFont FontFittingWidth(QFont font, const QString& text, int width, int smallestPixels) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto widest = [&lines](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        int most = 0;
        for (const QString& line : lines)
            most = std::max(most, metrics.size(0, line).width());  // as a label measures it
        return most;
    };
    while (font.pixelSize() > smallestPixels && widest(font) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

void FitLabelToRight(QLabel* label, int right, int smallestPixels) {
    label->setFont(
        FontFittingWidth(label->font(), label->text(), right - label->x(), smallestPixels));
    label->adjustSize();
}

void InstallFontSubstitutions() {
    // fontconfig offers DejaVu Sans for these two, which is much wider than the layouts
    // expect; Liberation Sans keeps the designed text widths.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Small Fonts"), QStringLiteral("Liberation Sans"));
}
