#include <gtest/gtest.h>
#include <QButtonGroup>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <string>
#include <vector>

#include "app/city_design_form.h"
#include "app/credits_form.h"
#include "app/game_options_form.h"
#include "app/known_bugs_form.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "app/version_history_form.h"
#include "data/info_texts.h"
#include "platform/os/scripted_ui_shell.h"

namespace {

// Stands in for the main screen's map rebuild and writes down each step, with the
// resolution in force at that moment.
class FakeRebuild final : public MainMapRebuild {
public:
    explicit FakeRebuild(std::vector<std::string>& log) : log_(log) {}

    void ShowLoadingNotice() override {
        log_.push_back(GameOptionsForm->isVisible() ? "notice over options" : "notice");
    }
    void DestroyMainMap() override { log_.push_back("destroy " + Resolution()); }
    void CreateMainMap() override { log_.push_back("create " + Resolution()); }
    void CloseLoadingNotice() override { log_.push_back("notice closed"); }

private:
    static std::string Resolution() { return std::to_string(MainForm->State.TextureResolution); }
    std::vector<std::string>& log_;
};

class AuxScreens : public ::testing::Test {
protected:
    AuxScreens() {
        shell.onProcessEvents = [this] { log.push_back("events"); };
        GameOptionsForm->SetMainMapRebuild(&rebuild);
    }

    void Choose(int item) {
        QTest::mouseClick(GameOptionsForm->TextureResolutionItems->button(item), Qt::LeftButton);
        ASSERT_EQ(GameOptionsForm->ItemIndex(), item);
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    std::vector<std::string> log;
    FakeRebuild rebuild{log};
};

std::vector<std::string> BlocksOf(const QTextDocument* document) {
    std::vector<std::string> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    return lines;
}

TEST_F(AuxScreens, GameOptionsOffersFiveResolutionsWithCoarseChosen) {
    EXPECT_EQ(GameOptionsForm->windowTitle(), "GameOptionsForm");
    EXPECT_EQ(GameOptionsForm->TextureResolutionRadioGroup->title(), "Map Texture Resolution");
    EXPECT_EQ(GameOptionsForm->TextureResolutionRadioGroup->geometry(), QRect(16, 16, 185, 113));
    const char* captions[] = {"Very High (200x200)", "High (150x150)", "Medium (100x100)",
                              "Low (75x75)", "Coarse (50x50)"};
    for (int item = 0; item < 5; ++item)
        EXPECT_EQ(GameOptionsForm->TextureResolutionItems->button(item)->text(), captions[item]);
    EXPECT_EQ(GameOptionsForm->ItemIndex(), 4);
    EXPECT_EQ(GameOptionsForm->OkayButton->text(), "Okay");
    EXPECT_EQ(GameOptionsForm->OkayButton->geometry(), QRect(448, 312, 75, 25));
    EXPECT_EQ(GameOptionsForm->CancelButton->geometry(), QRect(360, 312, 75, 25));
}

TEST_F(AuxScreens, ResolutionItemsMapBothWays) {
    const int32_t values[] = {200, 150, 100, 75, 50};
    for (int item = 0; item < 5; ++item) {
        EXPECT_EQ(ResolutionOfItem(item), values[item]);
        EXPECT_EQ(ItemOfResolution(values[item]), item);
    }
    EXPECT_EQ(ResolutionOfItem(-1), 50);  // no item chosen
    EXPECT_EQ(ItemOfResolution(64), 4);   // a value not offered
}

TEST_F(AuxScreens, OkayWithTheResolutionInForceOnlyCloses) {
    GameOptionsForm->show();
    Choose(4);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);
    EXPECT_FALSE(GameOptionsForm->isVisible());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(shell.processEventsCalls, 0);
    EXPECT_EQ(MainForm->State.TextureResolution, 50);
}

TEST_F(AuxScreens, OkayWithANewResolutionRebuildsTheMapOnce) {
    GameOptionsForm->show();
    Choose(1);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);
    EXPECT_FALSE(GameOptionsForm->isVisible());
    // The old map goes while the old value is in force; the new one is built at the new.
    EXPECT_EQ(log, (std::vector<std::string>{"notice", "events", "destroy 50", "create 150",
                                             "notice closed"}));
    EXPECT_EQ(MainForm->State.TextureResolution, 150);

