#include "view/main_screen_form.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <cstdlib>

#include "game/message_store.h"
#include "game/title_screen_link.h"
#include "game/turn_files.h"
#include "game/unit_design.h"
#include "platform/gfx/surface.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/game_text.h"
#include "view/game_session.h"
#include "view/loading_form.h"
#include "view/main_screen_layout_form.h"
#include "view/view_engine.h"

namespace {

constexpr int kTimerInterval = 5;
// The engine's display: large enough for the client area, in the usual 32-bit format.
constexpr int kDisplayWidth = 1024;
constexpr int kDisplayHeight = 768;

}  // namespace

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {}

void TPaintBox::paintEvent(QPaintEvent*) {
    if (OnPaint)
        OnPaint();
    if (DrawPicture) {
        QPainter painter(this);
        DrawPicture(painter);
    }
}

TMain_ScreenForm::TMain_ScreenForm(QWidget* parent) : QWidget(parent) {
    screen_ = std::make_unique<gfx::MemoryScreen>(kDisplayWidth, kDisplayHeight,
                                                  gfx::PixelFormat::Xrgb8888());
    BuildLayout();

    MapButtonScrollTimer = new QTimer(this);
    MapButtonScrollTimer->setInterval(kTimerInterval);
    GlobeButtonScrollTimer = new QTimer(this);
    GlobeButtonScrollTimer->setInterval(kTimerInterval);
    connect(MapButtonScrollTimer, &QTimer::timeout, this,
            &TMain_ScreenForm::MapButtonScrollTimerTimer);
    connect(GlobeButtonScrollTimer, &QTimer::timeout, this,
            &TMain_ScreenForm::GlobeButtonScrollTimerTimer);
}

TMain_ScreenForm::~TMain_ScreenForm() {
    // The view engine of a game still loaded draws onto this screen: it goes first.
    Game().Destroy();
}

// --- Messages --------------------------------------------------------------------------------

void TMain_ScreenForm::ShowCurrentMessage() {
    const MessageStore* store = Game().Messages();
    if (store == nullptr || store->Count() == 0)
        return;
    const MessagePanelState panel = store->CurrentPanel();
    MessageNumberLabel->setText(QString::fromStdString(panel.Label));
    MessageNumberLabel->adjustSize();
    MessagePanelMessageBox->clear();
    MessagePanelMessageBox->setPlainText(FromGameText(panel.Text));
    MessagePanelPreviousButton->setEnabled(panel.PreviousEnabled);
    MessagePanelNextButton->setEnabled(panel.NextEnabled);
    MessagePanelGotoButton->setEnabled(panel.GotoEnabled);
}

void TMain_ScreenForm::MessagePanelPreviousButtonClick() {
    if (MessageStore* store = Game().Messages())
        store->StepBack();
    ShowCurrentMessage();
}

void TMain_ScreenForm::MessagePanelNextButtonClick() {
    if (MessageStore* store = Game().Messages())
        store->StepForward();
    ShowCurrentMessage();
}

// --- Activation, closing -------------------------------------------------------------------

void TMain_ScreenForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            FormActivate();
        } else {
            FormDeactivate();
        }
    }
    QWidget::changeEvent(event);
}

void TMain_ScreenForm::showEvent(QShowEvent* event) {
    // Where the window system gives a new window no activation (no window manager), the
    // panel would keep its design texts; showing the current message here too is harmless.
    ShowCurrentMessage();
    QWidget::showEvent(event);
}

void TMain_ScreenForm::resizeEvent(QResizeEvent* event) {
    // The menu bar spans the window, however wide; the panels keep their designed places.
    MainMenu->resize(width(), MainMenu->height());
    QWidget::resizeEvent(event);
}

void TMain_ScreenForm::FormActivate() {
    ShowCurrentMessage();
}

void TMain_ScreenForm::FormDeactivate() {
    GlobeButtonScrollTimer->stop();
}

void TMain_ScreenForm::closeEvent(QCloseEvent* event) {
    // The notice's gauge lets the window system draw while the large map is rebuilt; a
    // close asked for meanwhile must not destroy the game under the rebuild.
    if (rebuildingMap_) {
        event->ignore();
        return;
    }
    MapButtonScrollTimer->stop();
    GlobeButtonScrollTimer->stop();
    GlobeZoomStep = 0.0f;
    MapZoomStep = 0.0f;
    if (Links.GameClosing)
        Links.GameClosing();
    Game().Destroy();
    TitleScreen().ShowTitleScreen();
    event->accept();
}

