#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class THostForm : public QWidget {
    Q_OBJECT

public:
    explicit THostForm(QWidget* parent = nullptr);
};
