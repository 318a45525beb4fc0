#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;

// The credits window: who made the game, in a read-only rich-text box.
class TCreditsForm : public QDialog {
    Q_OBJECT

public:
    explicit TCreditsForm(QWidget* parent = nullptr);

    QTextEdit* RichEdit1 = nullptr;
    QPushButton* Button1 = nullptr;

    void Button1Click();
};