    // Going back is a change again.
    log.clear();
    GameOptionsForm->show();
    Choose(4);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<std::string>{"notice", "events", "destroy 150", "create 50",
                                             "notice closed"}));
    EXPECT_EQ(MainForm->State.TextureResolution, 50);
}

TEST_F(AuxScreens, OkayWithoutAMapStoresTheResolutionForTheNextOne) {
    GameOptionsForm->SetMainMapRebuild(nullptr);
    GameOptionsForm->show();
    Choose(0);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);
    EXPECT_EQ(MainForm->State.TextureResolution, 200);
    EXPECT_EQ(shell.processEventsCalls, 0);
}

TEST_F(AuxScreens, CancelRestoresTheItemOfTheResolutionInForce) {
    GameOptionsForm->show();
    Choose(0);
    QTest::mouseClick(GameOptionsForm->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(GameOptionsForm->isVisible());
    EXPECT_EQ(GameOptionsForm->ItemIndex(), 4);
    EXPECT_TRUE(GameOptionsForm->TextureResolutionItems->button(4)->isChecked());
    EXPECT_EQ(MainForm->State.TextureResolution, 50);
    EXPECT_TRUE(log.empty());

    MainForm->State.TextureResolution = 75;
    GameOptionsForm->show();
    Choose(2);
    QTest::mouseClick(GameOptionsForm->CancelButton, Qt::LeftButton);
    EXPECT_EQ(GameOptionsForm->ItemIndex(), 3);
}

TEST_F(AuxScreens, CloseBoxNeitherAppliesNorRestores) {
    GameOptionsForm->show();
    Choose(2);
    GameOptionsForm->close();
    EXPECT_FALSE(GameOptionsForm->isVisible());
    EXPECT_EQ(MainForm->State.TextureResolution, 50);
    EXPECT_TRUE(log.empty());
    GameOptionsForm->show();
    EXPECT_EQ(GameOptionsForm->ItemIndex(), 2);
}

TEST_F(AuxScreens, TextWindowsShareOneLayout) {
    struct Window {
        QDialog* dialog;
        QAbstractScrollArea* box;
        QPushButton* close;
        const char* caption;
        QPoint position;
    };
    const Window windows[] = {
        {CreditsForm,
         CreditsForm->RichEdit1,
         CreditsForm->Button1,
         "Velmora - Orbalune - Credits",
         {200, 108}},
        {KnownBugsForm, KnownBugsForm->Memo1, KnownBugsForm->Button1, "Known Bugs", {217, 125}},
        {VersionHistoryForm,
         VersionHistoryForm->Memo1,
         VersionHistoryForm->Button1,
         "Velmora Version History",
         {200, 108}},
    };
    for (const Window& window : windows) {
        SCOPED_TRACE(window.caption);
        EXPECT_EQ(window.dialog->windowTitle(), window.caption);
        EXPECT_EQ(window.dialog->pos(), window.position);
        EXPECT_EQ(window.dialog->size(), QSize(435 - 8, 300 - 27));
        EXPECT_EQ(window.box->geometry(), QRect(8, 8, 409, 233));
        EXPECT_EQ(window.box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(window.close->text(), "Close");
        EXPECT_EQ(window.close->geometry(), QRect(344, 248, 75, 25));

        window.dialog->show();
        QTest::mouseClick(window.close, Qt::LeftButton);
        EXPECT_FALSE(window.dialog->isVisible());
    }
    EXPECT_TRUE(CreditsForm->RichEdit1->isReadOnly());
    EXPECT_TRUE(KnownBugsForm->Memo1->isReadOnly());
    EXPECT_TRUE(VersionHistoryForm->Memo1->isReadOnly());
}

TEST_F(AuxScreens, TextWindowsShowTheirLinesUnchanged) {
    EXPECT_EQ(BlocksOf(KnownBugsForm->Memo1->document()), KnownBugsLines());
    EXPECT_EQ(BlocksOf(VersionHistoryForm->Memo1->document()), VersionHistoryLines());
    std::vector<std::string> credits = BlocksOf(CreditsForm->RichEdit1->document());
    EXPECT_EQ(credits.size(), 27u);
    EXPECT_EQ(credits, CreditsLines());
}

TEST_F(AuxScreens, CityDesignIsANonModalMaximizedLayout) {
    EXPECT_EQ(CityDesignForm->windowTitle(), "CityDesignForm");
    EXPECT_EQ(CityDesignForm->pos(), QPoint(9, 34));
    EXPECT_EQ(CityDesignForm->font().family(), "Times New Roman");
    EXPECT_EQ(CityDesignForm->font().pixelSize(), 14);
    EXPECT_TRUE(CityDesignForm->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(CityDesignForm->windowModality(), Qt::NonModal);

    EXPECT_EQ(CityDesignForm->CityMap->geometry(), QRect(1, 1, 504, 360));
    EXPECT_EQ(CityDesignForm->CityMapSpeedBar->height(), 51);
    EXPECT_EQ(CityDesignForm->CityMapSpeedBar->geometry().bottom(), 360 - 2);
    EXPECT_EQ(CityDesignForm->ResourceAllocationPanel->geometry(), QRect(510, 1, 286, 200));
    EXPECT_EQ(CityDesignForm->ComponentDescriptionPanel->geometry(), QRect(510, 208, 286, 153));
    EXPECT_EQ(CityDesignForm->ProductionQueuePanel->geometry(), QRect(390, 365, 406, 209));
    EXPECT_EQ(CityDesignForm->CityInfoPanel->geometry(), QRect(1, 365, 384, 209));
    EXPECT_EQ(CityDesignForm->ListBox1->size(), QSize(155, 128));
    EXPECT_EQ(CityDesignForm->ListBox2->size(), QSize(156, 128));
    EXPECT_EQ(CityDesignForm->ListBox2->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(CityDesignForm->LeftArrowButton->size(), QSize(43, 32));
    EXPECT_EQ(CityDesignForm->RightArrowButton->size(), QSize(43, 32));
    EXPECT_EQ(CityDesignForm->WedgeButton->size(), QSize(43, 31));
    EXPECT_TRUE(CityDesignForm->ResearchRadioButton->isChecked());
    EXPECT_EQ(CityDesignForm->StorageRadioButton->text(), "Storage (326/500)");
    EXPECT_EQ(CityDesignForm->NameLabel->text(), "Name");
    EXPECT_EQ(CityDesignForm->NameLabel->font().pixelSize(), 28);
    EXPECT_TRUE(CityDesignForm->NotebookMemo->isReadOnly());

    CityDesignForm->show();
    EXPECT_TRUE(CityDesignForm->isVisible());
    CityDesignForm->close();
    EXPECT_FALSE(CityDesignForm->isVisible());
}

TEST_F(AuxScreens, CityGlyphsAreDistinctWithADisabledLook) {
    std::vector<QImage> seen;
    for (CityGlyph glyph : {CityGlyph::ArrowLeft, CityGlyph::ArrowRight, CityGlyph::Wedge}) {
        QImage normal = PaintCityGlyph(glyph, true).toImage();
        QImage disabled = PaintCityGlyph(glyph, false).toImage();
        EXPECT_EQ(normal.size(), QSize(16, 16));
        EXPECT_EQ(disabled.size(), QSize(16, 16));
        EXPECT_NE(normal, disabled);
        for (const QImage& other : seen)
            EXPECT_NE(normal, other);
        seen.push_back(normal);
    }
    QIcon icon = CityDesignForm->LeftArrowButton->icon();
    EXPECT_FALSE(icon.pixmap(QSize(16, 16), QIcon::Normal).isNull());
    EXPECT_NE(icon.pixmap(QSize(16, 16), QIcon::Normal).toImage(),
              icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage());
}

}  // namespace
