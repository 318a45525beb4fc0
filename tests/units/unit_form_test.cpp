#include "units/unit_form.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "support/temp_dir.h"

namespace {

constexpr int kSoldierWeaponSlot = 1;
constexpr int kSword = 2;

// The screen opened in an empty working folder (no tile bitmap), shown and activated.
class UnitFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_EQ(form.HullUnitSelect->count(), 4);  // the activation filled the list
    }

    // Centre of a slot of the current hull, in the form's client area.
    QPoint SlotCentre(int slot) const {
        const HullSlot& s = form.State.Catalogue.Hull(form.State.CurrentHull).Slots[slot];
        return {kHullOriginX + s.X + kItemTileSize / 2, kHullOriginY + s.Y + kItemTileSize / 2};
    }

    // Centre of a palette row's tile, in the paint box's (content) coordinates.
    static QPoint RowTile(int row) {
        return {kPaletteTileLeft + kItemTileSize / 2,
                kPaletteTop + kPaletteRowStep * row + kItemTileSize / 2};
    }

    // Presses in the palette, moves over the form and releases at `target` (form client
    // coordinates). The paint box holds the mouse while the button is down, so it gets
    // every event, as the toolkit's implicit grab would give them.
    void Drag(QPoint pressInPalette, QPoint target) {
        QWidget* box = form.ComponentPaintBox;
        QTest::mousePress(box, Qt::LeftButton, {}, pressInPalette);
        QPoint halfway = (box->mapTo(&form, pressInPalette) + target) / 2;
        QTest::mouseMove(box, box->mapFrom(&form, halfway));
        if (form.Dragging()) {
            EXPECT_TRUE(form.DragImage->isVisible());
            // the tile's centre is the hot spot
            EXPECT_EQ(form.DragImage->pos() + QPoint(35, 35), halfway);
        }
        QTest::mouseMove(box, box->mapFrom(&form, target));
        QTest::mouseRelease(box, Qt::LeftButton, {}, box->mapFrom(&form, target));
    }

    QRgb PixelAt(QPoint p) { return form.grab().toImage().pixel(p); }

    TempDir folder;
    WorkingDirectory inFolder{folder.path()};
    TUnitForm form;
};

TEST_F(UnitFormTest, IsLaidOutAsDesigned) {
    EXPECT_EQ(form.windowTitle(), "Unit Inspector");
    EXPECT_EQ(form.HullUnitSelect->geometry(), QRect(8, 64, 153, 105));
    EXPECT_EQ(form.ComponentScrollBox->geometry(), QRect(1, 40, 231, 328));
    EXPECT_EQ(form.CostLabel5->pos(), QPoint(408, 488));
    EXPECT_EQ(form.UnitNameBox->maxLength(), 30);
    EXPECT_EQ(form.ComponentFilter->count(), 6);
    EXPECT_EQ(form.ComponentFilter->itemText(0), "All Components");

    // The first opening: four hulls, an empty Soldier, two cost lines.
    EXPECT_EQ(form.HullUnitSelect->count(), 4);
    EXPECT_EQ(form.TemplateHullName->text(), "Soldier");
    EXPECT_EQ(form.CostLabel1->text(), "Production Points: 5");
    EXPECT_EQ(form.CostLabel2->text(), "Population: 1");
    EXPECT_FALSE(form.CostLabel3->isVisible());
    EXPECT_TRUE(form.InfantryRadioButton->isEnabled());
    EXPECT_TRUE(form.ShipRadioButton->isEnabled());
    EXPECT_FALSE(form.CavalryRadioButton->isEnabled());
    EXPECT_EQ(form.ComponentPaintBox->height(), 80 * 6 + 20);
}

TEST_F(UnitFormTest, DraggingAComponentOntoItsSlotFitsIt) {
    QPoint slot = SlotCentre(kSoldierWeaponSlot);
    QPoint inside = slot - QPoint(30, 30);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(PixelAt(inside), white);  // an empty slot is a white square

    Drag(RowTile(kSword), slot);
    EXPECT_FALSE(form.Dragging());
    EXPECT_FALSE(form.DragImage->isVisible());
    EXPECT_EQ(form.State.SlotComponent[kSoldierWeaponSlot], kSword);
    EXPECT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 1);
    EXPECT_EQ(form.ItemLabel->text(), "Sword");
    EXPECT_EQ(form.CostLabel1->text(), "Production Points: 6");
    EXPECT_EQ(form.CostLabel3->text(), "Stone: 2");
    EXPECT_TRUE(form.CostLabel3->isVisible());
    EXPECT_NE(PixelAt(inside), white);  // the tile shows in the slot
}

