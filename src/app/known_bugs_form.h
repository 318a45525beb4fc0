#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The known-bugs window: the open problems of this version, in a read-only memo.
class TKnownBugsForm : public QDialog {
    Q_OBJECT

public:
    explicit TKnownBugsForm(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;

    void Button1Click();
};
