#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The version history window: what each version changed, newest first, in a read-only memo.
class TVersionHistoryForm : public QDialog {
    Q_OBJECT

public:
    explicit TVersionHistoryForm(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;

    void Button1Click();
};
