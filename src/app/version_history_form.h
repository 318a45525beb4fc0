#pragma once

#include <QDialog>

// This screen's window; its controls and behaviour come with its own work.
class TVersionHistoryForm : public QDialog {
    Q_OBJECT

public:
    explicit TVersionHistoryForm(QWidget* parent = nullptr);
};
