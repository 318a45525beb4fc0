#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TUnitForm : public QWidget {
    Q_OBJECT

public:
    explicit TUnitForm(QWidget* parent = nullptr);
};
