#pragma once

#include <QDialog>
#include <cstdint>

#include "view/main_map_rebuild.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;

// Number of texture resolutions offered, and the item chosen when none is.
constexpr int kTextureResolutionItems = 5;
constexpr int kCoarseResolutionItem = 4;

// Edge length in pixels of one tile's texture for a radio item (0 -> 200 ... 4 -> 50);
// any other item, "none" included, gives 50.
int32_t ResolutionOfItem(int item);
// The radio item that shows a resolution; a value not offered shows item 4.
int ItemOfResolution(int32_t resolution);

// The game options window: the map texture resolution.
class TGameOptionsForm : public QDialog {
    Q_OBJECT

public:
    explicit TGameOptionsForm(QWidget* parent = nullptr);

    QGroupBox* TextureResolutionRadioGroup = nullptr;
    QButtonGroup* TextureResolutionItems = nullptr;  // ids 0..4, in the order shown
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The checked radio item, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int item);

    // Installs the rebuild steps (not owned); nullptr while no main map exists, in which
    // case "Okay" only stores the new resolution for the next map to use.
    void SetMainMapRebuild(MainMapRebuild* rebuild) { rebuild_ = rebuild; }

    void OkayButtonClick();
    void CancelButtonClick();

private:
    MainMapRebuild* rebuild_ = nullptr;
};
