#include "platform/qt/game_text.h"

#include <QLineEdit>

#include "platform/os/windows_1252.h"

QString FromGameText(std::string_view text) {
    return QString::fromStdU16String(Windows1252ToUtf16(text));
}

std::string ToGameText(const QString& text) {
    return Utf16ToWindows1252(text.toStdU16String());
}

bool FitsGameText(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() == 0 || !InWindows1252(c.unicode()))
            return false;
    }
    return true;
}

GameTextValidator::GameTextValidator(QObject* parent) : QValidator(parent) {}

QValidator::State GameTextValidator::validate(QString& input, int& pos) const {
    if (FitsGameText(input))
        return Acceptable;
    const QString composed = input.normalized(QString::NormalizationForm_C);
    if (!FitsGameText(composed))
        return Invalid;
    // Keep the cursor behind the same character it was behind before composing.
    const QString before = input.left(pos).normalized(QString::NormalizationForm_C);
    pos = composed.startsWith(before) ? static_cast<int>(before.size())
                                      : static_cast<int>(composed.size());
    input = composed;
    return Acceptable;
}

void AcceptOnlyGameText(QLineEdit* edit) {
    edit->setValidator(new GameTextValidator(edit));
}
