#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TRaceDesign : public QDialog {
    Q_OBJECT

public:
    explicit TRaceDesign(QWidget* parent = nullptr);
};
