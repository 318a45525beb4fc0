#include "app/game_options_form.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "app/main_form.h"
#include "app/screens.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/radio_group.h"

namespace {

struct ResolutionItem {
    const char* caption;
    int32_t value;
};

constexpr std::array<ResolutionItem, kTextureResolutionItems> kResolutionItems = {{
    {"Very High (200x200)", 200},
    {"High (150x150)", 150},
    {"Medium (100x100)", 100},
    {"Low (75x75)", 75},
    {"Coarse (50x50)", 50},
}};

}  // namespace

int32_t ResolutionOfItem(int item) {
    if (item < 0 || item >= kTextureResolutionItems)
        return 50;
    return kResolutionItems[static_cast<size_t>(item)].value;
}

int ItemOfResolution(int32_t resolution) {
    for (int item = 0; item < kTextureResolutionItems; ++item)
        if (kResolutionItems[static_cast<size_t>(item)].value == resolution)
            return item;
    return kCoarseResolutionItem;
}

TGameOptionsForm::TGameOptionsForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("GameOptionsForm"));
    SetOuterSize(this, 544, 375);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));

    TextureResolutionRadioGroup = new TGroupBox(QStringLiteral("Map Texture Resolution"), this);
    TextureResolutionRadioGroup->setGeometry(16, 16, 185, 113);
    TextureResolutionItems = new QButtonGroup(this);
    TextureResolutionItems->setExclusive(true);
    // The items share the group's height below its caption evenly, one above the other.
    constexpr int kFirstItemTop = 20;
    constexpr int kItemPitch = 18;
    for (int item = 0; item < kTextureResolutionItems; ++item) {
        auto* radio = new QRadioButton(
            QString::fromLatin1(kResolutionItems[static_cast<size_t>(item)].caption),
            TextureResolutionRadioGroup);
        radio->setGeometry(8, kFirstItemTop + item * kItemPitch, 169, 17);
        TextureResolutionItems->addButton(radio, item);
    }
    SetItemIndex(kCoarseResolutionItem);

    OkayButton = new QPushButton(QStringLiteral("Okay"), this);
    OkayButton->setGeometry(448, 312, 75, 25);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setGeometry(360, 312, 75, 25);
    connect(OkayButton, &QPushButton::clicked, this, &TGameOptionsForm::OkayButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TGameOptionsForm::CancelButtonClick);

    CentreOnDesktop(this);
}

int TGameOptionsForm::ItemIndex() const {
    return TextureResolutionItems->checkedId();
}

void TGameOptionsForm::SetItemIndex(int item) {
    if (QAbstractButton* radio = TextureResolutionItems->button(item))
        radio->setChecked(true);
}

void TGameOptionsForm::OkayButtonClick() {
    const int32_t chosen = ResolutionOfItem(ItemIndex());
    int32_t& inForce = MainForm->State.TextureResolution;
    close();
    if (chosen == inForce)
        return;

    if (rebuild_ == nullptr) {
        inForce = chosen;
        return;
    }
    rebuild_->ShowLoadingNotice();
    // Let the notice be drawn before the long rebuild starts.
    Shell().ProcessPendingEvents();
    rebuild_->DestroyMainMap();
    inForce = chosen;
    rebuild_->CreateMainMap();
    rebuild_->CloseLoadingNotice();
}

void TGameOptionsForm::CancelButtonClick() {
    SetItemIndex(ItemOfResolution(MainForm->State.TextureResolution));
    close();
}
