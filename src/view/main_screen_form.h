#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "view/main_map_rebuild.h"
#include "view/view_screen.h"

namespace gfx {
class MemoryScreen;
}

class GameViews;
class TForm1;
class THelpForm;
class UnitDesignTable;
class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

// A paint box: a plain area whose painting is left to a handler.
class TPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit TPaintBox(QWidget* parent = nullptr);
    // Runs the paint handler, then draws the box's part of the main screen's picture.
    std::function<void()> OnPaint;
    std::function<void(QPainter&)> DrawPicture;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// What the main screen needs of the screens around it, wired by the application when it
// builds them. A link left empty does nothing.
struct MainScreenLinks {
    // The windows that the menus open.
    std::function<void()> ShowGameOptions;
    std::function<void()> ShowUnitDesign;
    std::function<void()> ShowCityDesign;
    std::function<void()> ShowResearch;
    std::function<void()> ShowHelp;
    std::function<void()> ShowCredits;
    std::function<void()> ShowVersionHistory;
    std::function<void()> ShowKnownBugs;
    // The unit designs that a saved turn carries; none while unset.
    std::function<const UnitDesignTable&()> Designs;
    // Told as the game closes, before its objects are destroyed.
    std::function<void()> GameClosing;
    // The "Loading map" notice shown while the large map is rebuilt (not owned).
    TForm1* LoadingNotice = nullptr;
};

// The main screen: the large map, the globe, the message panel, the information panels and
// the menus of a loaded game.
//
// It is the view engine's screen: the engine's copies land in a picture of the client area
// (co-ordinates relative to the client area's top-left corner), from which the two paint
// boxes draw their parts.
class TMain_ScreenForm : public QWidget, public MainMapRebuild, public ViewScreen {
    Q_OBJECT

public:
    explicit TMain_ScreenForm(QWidget* parent = nullptr);
    ~TMain_ScreenForm() override;

    // Distance added to the frames' z on each timer tick while a zoom button is held.
    float GlobeZoomStep = 0.0f;
    float MapZoomStep = 0.0f;

    QMenuBar* MainMenu = nullptr;
    QWidget* ClientArea = nullptr;  // 800 x 562 below the menu bar; holds every control

    QFrame* Bevel1 = nullptr;
    QFrame* SpeedButtonBarPanel = nullptr;

    QFrame* MainMapPanel = nullptr;
    TPaintBox* MainMapImage = nullptr;
    QFrame* MainMapSpeedButtonPanel = nullptr;
    QLabel* MainMapPosDisplay = nullptr;
    QLabel* MapTimerDisplay = nullptr;
    QLabel* GlobeTimerDisplay = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* WireFrameToggleButton = nullptr;
    QToolButton* MapZoomButton = nullptr;
    QFrame* Bevel6 = nullptr;
    QToolButton* MainMapScrollUpButton = nullptr;
    QToolButton* MainMapScrollDownButton = nullptr;
    QToolButton* MainMapScrollLeftButton = nullptr;
    QToolButton* MainMapScrollRightButton = nullptr;

    QFrame* GlobeMapPanel = nullptr;
    TPaintBox* GlobeMapImage = nullptr;
    QFrame* GlobeMapButtonPanel = nullptr;
    QPushButton* Button1 = nullptr;
    QToolButton* GlobeZoomButton = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* GlobeButtonUp = nullptr;
    QToolButton* GlobeButtonDown = nullptr;
    QToolButton* GlobeButtonLeft = nullptr;
    QToolButton* GlobeButtonRight = nullptr;

    QFrame* CityInfoPanel = nullptr;
    QLabel* UnitInfoBoxNameLabel = nullptr;
    TPaintBox* UnitInfoBoxHealth = nullptr;
    TPaintBox* UnitInfoBoxExperience = nullptr;

    QFrame* MessagePanel = nullptr;
    QLabel* TurnNumberLabel = nullptr;
    QLabel* MessageNumberLabel = nullptr;
    QPlainTextEdit* MessagePanelMessageBox = nullptr;
    QPushButton* MessagePanelPreviousButton = nullptr;
    QPushButton* MessagePanelGotoButton = nullptr;
    QPushButton* MessagePanelNextButton = nullptr;
    QPushButton* MessageBoxMailButton = nullptr;

