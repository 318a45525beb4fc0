#pragma once

#include <QWidget>

// This screen's window; its controls and behaviour come with its own work.
class TResearchForm : public QWidget {
    Q_OBJECT

public:
    explicit TResearchForm(QWidget* parent = nullptr);
};
