#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
};
