#pragma once

#include <QWidget>
#include <cstdint>

class QPushButton;

// The host functions screen: what the person running a game sees after opening its host
// file. Showing it reads the head of the host file; turn processing is not there yet.
class THostForm : public QWidget {
    Q_OBJECT

public:
    explicit THostForm(QWidget* parent = nullptr);

    // The first two 32-bit values of the host file: the first record's tag and the bits of
    // the version stamp after it. Nothing reads them yet.
    int32_t HostFileTag = 0;
    int32_t HostFileValue = 0;

    QPushButton* GenerateTurnButton = nullptr;

    void FormShow();
    void GenerateTurnButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
