#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TCityDesignForm : public QWidget {
    Q_OBJECT

public:
    explicit TCityDesignForm(QWidget* parent = nullptr);
};
