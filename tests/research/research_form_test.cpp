#include "research/research_form.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

// Lets the event loop run until `done` holds or a second has passed.
template <typename Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 100 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

class ResearchScreen : public ::testing::Test {
protected:
    void SetUp() override { form.show(); }

    void ChooseTree(int tree) { form.TechTreeItems->button(tree)->click(); }

    QPushButton* Button(const QString& caption) const {
        for (QPushButton* button : form.TechButtons) {
            if (button->text() == caption)
                return button;
        }
        return nullptr;
    }

    QColor CaptionColour(const QString& caption) const {
        QPushButton* button = Button(caption);
        return button == nullptr ? QColor() : button->palette().color(QPalette::ButtonText);
    }

    QColor Pixel(int x, int y) const { return form.TechTreePicture.pixelColor(x, y); }
    QColor Face() const { return form.palette().color(QPalette::Button); }

    void Select(QListWidget* list, const QString& text) {
        QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        list->setCurrentItem(found[0]);
    }

    void Queue(const QString& name) {
        Select(form.ResearchQueueAvailable, name);
        form.BitBtn2->click();
    }

    TResearchForm form;
};

TEST_F(ResearchScreen, IsLaidOutAsDesigned) {
    EXPECT_EQ(form.windowTitle(), "Research");
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(form.font().family(), "Times New Roman");
    EXPECT_EQ(form.TechDescription->geometry(), QRect(0, 0, 321, 329));
    EXPECT_EQ(form.TechStatus->size(), QSize(321, 233));
    EXPECT_EQ(form.TechDescriptionText->size(), QSize(265, 145));
    EXPECT_TRUE(form.ResearchCostLabel->font().bold());
    EXPECT_EQ(form.BenifitsHeading->text(), "Benifits");
    EXPECT_TRUE(form.BenifitsHeading->font().underline());
    EXPECT_EQ(form.BenifitsHeading->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(form.PointsEarnedLabel->text(), "Points Earned This Turn:");
    EXPECT_EQ(form.EtaHeading->text(), "ETA");
    EXPECT_EQ(form.TechTreeRadioGroup->title(), "Technology Trees");
    QStringList trees;
    for (int i = 0; i < 8; ++i)
        trees << form.TechTreeItems->button(i)->text();
    EXPECT_EQ(trees, QStringList({"General", "Weapons", "Religion / Magic", "Buildings",
                                  "Resources", "Leadership", "Armor", "Power"}));
    // Four columns of two.
    EXPECT_EQ(form.TechTreeItems->button(1)->x(), form.TechTreeItems->button(0)->x());
    EXPECT_GT(form.TechTreeItems->button(2)->x(), form.TechTreeItems->button(1)->x());
    EXPECT_EQ(form.TechTreeItemIndex(), 0);
    EXPECT_EQ(form.PrintTreeButton->toolTip(), "Print Tree");
    EXPECT_EQ(form.AcceptButton->text(), "Accept");
    EXPECT_EQ(form.Timer1->interval(), 1);
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(ResearchScreen, ShowingSetsTwentyPointsAndTheFirstStatuses) {
    EXPECT_EQ(form.ResearchPointsAvailableLabel->text(), "Available Points: 20");
    form.hide();
    form.State.Points.AvailableResearchPoints = 135;  // as a player file would
    form.show();
    EXPECT_EQ(form.State.Points.AvailableResearchPoints, 20);
    EXPECT_EQ(form.ResearchPointsAvailableLabel->text(), "Available Points: 20");

    EXPECT_EQ(Rows(form.ResearchQueueAvailable),
              QStringList({"Wood", "Stone", "Defense", "Farming"}));
    EXPECT_EQ(form.TechButtons.size(), 11u);
    EXPECT_EQ(CaptionColour("Food"), kGrey);
    EXPECT_EQ(CaptionColour("Wood"), kGreen);
    EXPECT_EQ(CaptionColour("Farming"), kGreen);
    EXPECT_EQ(CaptionColour("Fire"), kRed);
    EXPECT_EQ(CaptionColour("Carpentry"), kRed);
}

TEST_F(ResearchScreen, WeaponsShowsTwentyFourButtonsOverItsRanges) {
    ChooseTree(1);
    EXPECT_EQ(form.TechTreeItemIndex(), 1);
    ASSERT_EQ(form.TechButtons.size(), 24u);
    QPushButton* club = Button("Club");
    ASSERT_NE(club, nullptr);
    EXPECT_EQ(club->geometry(), QRect(20, 230, 80, 25));
    EXPECT_TRUE(club->isFlat());
    EXPECT_EQ(club->parentWidget(), form.TechTreeContent);

    const QWidget* viewport = form.TechTreeScrollBox->viewport();
    ASSERT_LT(viewport->width(), 1120);
    ASSERT_LT(viewport->height(), 545);
    EXPECT_EQ(form.TechTreeScrollBox->horizontalScrollBar()->maximum() + viewport->width(), 1120);
    EXPECT_EQ(form.TechTreeScrollBox->verticalScrollBar()->maximum() + viewport->height(), 545);
    EXPECT_EQ(form.TechTreePaintBox->size(), QSize(1120, 545));
    EXPECT_EQ(form.TechTreePicture.size(), QSize(1120, 545));
}

TEST_F(ResearchScreen, ClubHasTwoGeneralMarkersAboveItsButton) {
    ChooseTree(1);
    for (int x : {34, 54}) {
        for (int y = 210; y <= 224; ++y)
            EXPECT_EQ(Pixel(x, y), kBlack) << x << "," << y;
        // Arrowhead pointing down: 9, 7, 5 and 3 pixels wide.
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Pixel(x - 4 + i, 225 + i), kBlack) << x << " row " << i;
            EXPECT_EQ(Pixel(x + 4 - i, 225 + i), kBlack) << x << " row " << i;
            EXPECT_EQ(Pixel(x - 5 + i, 225 + i), Face()) << x << " row " << i;
            EXPECT_EQ(Pixel(x + 5 - i, 225 + i), Face()) << x << " row " << i;
        }
        EXPECT_EQ(Pixel(x, 229), Face());
        EXPECT_EQ(Pixel(x, 209), Face());
    }
    // "Ge" in the colour of each prerequisite: Wood is available, Warfare not yet.
    auto countColour = [&](int left, const QColor& colour) {
        int count = 0;
        for (int y = 195; y < 207; ++y) {
            for (int x = left; x < left + 18; ++x)
                count += Pixel(x, y) == colour ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(countColour(29, kGreen), 10);
    EXPECT_EQ(countColour(29, kRed), 0);
    EXPECT_GT(countColour(49, kRed), 10);
    // Nothing of the code reaches above its cell.
    for (int x = 25; x < 70; ++x)
        EXPECT_EQ(Pixel(x, 194), Face()) << x;
}

TEST_F(ResearchScreen, BuildingsShowsOnlyTheLegend) {
    ChooseTree(3);
    EXPECT_TRUE(form.TechButtons.empty());
    const QImage& image = form.TechTreePicture;
    ASSERT_FALSE(image.isNull());
    const QRect legend(10, 8, 200, 62);  // four 14-pixel lines from (10, 8) to (10, 56)
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (legend.contains(x, y))
                continue;
            ASSERT_EQ(image.pixelColor(x, y), Face()) << x << "," << y;
        }
    }
    // Each legend line is written in its colour.
    const QColor colours[] = {kGrey, kBlue, kGreen, kRed};
    for (int line = 0; line < 4; ++line) {
        int inColour = 0;
        for (int y = 8 + line * 16; y < 8 + line * 16 + 14; ++y) {
            for (int x = 10; x < 210; ++x)
                inColour += image.pixelColor(x, y) == colours[line];
        }
        EXPECT_GT(inColour, 40) << line;
    }
}

