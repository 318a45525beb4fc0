#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TCreditsForm : public QDialog {
    Q_OBJECT

public:
    explicit TCreditsForm(QWidget* parent = nullptr);
};
