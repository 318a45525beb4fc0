#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TPasswordForm : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordForm(QWidget* parent = nullptr);
};