TEST_F(ResearchScreen, LinkPixelsLieExactlyOnTheirPoints) {
    // General: the link from "Food" (0, 3) to "Wood" (1, 4).
    for (int x = 105; x <= 125; ++x)
        EXPECT_EQ(Pixel(x, 242), kBlack) << x;
    EXPECT_EQ(Pixel(104, 242), Face());
    EXPECT_EQ(Pixel(190, 312), kBlack);
    for (int x = 195; x <= 214; ++x)
        EXPECT_EQ(Pixel(x, 312), kBlack) << x;
    // The slanted part steps one row at a time between (125, 242) and (190, 312).
    for (int y = 243; y < 312; ++y) {
        int black = 0;
        for (int x = 125; x <= 190; ++x)
            black += Pixel(x, y) == kBlack;
        EXPECT_GE(black, 1) << y;
    }
    // Arrowhead pointing right, tip 2 pixels left of Wood's button at x = 220.
    for (int i = 0; i < 4; ++i) {
        const int x = 215 + i;
        EXPECT_EQ(Pixel(x, 308 + i), kBlack) << x;
        EXPECT_EQ(Pixel(x, 316 - i), kBlack) << x;
        EXPECT_EQ(Pixel(x, 307 + i), Face()) << x;
        EXPECT_EQ(Pixel(x, 317 - i), Face()) << x;
    }
    EXPECT_EQ(Pixel(219, 312), Face());

    // Painting copies the picture as it is.
    form.TechTreeScrollBox->horizontalScrollBar()->setValue(0);
    form.TechTreeScrollBox->verticalScrollBar()->setValue(0);
    QImage painted = form.TechTreePaintBox->grab().toImage();
    EXPECT_EQ(painted.pixelColor(215, 312), kBlack);
    EXPECT_EQ(painted.pixelColor(219, 312), Face());
    EXPECT_EQ(painted.pixelColor(125, 242), kBlack);
}

