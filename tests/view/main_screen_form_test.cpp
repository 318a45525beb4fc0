#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "app/load_game.h"
#include "app/screens.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/quiet_views.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

QString Num(float value) {
    return QString::number(value, 'g', 6);
}

class LoggingViews final : public QuietViews {
public:
    explicit LoggingViews(std::vector<std::string>& log) : log_(log) {}
    void RenderViews() override { log_.push_back("render"); }
    void BlitMainMapToScreen() override { log_.push_back("blit"); }
    bool SetRotation(RotationFrame frame, float x, float y, float z, float angle) override {
        log_.push_back(QStringLiteral("rotate %1 (%2,%3,%4) %5")
                           .arg(frame == RotationFrame::Globe ? QStringLiteral("globe")
                                                              : QStringLiteral("camera"))
                           .arg(Num(x), Num(y), Num(z), Num(angle))
                           .toStdString());
        return true;
    }
    bool StepZoom(ZoomView view, float step) override {
        log_.push_back(
            QStringLiteral("zoom %1 %2")
                .arg(view == ZoomView::Globe ? QStringLiteral("globe") : QStringLiteral("map"),
                     Num(step))
                .toStdString());
        return true;
    }
    bool SetDeviceQuality(int quality) override {
        log_.push_back("quality " + std::to_string(quality));
        return true;
    }

private:
    std::vector<std::string>& log_;
};

class MainScreen : public ::testing::Test {
protected:
    MainScreen() {
        SetGameViewsFactory([this] { return std::make_unique<LoggingViews>(log); });
    }
    ~MainScreen() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    std::vector<std::string> log;
};

TEST_F(MainScreen, IsLaidOutAsDesigned) {
    TMain_ScreenForm* f = Main_ScreenForm;
    EXPECT_EQ(f->windowTitle(), "Velmora - Orbalune  (Pre-Alpha)");
    EXPECT_EQ(f->ClientArea->size(), QSize(800, 562));
    EXPECT_EQ(f->font().family(), "Times New Roman");
    EXPECT_EQ(f->font().pixelSize(), 14);
    EXPECT_EQ(f->MainMapPanel->geometry(), QRect(0, 39, 577, 338));
    EXPECT_EQ(f->MainMapImage->geometry(), QRect(1, 1, 575, 287));
    EXPECT_EQ(f->GlobeMapPanel->geometry(), QRect(584, 39, 209, 194));
    EXPECT_EQ(f->GlobeMapImage->geometry(), QRect(1, 1, 207, 151));
    EXPECT_EQ(f->MessagePanel->geometry(), QRect(-8, 384, 353, 169));
    EXPECT_EQ(f->LandscapeInfoPanel->geometry(), QRect(352, 384, 225, 169));
    EXPECT_EQ(f->OrdersPanel->geometry(), QRect(584, 384, 209, 169));
    EXPECT_EQ(f->CityInfoPanel->geometry(), QRect(584, 236, 208, 144));
    EXPECT_EQ(f->MainMapScrollLeftButton->geometry(), QRect(508, 14, 20, 20));
    EXPECT_EQ(f->GlobeButtonRight->geometry(), QRect(180, 12, 20, 20));
    EXPECT_EQ(f->WireFrameToggleButton->toolTip(), "Toggle Wireframe");
    EXPECT_TRUE(f->WireFrameToggleButton->isCheckable());
    EXPECT_FALSE(f->MapZoomButton->isCheckable());
    EXPECT_FALSE(f->GlobeButtonUp->icon().isNull());
    EXPECT_EQ(f->MessageNumberLabel->text(), "Message 1000 of 1000");
    EXPECT_TRUE(f->MessageNumberLabel->font().bold());
    EXPECT_TRUE(f->MessagePanelMessageBox->isReadOnly());
    EXPECT_EQ(f->MessagePanelMessageBox->toPlainText(), "MessagePanelMessageBox");
    EXPECT_EQ(f->MessagePanelPreviousButton->text(), "Prev");
    EXPECT_EQ(f->MessagePanelGotoButton->geometry(), QRect(300, 55, 40, 25));
    EXPECT_EQ(f->MapButtonScrollTimer->interval(), 5);
    EXPECT_EQ(f->GlobeButtonScrollTimer->interval(), 5);
    EXPECT_FALSE(f->MapButtonScrollTimer->isActive());
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());
    EXPECT_EQ(f->GlobeZoomStep, 0.0f);
}

