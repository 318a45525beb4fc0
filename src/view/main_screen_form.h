#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TMain_ScreenForm : public QWidget {
    Q_OBJECT

public:
    explicit TMain_ScreenForm(QWidget* parent = nullptr);
};
