#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TGameOptionsForm : public QDialog {
    Q_OBJECT

public:
    explicit TGameOptionsForm(QWidget* parent = nullptr);
};
