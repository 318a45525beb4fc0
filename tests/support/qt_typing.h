// Typing into screens as a keyboard would, for any character: QTest's key clicks send only
// Latin-1 characters.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

// Presses and releases one key per character, each carrying the character as its text.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}