// --- Views ---------------------------------------------------------------------------------

bool TMain_ScreenForm::CallViews(const std::function<bool(GameViews&)>& call) {
    GameViews* views = Game().Views();
    if (views == nullptr)
        return true;
    // A failure inside the call shows a modal box whose event loop delivers timer ticks and
    // paint events; they must not start another pass inside this one (nor open a second
    // box), so they wait until this call has returned.
    if (viewsBusy_)
        return false;
    viewsBusy_ = true;
    const bool done = call(*views);
    viewsBusy_ = false;
    return done;
}

void TMain_ScreenForm::HaltViews() {
    // Called before a failure of the views opens its box: nothing may tick while it is up.
    MapButtonScrollTimer->stop();
    GlobeButtonScrollTimer->stop();
}

void TMain_ScreenForm::GlobeMapImagePaint() {
    CallViews([](GameViews& views) {
        views.RenderViews();
        return true;
    });
}

void TMain_ScreenForm::MainMapImagePaint() {
    CallViews([](GameViews& views) {
        views.BlitMainMapToScreen();
        return true;
    });
}

void TMain_ScreenForm::GlobeButtonScrollTimerTimer() {
    CallViews([this](GameViews& views) {
        if (GlobeZoomStep != 0.0f && !views.StepZoom(GameViews::ZoomView::Globe, GlobeZoomStep))
            return false;
        views.RenderViews();
        return true;
    });
}

void TMain_ScreenForm::MapButtonScrollTimerTimer() {
    CallViews([this](GameViews& views) {
        if (MapZoomStep != 0.0f && !views.StepZoom(GameViews::ZoomView::Map, MapZoomStep))
            return false;
        views.RenderViews();
        return true;
    });
}

void TMain_ScreenForm::WireFrameToggleButtonClick() {
    const int quality = WireFrameToggleButton->isChecked() ? kWireFrameQuality : kSolidQuality;
    CallViews([quality](GameViews& views) {
        if (!views.SetDeviceQuality(quality))
            return false;
        views.RenderViews();
        return true;
    });
}

void TMain_ScreenForm::DragViews(int dx, int dy, float radiansPerPixel) {
    // A drag to the right turns like the scroll-right button, a drag down like scroll-down:
    // about the camera's y and x axes, for one render pass only.
    const float length = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
    const float x = static_cast<float>(dy) / length;
    const float y = static_cast<float>(dx) / length;
    CallViews([&](GameViews& views) {
        using Frame = GameViews::RotationFrame;
        if (!views.SetRotation(Frame::GlobeCamera, x, y, 0.0f, length * radiansPerPixel))
            return false;
        views.RenderViews();
        return views.SetRotation(Frame::GlobeCamera, 0.0f, 0.0f, 0.0f, 0.0f);
    });
}

void TMain_ScreenForm::WheelGlobe(int steps) {
    WheelZoom(true, steps);
}

void TMain_ScreenForm::WheelMap(int steps) {
    WheelZoom(false, steps);
}

void TMain_ScreenForm::WheelZoom(bool globe, int steps) {
    const GameViews::ZoomView view = globe ? GameViews::ZoomView::Globe : GameViews::ZoomView::Map;
    const float stepSize = globe ? kGlobeZoomStep : kMapZoomStep;
    // A turn away from the player (positive steps) brings the view nearer.
    const float step = steps > 0 ? -stepSize : stepSize;
    CallViews([&](GameViews& views) {
        for (int i = 0; i < std::abs(steps); ++i) {
            if (!views.StepZoom(view, step))
                return false;
        }
        views.RenderViews();
        return true;
    });
}

// --- Menus ---------------------------------------------------------------------------------

namespace {

void Follow(const std::function<void()>& link) {
    if (link)
        link();
}

}  // namespace

void TMain_ScreenForm::MainMenuFileSaveClick() {
    static const UnitDesignTable kNoDesigns;
    const std::string& playerFile = TitleScreen().GameFileName();
    const WriteOutcome saved =
        SaveTurn(playerFile, TitleScreen().Values(), Links.Designs ? Links.Designs() : kNoDesigns);
    if (saved)
        return;
    // Neither file was replaced; the game stays loaded, so the turn is not lost and can be
    // saved again once the folder takes it.
    const bool sendFailed = saved.Failure->Path == SendFileName(playerFile);
    Shell().ShowMessage(
        std::string(sendFailed ? "Couldn't save send file" : "Couldn't save history file") + "\n" +
            DescribeWriteFailure(*saved.Failure),
        "Fatal Error");
}

