#include "app/text_window_layout.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QPushButton>
#include <QString>

#include "data/info_texts.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"

void LayOutTextWindow(QDialog* window, const QString& caption, int left, int top) {
    window->setWindowTitle(caption);
    SetOuterSize(window, 435, 300);
    window->move(left, top);
    window->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));
}

void PlaceTextBox(QAbstractScrollArea* textBox) {
    textBox->setGeometry(8, 8, 409, 233);
    textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QPushButton* MakeCloseButton(QDialog* window) {
    auto* button = new QPushButton(QStringLiteral("Close"), window);
    button->setObjectName(QStringLiteral("Button1"));
    button->setGeometry(344, 248, 75, 25);
    return button;
}

QString TextOfLines(const std::vector<std::string>& lines) {
    // The texts are built-in 8-bit records, in the code page of every other game text.
    return FromGameText(JoinLines(lines));
}