    QFrame* LandscapeInfoPanel = nullptr;
    QFrame* OrdersPanel = nullptr;

    QTimer* MapButtonScrollTimer = nullptr;
    QTimer* GlobeButtonScrollTimer = nullptr;

    // Menu items with an action.
    QAction* MainMenuFileSave = nullptr;
    QAction* GameOptions1 = nullptr;
    QAction* MainMenuFileExit = nullptr;
    QAction* UnitDesign1 = nullptr;
    QAction* City1 = nullptr;
    QAction* MainMenuOrdersResearch = nullptr;
    QAction* MainMenuHelpContents = nullptr;
    QAction* Credits1 = nullptr;
    QAction* VersionHistory1 = nullptr;
    QAction* KnownBugs1 = nullptr;

    // The help window, built the first time help is asked for; owned by this screen.
    THelpForm* HelpForm = nullptr;

    MainScreenLinks Links;

    // Shows the message store's current message on the message panel.
    void ShowCurrentMessage();

    void FormActivate();
    void FormDeactivate();
    void GlobeMapImagePaint();
    void MainMapImagePaint();
    void GlobeButtonScrollTimerTimer();
    void MapButtonScrollTimerTimer();
    void WireFrameToggleButtonClick();
    void MessagePanelPreviousButtonClick();
    void MessagePanelNextButtonClick();

    void MainMenuFileSaveClick();
    void GameOptions1Click();
    void MainMenuFileExitClick();
    void UnitDesign1Click();
    void City1Click();
    void MainMenuOrdersResearchClick();
    void MainMenuHelpContentsClick();
    void Credits1Click();
    void VersionHistory1Click();
    void KnownBugs1Click();

    // The rebuild of the large map at another texture resolution (game options).
    void ShowLoadingNotice() override;
    void DestroyMainMap() override;
    void CreateMainMap() override;
    void CloseLoadingNotice() override;

    // The view engine's screen.
    std::uintptr_t WindowHandle() const override;
    ScreenPoint ClientOrigin() const override { return {0, 0}; }
    PaintBoxPlace MainMapPaintBox() const override;
    PaintBoxPlace GlobePaintBox() const override;
    gfx::DisplayMode Display() const override;
    void ShowGlobeTime(const std::string& text) override;
    void ShowMapTime(const std::string& text) override;
    void ShowCreationTime(const std::string& text) override;
    void Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                 const gfx::Rect& destination, std::span<const gfx::Rect> clip) override;
    // Stops both timers before a failure's box opens.
    void HaltViews() override;

    // Dragging on a view turns the globe about the camera's axes (the large map follows):
    // the drag of (dx, dy) pixels turns it by the drag's length times radiansPerPixel, in
    // one render pass. The wheel zooms the view by whole steps within its limits.
    void DragViews(int dx, int dy, float radiansPerPixel);
    void WheelGlobe(int steps);
    void WheelMap(int steps);

    // The picture of the client area that the engine's copies have drawn so far.
    QImage ScreenPicture() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The layout (main_screen_layout_form.cpp): the window, its menus and its panels.
    void BuildLayout();
    void BuildMenus();
    void BuildMainMapPanel();
    void BuildGlobeMapPanel();
    void BuildCityInfoPanel();
    void BuildMessagePanel();
    void BuildLandscapeInfoPanel();
    void BuildOrdersPanel();
    void PaintFromScreen(TPaintBox* box, const PaintBoxPlace& place);
    // Runs one call into the game's views (a render pass, a rotation, a zoom step), or
    // nothing while another call is still running. True when the call went through; true
    // as well when no game is loaded.
    bool CallViews(const std::function<bool(GameViews&)>& call);
    // Zooms the globe (or the large map) by whole steps of its view within its limits.
    void WheelZoom(bool globe, int steps);

    std::unique_ptr<gfx::MemoryScreen> screen_;
    TPaintBox* painting_ = nullptr;  // the paint box being painted, which needs no update
    // A paint box whose repaint was asked for by a copy of the engine: it shows the copy.
    bool mapPresented_ = false;
    bool globePresented_ = false;
    bool viewsBusy_ = false;      // a call into the views is running
    bool rebuildingMap_ = false;  // the large map is being rebuilt at another resolution
};
