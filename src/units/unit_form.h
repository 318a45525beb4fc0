#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <vector>

#include "units/unit_design_rules.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;

// The unit design screen ("Unit Inspector"): fits components from a palette into the slots
// of a hull by dragging, shows the cost, saves designs; browses the own and other players'
// designs read-only.
class TUnitForm : public QWidget {
    Q_OBJECT

public:
    explicit TUnitForm(QWidget* parent = nullptr);
    ~TUnitForm() override;

    // The catalogue, the design table (which the game's history file reads and writes) and
    // everything the screen shows.
    UnitDesignState State;

    // One 70 x 70 tile per component, from "GameArt\ItemTileTemplate.bmp".
    std::vector<QImage> ComponentImageList;

    QFrame* ComponentDescription = nullptr;
    QLabel* ComponentDescriptionPicture = nullptr;
    QLabel* ItemLabel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* ComponentCost1 = nullptr;
    QLabel* ComponentCost2 = nullptr;
    QLabel* ComponentCost3 = nullptr;
    QLabel* ComponentCost4 = nullptr;

    QFrame* RadioButtonSelectPanel = nullptr;
    QRadioButton* AllRadioButton = nullptr;
    QRadioButton* InfantryRadioButton = nullptr;
    QRadioButton* CavalryRadioButton = nullptr;
    QRadioButton* VehicleRadioButton = nullptr;
    QRadioButton* ArtilleryRadioButton = nullptr;
    QRadioButton* ShipRadioButton = nullptr;
    QRadioButton* AircraftRadioButton = nullptr;
    QRadioButton* MechRadioButton = nullptr;
    QRadioButton* SatelliteRadioButton = nullptr;

    QFrame* ItemSelectPanel = nullptr;
    QRadioButton* DesignUnitRadioButton = nullptr;
    QRadioButton* ExistingUnitRadioButton = nullptr;
    QRadioButton* EnemyUnitRadioButton = nullptr;
    QListWidget* HullUnitSelect = nullptr;

    QFrame* UnitPicturePanel = nullptr;
    QLabel* UnitPicture = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* UpDown1 = nullptr;
    QLabel* Label28 = nullptr;
    QLineEdit* UnitNameBox = nullptr;

    QFrame* Panel1 = nullptr;
    QLabel* TemplateHullName = nullptr;

    QFrame* ComponentPanel = nullptr;
    QComboBox* ComponentFilter = nullptr;
    QScrollArea* ComponentScrollBox = nullptr;
    QWidget* ComponentPaintBox = nullptr;

    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* CostLabel1 = nullptr;
    QLabel* CostLabel2 = nullptr;
    QLabel* CostLabel3 = nullptr;
    QLabel* CostLabel4 = nullptr;
    QLabel* CostLabel5 = nullptr;
    QLabel* CostLabel6 = nullptr;
    QPushButton* UnitSaveButton = nullptr;
    QPushButton* UnitClearButton = nullptr;
    QPushButton* ExitButton = nullptr;

    // The picked component's tile while a drag lasts; hidden otherwise.
    QLabel* DragImage = nullptr;

    void FormActivate();
    void DesignUnitRadioButtonClick();
    void ExistingUnitRadioButtonClick();
    void EnemyUnitRadioButtonClick();
    void ClassRadioButtonClick(int classValue);
    void HullUnitSelectClick();
    void UnitNameBoxChange();
    void ComponentFilterChange();
    void UnitSaveButtonClick();
    void UnitClearButtonClick();
    void ExitButtonClick();

    // True while a component is being dragged.
    bool Dragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills ComponentImageList from the tile bitmap, or with plain tiles when it cannot be
    // read (then false).
    bool LoadTileImages();
    QImage TileImage(int component) const;
    void DrawHull(QPainter& painter);
    void DrawPalette(QPainter& painter);
    void ComponentPaintBoxStartDrag(QPoint contentPos);
    void FormDragOver(QPoint formPos);
    void ComponentPaintBoxEndDrag(QPoint formPos);
    void SizePaintBox();
    void ShowState();

    std::array<QRadioButton*, kAllHullClasses + 1> classButtons_{};
    std::array<QLabel*, kDescriptionCostLines> descriptionLabels_{};
    std::array<QLabel*, kCostReadOutLines> costLabels_{};
    bool dragging_ = false;
    bool showingState_ = false;  // controls are being set from State: no events of their own
    int rowBeforePress_ = -1;
    // This screen is the program's active window (also while another program has the
    // focus); activation steps run only when it becomes so.
    bool programActive_ = false;
    bool tileFileReported_ = false;  // the unreadable tile bitmap has been reported
};
