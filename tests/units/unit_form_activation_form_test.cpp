// The unit design screen's activation: what starts a fresh design and what leaves the design
// in progress alone, and the report of a tile bitmap that cannot be read.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTest>
#include <fstream>

#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"
#include "units/unit_form.h"

namespace {

constexpr int kSoldierWeaponSlot = 1;
constexpr int kSword = 2;

class UnitFormActivation : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_EQ(form.HullUnitSelect->count(), 4);  // the activation filled the list
    }
    void TearDown() override {
        other.hide();
        form.hide();
    }

    // A sword in the Soldier's weapon slot, as a drop from the palette leaves it.
    void FitASword() {
        form.State.SlotComponent[kSoldierWeaponSlot] = kSword;
        form.State.SlotCount[kSoldierWeaponSlot] = 1;
    }
    bool SwordStillFitted() const {
        return form.State.SlotComponent[kSoldierWeaponSlot] == kSword &&
               form.State.SlotCount[kSoldierWeaponSlot] == 1;
    }

    void ActivateOther() {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    }
    void ActivateForm() {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    TempDir folder;
    WorkingDirectory inFolder{folder.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    TUnitForm form;
    QWidget other;  // another window of the program
};

TEST_F(UnitFormActivation, ComingBackFromAnotherProgramKeepsTheDesignInProgress) {
    FitASword();
    // Another program takes the focus (the program has no active window), then gives it
    // back to this screen, twice.
    for (int round = 0; round < 2; ++round) {
        QApplication::setActiveWindow(nullptr);
        EXPECT_FALSE(form.isActiveWindow());
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(form.isActiveWindow());
        EXPECT_TRUE(SwordStillFitted()) << "round " << round;
    }
}

TEST_F(UnitFormActivation, ComingFromAnotherWindowOfTheProgramStartsAFreshDesign) {
    FitASword();
    ActivateOther();
    ActivateForm();
    EXPECT_FALSE(SwordStillFitted());
    EXPECT_EQ(form.State.SlotCount[kSoldierWeaponSlot], 0);

    // The program comes back from another program with its other window active; turning
    // to this screen from there is an activation too.
    FitASword();
    QApplication::setActiveWindow(nullptr);
    ActivateOther();
    ActivateForm();
    EXPECT_FALSE(SwordStillFitted());

    // Closing and showing the screen again activates it as well.
    FitASword();
    form.close();
    form.show();
    ActivateForm();
    EXPECT_FALSE(SwordStillFitted());
}

TEST_F(UnitFormActivation, AnUnreadableTileBitmapIsReportedOnceAndTheScreenStaysUsable) {
    // The set-up's activation found no tile bitmap in the empty folder.
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "Cannot find the file \"GameArt\\ItemTileTemplate.bmp\". The components are shown "
              "on plain grey tiles.");
    EXPECT_EQ(shell.messages[0].caption, "File Error");
    // The activation still ran to its end: plain tiles, an empty Soldier, four hulls.
    ASSERT_EQ(form.ComponentImageList.size(), 6u);
    EXPECT_EQ(form.ComponentImageList[0].pixel(35, 35), qRgb(192, 192, 192));
    EXPECT_EQ(form.State.CurrentHull, 0);
    EXPECT_EQ(form.HullUnitSelect->currentRow(), 0);

    // Further activations stay silent while the file is still missing.
    ActivateOther();
    ActivateForm();
    EXPECT_EQ(shell.messages.size(), 1u);

    // A file that is there but is no bitmap is reported as such.
    ASSERT_TRUE(QDir(QString::fromStdString(folder.path().string())).mkpath("GameArt"));
    std::ofstream(folder.File("GameArt/ItemTileTemplate.bmp")) << "not a bitmap";
    form.FormActivate();
    EXPECT_EQ(shell.messages.size(), 1u);  // still the same unreadable tile: reported already

    // Once the bitmap has been read, losing it again is reported again.
    QImage tile(70, 70, QImage::Format_RGB32);
    tile.fill(QColor(10, 200, 30));
    ASSERT_TRUE(
        tile.save(QString::fromStdString(folder.File("GameArt/ItemTileTemplate.bmp")), "BMP"));
    form.FormActivate();
    EXPECT_EQ(form.ComponentImageList[0].pixel(35, 35), qRgb(10, 200, 30));
    EXPECT_EQ(shell.messages.size(), 1u);
    std::ofstream(folder.File("GameArt/ItemTileTemplate.bmp"), std::ios::trunc) << "garbage";
    form.FormActivate();
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text,
              "Cannot read the bitmap file \"GameArt\\ItemTileTemplate.bmp\". The components are "
              "shown on plain grey tiles.");
    EXPECT_EQ(form.ComponentImageList[0].pixel(35, 35), qRgb(192, 192, 192));
}

}  // namespace
