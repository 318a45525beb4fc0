// The main screen's hold buttons (rotation, scroll and zoom) under quick double clicks and
// failing rotations, and the menu bar of the maximized window.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <string>
#include <vector>

#include "app/load_game.h"
#include "app/screens.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/quiet_views.h"
#include "view/main_screen_form.h"

namespace {

// Logs what the screen asks of the views; SetRotation fails while failRotation is set.
class LoggingViews final : public QuietViews {
public:
    LoggingViews(std::vector<std::string>& log, const bool& failRotation)
        : log_(log), failRotation_(failRotation) {}
    void RenderViews() override { log_.push_back("render"); }
    void BlitMainMapToScreen() override { log_.push_back("blit"); }
    bool SetRotation(RotationFrame, float, float, float, float angle) override {
        log_.push_back(angle == 0.0f ? "stop" : "rotate");
        return !failRotation_;
    }
    bool StepZoom(ZoomView, float) override {
        log_.push_back("zoom");
        return true;
    }

private:
    std::vector<std::string>& log_;
    const bool& failRotation_;
};

void Send(QWidget* widget, QEvent::Type type, Qt::MouseButton button) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class HoldButtons : public ::testing::Test {
protected:
    HoldButtons() {
        SetGameViewsFactory([this] { return std::make_unique<LoggingViews>(log, failRotation); });
        Game().Create(MakeGameViews());
    }
    ~HoldButtons() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    std::vector<std::string> log;
    bool failRotation = false;
};

TEST_F(HoldButtons, TheSecondPressOfADoubleClickHoldsLikeAnyPress) {
    TMain_ScreenForm* f = Main_ScreenForm;
    struct Case {
        QToolButton* button;
        QTimer* timer;
        const char* held;  // what the press asks of the views
    };
    const Case cases[] = {
        {f->GlobeButtonRight, f->GlobeButtonScrollTimer, "rotate"},
        {f->GlobeButtonLeft, f->GlobeButtonScrollTimer, "rotate"},
        {f->GlobeButtonUp, f->GlobeButtonScrollTimer, "rotate"},
        {f->GlobeButtonDown, f->GlobeButtonScrollTimer, "rotate"},
        {f->MainMapScrollRightButton, f->MapButtonScrollTimer, "rotate"},
        {f->MainMapScrollLeftButton, f->MapButtonScrollTimer, "rotate"},
        {f->MainMapScrollUpButton, f->MapButtonScrollTimer, "rotate"},
        {f->MainMapScrollDownButton, f->MapButtonScrollTimer, "rotate"},
        {f->GlobeZoomButton, f->GlobeButtonScrollTimer, "zoom"},
        {f->MapZoomButton, f->MapButtonScrollTimer, "zoom"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->toolTip().toStdString());
        log.clear();
        // The toolkit delivers a double click as press, release, double click, release.
        Send(c.button, QEvent::MouseButtonPress, Qt::LeftButton);
        Send(c.button, QEvent::MouseButtonRelease, Qt::LeftButton);
        EXPECT_FALSE(c.timer->isActive());
        Send(c.button, QEvent::MouseButtonDblClick, Qt::LeftButton);
        // Held down after the second press: the timer runs and each tick renders.
        EXPECT_TRUE(c.timer->isActive());
        if (c.timer == f->GlobeButtonScrollTimer) {
            f->GlobeButtonScrollTimerTimer();
        } else {
            f->MapButtonScrollTimerTimer();
        }
        Send(c.button, QEvent::MouseButtonRelease, Qt::LeftButton);
        EXPECT_FALSE(c.timer->isActive());
        const std::string held = c.held;
        const std::vector<std::string> expected =
            held == "rotate"
                ? std::vector<std::string>{"rotate", "stop", "rotate", "render", "stop"}
                : std::vector<std::string>{"zoom", "render"};
        EXPECT_EQ(log, expected);
    }
    EXPECT_FLOAT_EQ(f->MapZoomStep, 0.0f);
    EXPECT_FLOAT_EQ(f->GlobeZoomStep, 0.0f);
}

TEST_F(HoldButtons, AFailedRotationStartsNoTimer) {
    failRotation = true;
    TMain_ScreenForm* f = Main_ScreenForm;
    QTest::mousePress(f->GlobeButtonRight, Qt::LeftButton);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());
    Send(f->GlobeButtonUp, QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());
    QTest::mousePress(f->MainMapScrollLeftButton, Qt::LeftButton);
    EXPECT_FALSE(f->MapButtonScrollTimer->isActive());
    // Nothing was rendered with the failed rotations.
    EXPECT_EQ(log, (std::vector<std::string>{"rotate", "rotate", "rotate"}));
}

TEST_F(HoldButtons, TheMenuBarSpansTheWindowAtAnyWidth) {
    TMain_ScreenForm* f = Main_ScreenForm;
    f->show();
    f->resize(1280, 1000);
    EXPECT_EQ(f->MainMenu->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(f->MainMenu->width(), 1280);
    // The panels keep their designed places.
    EXPECT_EQ(f->ClientArea->size(), QSize(800, 562));
    f->resize(800, f->MainMenu->height() + 562);
    EXPECT_EQ(f->MainMenu->width(), 800);
    f->hide();
}

}  // namespace