TEST_F(ResearchScreen, DetailsOfATechnology) {
    // Creation shows "Food": no prerequisite, two benefit lines.
    EXPECT_EQ(form.DescriptionTitle->text(), "Food");
    EXPECT_TRUE(form.TechDescriptionText->text().startsWith("The basic need to eat"));
    EXPECT_EQ(form.BenifitsLabel->text(), "Gathering Place (City upgrade)\nFood (Resource Type)");
    EXPECT_EQ(form.ResearchCostLabel->text(), "0 (of 0) Research Points");
    for (QLabel* label : form.Prereq)
        EXPECT_TRUE(label->isHidden());

    ChooseTree(1);
    QTest::mouseClick(Button("Club"), Qt::LeftButton);
    EXPECT_EQ(form.DescriptionTitle->text(), "Club");
    EXPECT_EQ(form.ResearchCostLabel->text(), "50 (of 50) Research Points");
    EXPECT_EQ(form.Prereq[0]->text(), "Wood");
    EXPECT_EQ(form.Prereq[0]->palette().color(QPalette::WindowText), kGreen);
    EXPECT_EQ(form.Prereq[1]->text(), "Warfare");
    EXPECT_EQ(form.Prereq[1]->palette().color(QPalette::WindowText), kRed);
    EXPECT_FALSE(form.Prereq[0]->isHidden());
    EXPECT_FALSE(form.Prereq[1]->isHidden());
    EXPECT_TRUE(form.Prereq[2]->isHidden());

    // Back to Food: the labels of Club go.
    form.ShowTechDetails(0);
    for (QLabel* label : form.Prereq)
        EXPECT_TRUE(label->isHidden());
}

TEST_F(ResearchScreen, QueueingThroughTheListsAndArrows) {
    Queue("Wood");
    EXPECT_EQ(Rows(form.ResearchQueueResearching), QStringList({"Wood"}));
    EXPECT_EQ(Rows(form.ETAListBox), QStringList({"1"}));
    EXPECT_EQ(Rows(form.ResearchQueueAvailable),
              QStringList({"Stone", "Fire", "Defense", "Farming", "Wood Working"}));
    EXPECT_EQ(CaptionColour("Wood"), kBlue);
    EXPECT_EQ(CaptionColour("Fire"), kGreen);

    // A double click on an available row adds it too.
    QListWidgetItem* fire = form.ResearchQueueAvailable->findItems("Fire", Qt::MatchExactly)[0];
    QRect rect = form.ResearchQueueAvailable->visualItemRect(fire);
    QTest::mouseClick(form.ResearchQueueAvailable->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(form.DescriptionTitle->text(), "Fire");
    QTest::mouseDClick(form.ResearchQueueAvailable->viewport(), Qt::LeftButton, {}, rect.center());
    Queue("Stone");
    EXPECT_EQ(Rows(form.ResearchQueueResearching), QStringList({"Wood", "Fire", "Stone"}));
    EXPECT_EQ(Rows(form.ETAListBox), QStringList({"1", "2", "3"}));

    // Removing Wood drops Fire; Stone moves up and is numbered 1.
    Select(form.ResearchQueueResearching, "Wood");
    EXPECT_EQ(form.DescriptionTitle->text(), "Wood");
    form.BitBtn3->click();
    EXPECT_EQ(Rows(form.ResearchQueueResearching), QStringList({"Stone"}));
    EXPECT_EQ(Rows(form.ETAListBox), QStringList({"1"}));
    EXPECT_EQ(CaptionColour("Fire"), kRed);

    form.BitBtn1->click();
    EXPECT_EQ(form.ResearchQueueResearching->count(), 0);
    EXPECT_EQ(form.ETAListBox->count(), 0);
    EXPECT_EQ(CaptionColour("Stone"), kGreen);
}

TEST_F(ResearchScreen, ClicksWithoutASelectedRowDoNothing) {
    form.ShowTechDetails(4);
    ASSERT_EQ(form.ResearchQueueAvailable->currentRow(), -1);
    form.ResearchQueueAvailableClick();
    form.ResearchQueueResearchingClick();
    form.BitBtn2->click();
    form.BitBtn3->click();
    form.ResearchQueueAvailableDblClick();
    EXPECT_EQ(form.DescriptionTitle->text(), "Club");
    EXPECT_TRUE(form.State.ResearchQueue.empty());
    EXPECT_EQ(form.ResearchQueueAvailable->count(), 4);
}

TEST_F(ResearchScreen, TheNameColumnFollowsTheEtaColumn) {
    for (int i = 0; i < 20; ++i) {
        form.ResearchQueueAvailable->setCurrentRow(0);
        form.BitBtn2->click();
    }
    QScrollBar* eta = form.ETAListBox->verticalScrollBar();
    QScrollBar* names = form.ResearchQueueResearching->verticalScrollBar();
    ASSERT_TRUE(WaitFor([&] { return eta->maximum() >= 5; }));
    eta->setValue(5);
    form.Timer1Timer();
    EXPECT_EQ(names->value(), 5);
    // The timer does it by itself; the names never lead.
    eta->setValue(2);
    names->setValue(7);
    EXPECT_TRUE(WaitFor([&] { return names->value() == 2; }));
    EXPECT_EQ(eta->value(), 2);
}

}  // namespace
