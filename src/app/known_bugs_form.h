#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TKnownBugsForm : public QDialog {
    Q_OBJECT

public:
    explicit TKnownBugsForm(QWidget* parent = nullptr);
};
