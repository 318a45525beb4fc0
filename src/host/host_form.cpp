#include "host/host_form.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <optional>

#include "game/host_file.h"
#include "game/title_screen_link.h"
#include "platform/qt/form_geometry.h"

THostForm::THostForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Host Functions"));
    SetOuterSize(this, 435, 300);
    move(200, 109);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));

    GenerateTurnButton = new QPushButton(QStringLiteral("Generate Turn"), this);
    GenerateTurnButton->setGeometry(192, 112, 80, 25);
    connect(GenerateTurnButton, &QPushButton::clicked, this, &THostForm::GenerateTurnButtonClick);
}

void THostForm::FormShow() {
    // The game's file name is the one the title screen's open dialog last returned. A
    // missing file, or one too short to hold both values, changes nothing and says nothing.
    std::optional<HostFileHead> head = ReadHostFileHead(TitleScreen().GameFileName());
    if (!head)
        return;
    HostFileTag = head->HostFileTag;
    HostFileValue = head->HostFileValue;
}

void THostForm::GenerateTurnButtonClick() {}

void THostForm::showEvent(QShowEvent* event) {
    // Only the screen being made visible reads the file; a window system restoring it
    // (e.g. from minimized) does not.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void THostForm::closeEvent(QCloseEvent* event) {
    TitleScreen().ShowTitleScreen();
    event->accept();
}
