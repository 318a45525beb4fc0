#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TNewGameForm : public QWidget {
    Q_OBJECT

public:
    explicit TNewGameForm(QWidget* parent = nullptr);
};