void TMain_ScreenForm::GameOptions1Click() {
    Follow(Links.ShowGameOptions);
}

void TMain_ScreenForm::MainMenuFileExitClick() {
    close();
}

void TMain_ScreenForm::UnitDesign1Click() {
    Follow(Links.ShowUnitDesign);
}

void TMain_ScreenForm::City1Click() {
    Follow(Links.ShowCityDesign);
}

void TMain_ScreenForm::MainMenuOrdersResearchClick() {
    Follow(Links.ShowResearch);
}

void TMain_ScreenForm::MainMenuHelpContentsClick() {
    Follow(Links.ShowHelp);
}

void TMain_ScreenForm::Credits1Click() {
    Follow(Links.ShowCredits);
}

void TMain_ScreenForm::VersionHistory1Click() {
    Follow(Links.ShowVersionHistory);
}

void TMain_ScreenForm::KnownBugs1Click() {
    Follow(Links.ShowKnownBugs);
}

// --- Rebuilding the large map ----------------------------------------------------------------

void TMain_ScreenForm::ShowLoadingNotice() {
    rebuildingMap_ = true;
    if (Links.LoadingNotice != nullptr) {
        Links.LoadingNotice->CGauge1->SetProgress(0);
        Links.LoadingNotice->show();
    }
}

void TMain_ScreenForm::DestroyMainMap() {
    Game().DestroyMainMap();
}

void TMain_ScreenForm::CreateMainMap() {
    TForm1* notice = Links.LoadingNotice;
    Game().CreateMainMap(TitleScreen().Values().TextureResolution, [notice](int percent) {
        if (notice != nullptr)
            notice->ShowProgress(percent);
    });
}

void TMain_ScreenForm::CloseLoadingNotice() {
    rebuildingMap_ = false;
    if (Links.LoadingNotice != nullptr)
        Links.LoadingNotice->close();
    // The new large map is drawn by the next render pass.
    GlobeMapImage->update();
}

// --- The view engine's screen ----------------------------------------------------------------

std::uintptr_t TMain_ScreenForm::WindowHandle() const {
    return reinterpret_cast<std::uintptr_t>(this);
}

PaintBoxPlace TMain_ScreenForm::MainMapPaintBox() const {
    return kMainMapPlace;
}

PaintBoxPlace TMain_ScreenForm::GlobePaintBox() const {
    return kGlobePlace;
}

gfx::DisplayMode TMain_ScreenForm::Display() const {
    return gfx::DisplayMode{kDisplayWidth, kDisplayHeight, gfx::PixelFormat::Xrgb8888()};
}

void TMain_ScreenForm::ShowGlobeTime(const std::string& text) {
    GlobeTimerDisplay->setText(QString::fromStdString(text));
    GlobeTimerDisplay->adjustSize();
}

void TMain_ScreenForm::ShowMapTime(const std::string& text) {
    MapTimerDisplay->setText(QString::fromStdString(text));
    MapTimerDisplay->adjustSize();
}

void TMain_ScreenForm::ShowCreationTime(const std::string& text) {
    MainMapPosDisplay->setText(QString::fromStdString(text));
    MainMapPosDisplay->adjustSize();
}

void TMain_ScreenForm::Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                               const gfx::Rect& destination, std::span<const gfx::Rect> clip) {
    screen_->Present(source, sourceRect, destination, clip);
    // The box being painted draws the new pixels itself; the other one is asked to.
    struct Box {
        TPaintBox* box;
        PaintBoxPlace place;
        bool* presented;
    };
    for (const Box& b : {Box{MainMapImage, kMainMapPlace, &mapPresented_},
                         Box{GlobeMapImage, kGlobePlace, &globePresented_}}) {
        const gfx::Rect area = ScreenRectOf({0, 0}, b.place);
        const bool touched = destination.left < area.right && area.left < destination.right &&
                             destination.top < area.bottom && area.top < destination.bottom;
        if (touched && b.box != painting_) {
            *b.presented = true;
            b.box->update();
        }
    }
}

QImage TMain_ScreenForm::ScreenPicture() const {
    const gfx::PixelView& view = screen_->View();
    return QImage(view.bits, view.width, view.height, view.pitch, QImage::Format_RGB32);
}