TEST_F(MainScreen, MenuBarHoldsEveryItem) {
    QStringList titles;
    for (QAction* action : Main_ScreenForm->MainMenu->actions())
        titles << action->text();
    EXPECT_EQ(titles,
              (QStringList{"&File", "&Orders", "&Reports", "&Help", "", "", "&Version Info"}));
    QStringList file;
    for (QAction* action : Main_ScreenForm->MainMenu->actions()[0]->menu()->actions()) {
        file << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(file, (QStringList{"&New", "&Open...", "&Save", "-", "&Print...", "P&rint Setup...",
                                 "-", "&Game Options...", "-", "E&xit"}));
    EXPECT_EQ(Main_ScreenForm->KnownBugs1->text(), "Known &Bugs");
    EXPECT_EQ(Main_ScreenForm->MainMenuOrdersResearch->text(), "&Research");
}

TEST_F(MainScreen, RotationButtonsTurnTheGlobeWhileHeld) {
    Game().Create(MakeGameViews());
    TMain_ScreenForm* f = Main_ScreenForm;
    QTest::mousePress(f->GlobeButtonRight, Qt::LeftButton);
    EXPECT_TRUE(f->GlobeButtonScrollTimer->isActive());
    f->GlobeButtonScrollTimerTimer();
    QTest::mouseRelease(f->GlobeButtonRight, Qt::LeftButton);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());

    QTest::mousePress(f->MainMapScrollUpButton, Qt::LeftButton);
    EXPECT_TRUE(f->MapButtonScrollTimer->isActive());
    QTest::mouseRelease(f->MainMapScrollUpButton, Qt::LeftButton);
    EXPECT_FALSE(f->MapButtonScrollTimer->isActive());

    EXPECT_EQ(log, (std::vector<std::string>{
                       "rotate globe (0,1,0) 0.1", "render", "rotate globe (0,0,0) 0",
                       "rotate camera (1,0,0) -0.005", "rotate camera (0,0,0) 0"}));
}

TEST_F(MainScreen, ZoomButtonsStepByMouseButton) {
    Game().Create(MakeGameViews());
    TMain_ScreenForm* f = Main_ScreenForm;
    QTest::mousePress(f->GlobeZoomButton, Qt::LeftButton);
    EXPECT_FLOAT_EQ(f->GlobeZoomStep, -0.1f);
    f->GlobeButtonScrollTimerTimer();
    QTest::mouseRelease(f->GlobeZoomButton, Qt::LeftButton);
    EXPECT_EQ(f->GlobeZoomStep, 0.0f);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());

    // Another mouse button leaves the step as it was but still renders on each tick.
    QTest::mousePress(f->GlobeZoomButton, Qt::MiddleButton);
    EXPECT_EQ(f->GlobeZoomStep, 0.0f);
    EXPECT_TRUE(f->GlobeButtonScrollTimer->isActive());
    f->GlobeButtonScrollTimerTimer();
    QTest::mouseRelease(f->GlobeZoomButton, Qt::MiddleButton);

    QTest::mousePress(f->MapZoomButton, Qt::RightButton);
    EXPECT_FLOAT_EQ(f->MapZoomStep, 0.02f);
    EXPECT_TRUE(f->MapButtonScrollTimer->isActive());
    f->MapButtonScrollTimerTimer();
    QTest::mouseRelease(f->MapZoomButton, Qt::RightButton);

    EXPECT_EQ(log, (std::vector<std::string>{"zoom globe -0.1", "render", "render", "zoom map 0.02",
                                             "render"}));
}

TEST_F(MainScreen, DeactivationStopsOnlyTheGlobeTimer) {
    Main_ScreenForm->GlobeButtonScrollTimer->start();
    Main_ScreenForm->MapButtonScrollTimer->start();
    Main_ScreenForm->FormDeactivate();
    EXPECT_FALSE(Main_ScreenForm->GlobeButtonScrollTimer->isActive());
    EXPECT_TRUE(Main_ScreenForm->MapButtonScrollTimer->isActive());
    Main_ScreenForm->MapButtonScrollTimer->stop();
}

