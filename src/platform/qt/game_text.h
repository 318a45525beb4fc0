// Where the game's 8-bit texts meet the screen: race, leader and unit design names, message
// parameters, passwords and the version labels are Windows-1252 bytes; Qt works in UTF-16.
#pragma once

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

class QLineEdit;

// The text a screen shows for Windows-1252 bytes. Every byte has a character.
QString FromGameText(std::string_view text);

// The Windows-1252 bytes of a text taken from the screen. The fields that take game text
// refuse every character the code page lacks (GameTextValidator), so nothing is lost here;
// a text that bypassed them would get '?' for such a character.
std::string ToGameText(const QString& text);

// Whether every character of the text can be stored as game text: it has a byte in the
// code page and is not the 0 character, which ends a stored text.
bool FitsGameText(const QString& text);

// Refuses a keystroke or paste that would put a character into the field that game text
// cannot hold ("Ω", "ł"), leaving the field and its cursor as they were. Characters
// typed as a letter and a combining accent are first composed ("e" + U+0301 gives "é").
class GameTextValidator final : public QValidator {
    Q_OBJECT

public:
    explicit GameTextValidator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
};

// Makes the field take only game text.
void AcceptOnlyGameText(QLineEdit* edit);