TEST_F(UnitFormTest, APressOutsideTheGrabZoneStartsNoDrag) {
    QWidget* box = form.ComponentPaintBox;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(kGrabLeft - 5, RowTile(kSword).y()));
    EXPECT_FALSE(form.Dragging());
    EXPECT_FALSE(form.DragImage->isVisible());
    QTest::mouseMove(box, box->mapFrom(&form, SlotCentre(kSoldierWeaponSlot)));
    QTest::mouseRelease(box, Qt::LeftButton, {},
                        box->mapFrom(&form, SlotCentre(kSoldierWeaponSlot)));
    EXPECT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 0);

    // Nor does a press in the gap between two rows.
    Drag(QPoint(50, kPaletteTop + kPaletteRowStep * kSword - 5), SlotCentre(kSoldierWeaponSlot));
    EXPECT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 0);
    EXPECT_EQ(form.CostLabel3->isVisible(), false);
}

TEST_F(UnitFormTest, ScrolledPaletteRowsAreGrabbedWhereTheyShow) {
    form.ComponentScrollBox->verticalScrollBar()->setValue(160);
    // The paint box is the content: row 2 still sits at its content position.
    QPoint row = RowTile(kSword);
    EXPECT_EQ(form.ComponentPaintBox->mapTo(form.ComponentScrollBox->viewport(), row).y(),
              row.y() - 160);
    Drag(row, SlotCentre(kSoldierWeaponSlot));
    EXPECT_EQ(form.State.SlotComponent[kSoldierWeaponSlot], kSword);
}

TEST_F(UnitFormTest, ModesSwitchTheListAndTheEditing) {
    QTest::mouseClick(form.EnemyUnitRadioButton, Qt::LeftButton);
    ASSERT_EQ(form.HullUnitSelect->count(), 3);
    EXPECT_EQ(form.HullUnitSelect->item(2)->text(), "Player 4 Corsair");
    EXPECT_FALSE(form.UnitSaveButton->isEnabled());
    EXPECT_FALSE(form.ComponentFilter->isEnabled());
    EXPECT_EQ(form.ComponentFilter->currentIndex(), -1);
    EXPECT_EQ(form.TemplateHullName->text(), "Hominid");

    QListWidget* list = form.HullUnitSelect;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(form.TemplateHullName->text(), "Corsair");
    EXPECT_EQ(form.State.CurrentHull, 3);

    QTest::mouseClick(form.DesignUnitRadioButton, Qt::LeftButton);
    EXPECT_TRUE(form.UnitSaveButton->isEnabled());
    EXPECT_EQ(form.ComponentFilter->currentIndex(), 0);
    EXPECT_EQ(form.TemplateHullName->text(), "Soldier");

    QTest::mouseClick(form.ShipRadioButton, Qt::LeftButton);
    EXPECT_EQ(form.HullUnitSelect->count(), 2);
    EXPECT_EQ(form.TemplateHullName->text(), "Unireme");
    EXPECT_EQ(form.CostLabel3->text(), "Wood: 100");
}

TEST_F(UnitFormTest, ClickingTheCurrentHullAgainEmptiesTheDesign) {
    Drag(RowTile(kSword), SlotCentre(kSoldierWeaponSlot));
    ASSERT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 1);
    QListWidget* list = form.HullUnitSelect;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 0);
}

TEST_F(UnitFormTest, SaveAppendsTheNamedDesign) {
    form.UnitNameBox->clear();
    QTest::keyClicks(form.UnitNameBox, "Scout");
    EXPECT_EQ(form.TemplateHullName->text(), "Scout");
    QTest::mouseClick(form.UnitSaveButton, Qt::LeftButton);
    ASSERT_EQ(form.State.DesignTable.Count(0), 3);
    EXPECT_EQ(form.State.DesignTable.Design(0, 2).NameText(), "Scout");

    QTest::mouseClick(form.ExistingUnitRadioButton, Qt::LeftButton);
    ASSERT_EQ(form.HullUnitSelect->count(), 3);
    EXPECT_EQ(form.HullUnitSelect->item(2)->text(), "Scout");
}

TEST_F(UnitFormTest, EscapeHidesTheWindow) {
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(UnitFormTest, TilesComeFromTheArtFolderWhateverItsCase) {
    // Without the bitmap every tile is the plain one.
    ASSERT_EQ(form.ComponentImageList.size(), 6u);
    QImage tile(kItemTileSize, kItemTileSize, QImage::Format_RGB32);
    tile.fill(QColor(10, 200, 30));
    ASSERT_TRUE(QDir(folder.path()).mkpath("GAMEART"));
    ASSERT_TRUE(
        tile.save(QString::fromStdString(folder.File("GAMEART/itemtiletemplate.BMP")), "BMP"));
    form.FormActivate();
    ASSERT_EQ(form.ComponentImageList.size(), 6u);
    EXPECT_EQ(form.ComponentImageList[5].pixel(35, 35), qRgb(10, 200, 30));
}

}  // namespace