TEST_F(MainScreen, WireFrameToggleSetsTheDeviceQuality) {
    Game().Create(MakeGameViews());
    QTest::mouseClick(Main_ScreenForm->WireFrameToggleButton, Qt::LeftButton);
    QTest::mouseClick(Main_ScreenForm->WireFrameToggleButton, Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<std::string>{"quality 65", "render", "quality 129", "render"}));
}

TEST_F(MainScreen, DraggingTurnsTheGlobeOnceAndTheWheelZooms) {
    Game().Create(MakeGameViews());
    TMain_ScreenForm* f = Main_ScreenForm;
    QTest::mousePress(f->GlobeMapImage, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(13, 14), QPointF(13, 14), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->GlobeMapImage, &move);
    QTest::mouseRelease(f->GlobeMapImage, Qt::LeftButton, {}, QPoint(13, 14));
    // Moving with no button held does nothing.
    QApplication::sendEvent(f->GlobeMapImage, &move);

    QWheelEvent away(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f->GlobeMapImage, &away);
    QWheelEvent towards(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -240), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f->MainMapImage, &towards);

    EXPECT_EQ(log, (std::vector<std::string>{"rotate camera (0.8,0.6,0) 0.1", "render",
                                             "rotate camera (0,0,0) 0", "zoom globe -0.1", "render",
                                             "zoom map 0.02", "zoom map 0.02", "render"}));
}

TEST(ZoomLimits, StepCountsFromTheStartPositions) {
    auto steps = [](float z, float step, float nearLimit, float farLimit) {
        int count = 0;
        for (;;) {
            const float next = ZoomedDistance(z, step, nearLimit, farLimit);
            if (next == z)
                return std::pair{count, z};
            z = next;
            ++count;
        }
    };
    auto mapIn = steps(3.3f, -kMapZoomStep, kMapNearLimit, kMapFarLimit);
    auto mapOut = steps(3.3f, kMapZoomStep, kMapNearLimit, kMapFarLimit);
    auto globeIn = steps(7.0f, -kGlobeZoomStep, kGlobeNearLimit, kGlobeFarLimit);
    auto globeOut = steps(7.0f, kGlobeZoomStep, kGlobeNearLimit, kGlobeFarLimit);
    EXPECT_EQ(mapIn.first, 11);
    EXPECT_NEAR(mapIn.second, 3.08f, 1e-3);
    EXPECT_EQ(mapOut.first, 36);
    EXPECT_NEAR(mapOut.second, 4.02f, 1e-3);
    EXPECT_EQ(globeIn.first, 31);
    EXPECT_NEAR(globeIn.second, 3.9f, 1e-3);
    EXPECT_EQ(globeOut.first, 30);
    EXPECT_GT(globeOut.second, 10.0f);
}

TEST(LoadingNotice, IsLaidOutWithItsDial) {
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    EXPECT_EQ(Form1->windowTitle(), "Velmora");
    EXPECT_EQ(Form1->Label1->text(), "Loading map");
    EXPECT_EQ(Form1->Label1->pos(), QPoint(104, 16));
    EXPECT_EQ(Form1->Label2->text(), "One Moment Please");
    EXPECT_EQ(Form1->Label2->pos(), QPoint(80, 40));
    EXPECT_TRUE(Form1->Label2->font().bold());
    EXPECT_EQ(Form1->CGauge1->geometry(), QRect(88, 72, 100, 41));

    TNeedleGauge* gauge = Form1->CGauge1;
    gauge->SetProgress(57);
    EXPECT_EQ(gauge->Progress(), 57);
    gauge->SetProgress(250);
    EXPECT_EQ(gauge->Progress(), 100);
    gauge->SetProgress(-3);
    EXPECT_EQ(gauge->Progress(), 0);
    // The needle points left at 0 and right at 100 from the hub on the dial's base line.
    auto needleAt = [gauge](int value, int x) {
        gauge->SetProgress(value);
        QImage image(gauge->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        gauge->render(&image);
        const QColor c = image.pixelColor(x, 37);
        return c.red() > 120 && c.green() < 90 && c.blue() < 90;
    };
    EXPECT_TRUE(needleAt(0, 30));
    EXPECT_FALSE(needleAt(0, 70));
    EXPECT_TRUE(needleAt(100, 70));
    EXPECT_FALSE(needleAt(100, 30));
}

}  // namespace
