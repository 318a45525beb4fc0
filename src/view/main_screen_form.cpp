#include "view/main_screen_form.h"

#include <QShowEvent>

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/message_store.h"
#include "game/title_screen_link.h"
#include "game/turn_files.h"
#include "game/unit_design.h"
#include "platform/gfx/surface.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "view/game_session.h"
#include "view/loading_form.h"
#include "view/view_engine.h"

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 562;
constexpr int kTimerInterval = 5;
// Captions that the panels cannot hold at the form's size are set smaller, down to this.
constexpr int kSmallestPixels = 9;
// The engine's display: large enough for the client area, in the usual 32-bit format.
constexpr int kDisplayWidth = 1024;
constexpr int kDisplayHeight = 768;

// Places of the paint boxes: their panel in the client area, then the box in the panel.
constexpr PaintBoxPlace kMainMapPlace{0, 39, 1, 1, 575, 287};
constexpr PaintBoxPlace kGlobePlace{584, 39, 1, 1, 207, 151};

enum class Arrow { Up, Down, Left, Right };

// A small filled triangle pointing the arrow's way, for the scroll and rotation buttons.
QIcon ArrowGlyph(Arrow arrow) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF triangle;
    switch (arrow) {
        case Arrow::Up:
            triangle << QPointF(6, 2) << QPointF(11, 9) << QPointF(1, 9);
            break;
        case Arrow::Down:
            triangle << QPointF(1, 3) << QPointF(11, 3) << QPointF(6, 10);
            break;
        case Arrow::Left:
            triangle << QPointF(2, 6) << QPointF(9, 1) << QPointF(9, 11);
            break;
        case Arrow::Right:
            triangle << QPointF(3, 1) << QPointF(10, 6) << QPointF(3, 11);
            break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 128));
    painter.drawPolygon(triangle);
    return QIcon(pixmap);
}

QFrame* MakePanel(QWidget* parent, int left, int top, int width, int height) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(left, top, width, height);
    return panel;
}

QFrame* MakeRaisedBevel(QWidget* parent, int left, int top, int width, int height) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, bool bold = false,
                  bool underline = false) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(bold);
    font.setUnderline(underline);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* hint, int left, int top, int size,
                             bool toggle) {
    auto* button = new QToolButton(parent);
    button->setGeometry(left, top, size, size);
    button->setToolTip(QString::fromLatin1(hint));
    button->setCheckable(toggle);
    button->setAutoRaise(false);
    return button;
}

QToolButton* MakeArrowButton(QWidget* parent, const char* hint, int left, int top, Arrow arrow) {
    auto* button = new QToolButton(parent);
    button->setGeometry(left, top, 20, 20);
    button->setToolTip(QString::fromLatin1(hint));
    button->setIcon(ArrowGlyph(arrow));
    button->setIconSize(QSize(12, 12));
    return button;
}

QPushButton* MakeButton(QWidget* parent, const char* caption, int left, int top, int width,
                        int height) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setGeometry(left, top, width, height);
    return button;
}

// Calls the handlers on mouse press and release with the mouse button, whichever it is. The
// second press of a quick double click arrives as a double-click event; it is a press too,
// or a button clicked twice would not hold.
class MouseButtonFilter : public QObject {
public:
    MouseButtonFilter(QObject* parent, std::function<void(Qt::MouseButton)> down,
                      std::function<void()> up)
        : QObject(parent), down_(std::move(down)), up_(std::move(up)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            down_(static_cast<QMouseEvent*>(event)->button());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            up_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(Qt::MouseButton)> down_;
    std::function<void()> up_;
};

// Turns drags and wheel turns on a view into the screen's view handlers.
class ViewMouseFilter : public QObject {
public:
    ViewMouseFilter(TMain_ScreenForm* screen, float radiansPerPixel, bool globe)
        : QObject(screen), screen_(screen), radiansPerPixel_(radiansPerPixel), globe_(globe) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {  // a double click's second press drags too
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton) {
                    dragging_ = true;
                    last_ = mouse->position().toPoint();
                }
                break;
            }
            case QEvent::MouseMove: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (!dragging_)
                    break;
                const QPoint now = mouse->position().toPoint();
                const QPoint moved = now - last_;
                last_ = now;
                if (!moved.isNull())
                    screen_->DragViews(moved.x(), moved.y(), radiansPerPixel_);
                break;
            }
            case QEvent::MouseButtonRelease:
                dragging_ = false;
                break;
            case QEvent::Wheel: {
                const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
                if (steps == 0)
                    break;
                // Turning the wheel away from the user zooms in.
                if (globe_) {
                    screen_->WheelGlobe(steps);
                } else {
                    screen_->WheelMap(steps);
                }
                return true;
            }
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TMain_ScreenForm* screen_;
    float radiansPerPixel_;
    bool globe_;
    bool dragging_ = false;
    QPoint last_;
};

// A call that gives the globe frame a rotation about an axis in the xy plane (angle 0 stops
// it).
std::function<bool(GameViews&)> Rotation(GameViews::RotationFrame frame, float x, float y,
                                         float angle) {
    return [=](GameViews& views) { return views.SetRotation(frame, x, y, 0.0f, angle); };
}

// How far a drag of one pixel turns the globe on each view: the globe fills its paint box,
// the large map shows a small part of the sphere.
constexpr float kGlobeDragRadians = 0.02f;
constexpr float kMapDragRadians = 0.002f;

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
    setWindowTitle(QStringLiteral("Velmora - Orbalune  (Pre-Alpha)"));
    setFont(LayoutFont(QStringLiteral("Times New Roman"), 14));

    screen_ = std::make_unique<gfx::MemoryScreen>(kDisplayWidth, kDisplayHeight,
                                                  gfx::PixelFormat::Xrgb8888());
    BuildMenus();
    const int menuHeight = MainMenu->sizeHint().height();
    MainMenu->setGeometry(0, 0, kClientWidth, menuHeight);
    ClientArea = new QWidget(this);
    ClientArea->setGeometry(0, menuHeight, kClientWidth, kClientHeight);
    resize(kClientWidth, menuHeight + kClientHeight);

    Bevel1 = new QFrame(ClientArea);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setGeometry(0, 0, 800, 2);
    SpeedButtonBarPanel = MakePanel(ClientArea, 0, 2, 801, 31);

    BuildMainMapPanel();
    BuildGlobeMapPanel();
    BuildCityInfoPanel();
    BuildMessagePanel();
    BuildLandscapeInfoPanel();
    BuildOrdersPanel();

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

void TMain_ScreenForm::BuildMenus() {
    MainMenu = new QMenuBar(this);
    MainMenu->setNativeMenuBar(false);

    QMenu* file = MainMenu->addMenu(QStringLiteral("&File"));
    QMenu* fileNew = file->addMenu(QStringLiteral("&New"));
    fileNew->addAction(QStringLiteral("Game..."));
    fileNew->addAction(QStringLiteral("Race..."));
    file->addAction(QStringLiteral("&Open..."));
    MainMenuFileSave = file->addAction(QStringLiteral("&Save"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Print..."));
    file->addAction(QStringLiteral("P&rint Setup..."));
    file->addSeparator();
    GameOptions1 = file->addAction(QStringLiteral("&Game Options..."));
    file->addSeparator();
    MainMenuFileExit = file->addAction(QStringLiteral("E&xit"));

    QMenu* orders = MainMenu->addMenu(QStringLiteral("&Orders"));
    UnitDesign1 = orders->addAction(QStringLiteral("&Unit Design..."));
    City1 = orders->addAction(QStringLiteral("&City Control..."));
    MainMenuOrdersResearch = orders->addAction(QStringLiteral("&Research"));

    QMenu* reports = MainMenu->addMenu(QStringLiteral("&Reports"));
    reports->addAction(QStringLiteral("&Score"));

    QMenu* help = MainMenu->addMenu(QStringLiteral("&Help"));
    MainMenuHelpContents = help->addAction(QStringLiteral("&Contents"));
    help->addAction(QStringLiteral("&About..."));
    Credits1 = help->addAction(QStringLiteral("C&redits"));

    MainMenu->addAction(QString());
    MainMenu->addAction(QString());

    QMenu* version = MainMenu->addMenu(QStringLiteral("&Version Info"));
    VersionHistory1 = version->addAction(QStringLiteral("Version &History"));
    KnownBugs1 = version->addAction(QStringLiteral("Known &Bugs"));

    connect(MainMenuFileSave, &QAction::triggered, this, &TMain_ScreenForm::MainMenuFileSaveClick);
    connect(GameOptions1, &QAction::triggered, this, &TMain_ScreenForm::GameOptions1Click);
    connect(MainMenuFileExit, &QAction::triggered, this, &TMain_ScreenForm::MainMenuFileExitClick);
    connect(UnitDesign1, &QAction::triggered, this, &TMain_ScreenForm::UnitDesign1Click);
    connect(City1, &QAction::triggered, this, &TMain_ScreenForm::City1Click);
    connect(MainMenuOrdersResearch, &QAction::triggered, this,
            &TMain_ScreenForm::MainMenuOrdersResearchClick);
    connect(MainMenuHelpContents, &QAction::triggered, this,
            &TMain_ScreenForm::MainMenuHelpContentsClick);
    connect(Credits1, &QAction::triggered, this, &TMain_ScreenForm::Credits1Click);
    connect(VersionHistory1, &QAction::triggered, this, &TMain_ScreenForm::VersionHistory1Click);
    connect(KnownBugs1, &QAction::triggered, this, &TMain_ScreenForm::KnownBugs1Click);
}

void TMain_ScreenForm::BuildMainMapPanel() {
    MainMapPanel = MakePanel(ClientArea, 0, 39, 577, 338);
    MainMapImage = new TPaintBox(MainMapPanel);
    MainMapImage->setGeometry(1, 1, 575, 287);
    MainMapImage->OnPaint = [this] {
        if (mapPresented_) {
            mapPresented_ = false;  // the engine's copy is shown as it is
            return;
        }
        painting_ = MainMapImage;
        MainMapImagePaint();
        painting_ = nullptr;
    };
    MainMapImage->DrawPicture = [this](QPainter& painter) {
        painter.drawImage(QPoint(0, 0), ScreenPicture(),
                          QRect(kMainMapPlace.panelLeft + kMainMapPlace.left,
                                kMainMapPlace.panelTop + kMainMapPlace.top, kMainMapPlace.width,
                                kMainMapPlace.height));
    };

    MainMapImage->installEventFilter(new ViewMouseFilter(this, kMapDragRadians, false));

    MainMapSpeedButtonPanel = MakePanel(MainMapPanel, 1, 288, 575, 49);
    QWidget* strip = MainMapSpeedButtonPanel;
    MainMapPosDisplay = MakeLabel(strip, QStringLiteral("MainMapPosDisplay"), 7, 4);
    MapTimerDisplay = MakeLabel(strip, QStringLiteral("MapTimerDisplay"), 7, 18);
    GlobeTimerDisplay = MakeLabel(strip, QStringLiteral("GlobeTimerDisplay"), 8, 32);

    SpeedButton5 = MakeSpeedButton(strip, "Hide Resources", 368, 16, 29, true);
    SpeedButton4 = MakeSpeedButton(strip, "Hide Cities", 400, 16, 29, true);
    WireFrameToggleButton = MakeSpeedButton(strip, "Toggle Wireframe", 432, 16, 29, true);
    MapZoomButton = MakeSpeedButton(strip, "Zoom", 464, 16, 29, false);
    Bevel6 = MakeRaisedBevel(strip, 575 - 70 - 1, 1, 70, 47);

    MainMapScrollUpButton = MakeArrowButton(strip, "Scroll Up", 529, 4, Arrow::Up);
    MainMapScrollDownButton = MakeArrowButton(strip, "Scroll Down", 529, 25, Arrow::Down);
    MainMapScrollLeftButton = MakeArrowButton(strip, "Scroll Left", 508, 14, Arrow::Left);
    MainMapScrollRightButton = MakeArrowButton(strip, "Scroll Right", 550, 14, Arrow::Right);

    connect(WireFrameToggleButton, &QToolButton::clicked, this,
            &TMain_ScreenForm::WireFrameToggleButtonClick);

    MapZoomButton->installEventFilter(new MouseButtonFilter(
        this,
        [this](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                MapZoomStep = -kMapZoomStep;
            if (button == Qt::RightButton)
                MapZoomStep = kMapZoomStep;
            MapButtonScrollTimer->start();
        },
        [this] {
            MapZoomStep = 0.0f;
            MapButtonScrollTimer->stop();
        }));

    // The map buttons turn the globe about axes fixed to its camera; every render pass gives
    // the large map the globe's orientation.
    struct Scroll {
        QToolButton* button;
        float x, y, angle;
    };
    for (const Scroll& scroll : {Scroll{MainMapScrollRightButton, 0, 1, 0.005f},
                                 Scroll{MainMapScrollLeftButton, 0, 1, -0.005f},
                                 Scroll{MainMapScrollUpButton, 1, 0, -0.005f},
                                 Scroll{MainMapScrollDownButton, 1, 0, 0.005f}}) {
        scroll.button->installEventFilter(new MouseButtonFilter(
            this,
            [this, scroll](Qt::MouseButton) {
                // A failed rotation has shown its box and ends the program: no timer.
                if (!CallViews(Rotation(GameViews::RotationFrame::GlobeCamera, scroll.x, scroll.y,
                                        scroll.angle)))
                    return;
                MapButtonScrollTimer->start();
            },
            [this] {
                MapButtonScrollTimer->stop();
                CallViews(Rotation(GameViews::RotationFrame::GlobeCamera, 0, 0, 0));
            }));
    }
}

void TMain_ScreenForm::BuildGlobeMapPanel() {
    GlobeMapPanel = MakePanel(ClientArea, 584, 39, 209, 194);
    GlobeMapImage = new TPaintBox(GlobeMapPanel);
    GlobeMapImage->setGeometry(1, 1, 207, 151);
    GlobeMapImage->OnPaint = [this] {
        // A repaint asked for by a copy of the engine shows that copy; rendering again would
        // turn the globe once more.
        if (globePresented_) {
            globePresented_ = false;
            return;
        }
        painting_ = GlobeMapImage;
        GlobeMapImagePaint();
        painting_ = nullptr;
    };
    GlobeMapImage->DrawPicture = [this](QPainter& painter) {
        painter.drawImage(
            QPoint(0, 0), ScreenPicture(),
            QRect(kGlobePlace.panelLeft + kGlobePlace.left, kGlobePlace.panelTop + kGlobePlace.top,
                  kGlobePlace.width, kGlobePlace.height));
    };

    GlobeMapImage->installEventFilter(new ViewMouseFilter(this, kGlobeDragRadians, true));

    GlobeMapButtonPanel = MakePanel(GlobeMapPanel, 1, 152, 207, 41);
    QWidget* strip = GlobeMapButtonPanel;
    Button1 = MakeButton(strip, "Orient", 15, 8, 40, 25);
    Button1->setToolTip(QStringLiteral("Reorient Globe"));
    GlobeZoomButton = MakeSpeedButton(strip, "Zoom", 62, 8, 25, false);
    SpeedButton6 = MakeSpeedButton(strip, "Show Flat World", 96, 8, 25, true);
    GlobeButtonUp = MakeArrowButton(strip, "Scroll Up", 160, 2, Arrow::Up);
    GlobeButtonDown = MakeArrowButton(strip, "Scroll Down", 160, 22, Arrow::Down);
    GlobeButtonLeft = MakeArrowButton(strip, "Scroll Left", 140, 12, Arrow::Left);
    GlobeButtonRight = MakeArrowButton(strip, "Scroll Right", 180, 12, Arrow::Right);

    GlobeZoomButton->installEventFilter(new MouseButtonFilter(
        this,
        [this](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                GlobeZoomStep = -kGlobeZoomStep;
            if (button == Qt::RightButton)
                GlobeZoomStep = kGlobeZoomStep;
            GlobeButtonScrollTimer->start();
        },
        [this] {
            GlobeZoomStep = 0.0f;
            GlobeButtonScrollTimer->stop();
        }));

    // Left and right turn the globe about its own polar axis, up and down about an axis
    // fixed to its camera.
    using Frame = GameViews::RotationFrame;
    struct Turn {
        QToolButton* button;
        Frame frame;
        float x, y, angle;
    };
    for (const Turn& turn : {Turn{GlobeButtonRight, Frame::Globe, 0, 1, 0.1f},
                             Turn{GlobeButtonLeft, Frame::Globe, 0, 1, -0.1f},
                             Turn{GlobeButtonUp, Frame::GlobeCamera, 1, 0, -0.05f},
                             Turn{GlobeButtonDown, Frame::GlobeCamera, 1, 0, 0.05f}}) {
        turn.button->installEventFilter(new MouseButtonFilter(
            this,
            [this, turn](Qt::MouseButton) {
                // A failed rotation has shown its box and ends the program: no timer.
                if (!CallViews(Rotation(turn.frame, turn.x, turn.y, turn.angle)))
                    return;
                GlobeButtonScrollTimer->start();
            },
            [this, turn] {
                GlobeButtonScrollTimer->stop();
                CallViews(Rotation(turn.frame, 0, 0, 0));
            }));
    }
}

void TMain_ScreenForm::BuildCityInfoPanel() {
    CityInfoPanel = MakePanel(ClientArea, 584, 236, 208, 144);
    QWidget* p = CityInfoPanel;
    auto* picture = new QLabel(p);
    picture->setGeometry(8, 8, 52, 52);
    MakeRaisedBevel(p, 8, 8, 52, 52);
    UnitInfoBoxNameLabel = MakeLabel(p, QStringLiteral("UnitInfoBoxNameLabel"), 68, 8, true, true);
    FitLabelToRight(UnitInfoBoxNameLabel, p->contentsRect().right(), kSmallestPixels);
    QLabel* health = MakeLabel(p, QStringLiteral("Health:"), 68, 26);
    UnitInfoBoxHealth = new TPaintBox(p);
    // The boxes stand at the panel's right edge, leaving their captions the most room.
    const int boxLeft = p->contentsRect().right() - 85;
    UnitInfoBoxHealth->setGeometry(boxLeft, 28, 85, 14);
    QLabel* experience = MakeLabel(p, QStringLiteral("Experience:"), 68, 44);
    UnitInfoBoxExperience = new TPaintBox(p);
    UnitInfoBoxExperience->setGeometry(boxLeft, 46, 85, 14);
    // Both captions end a pixel clear of their boxes, in one size.
    FitLabelToRight(experience, UnitInfoBoxExperience->x() - 1, kSmallestPixels);
    health->setFont(experience->font());
    health->adjustSize();
    for (TPaintBox* box : {UnitInfoBoxHealth, UnitInfoBoxExperience}) {
        auto* frame = new QFrame(p);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setGeometry(box->geometry());
    }
    MakeLabel(p, QStringLiteral("Composition"), 8, 66, false, true);
    MakeLabel(p, QStringLiteral("13 Panzer Tanks"), 8, 82);
    MakeLabel(p, QStringLiteral("12 Militia Men"), 8, 98);
    MakeLabel(p, QStringLiteral("5 Arch Mages"), 8, 114);
    MakeLabel(p, QStringLiteral("Orders"), 112, 66, false, true);
    MakeLabel(p, QStringLiteral("Upgrade at"), 112, 82);
    MakeLabel(p, QStringLiteral("nearest base"), 112, 96);
    MakeLabel(p, QStringLiteral("Combat Orders"), 112, 110, false, true);
    MakeLabel(p, QStringLiteral("Frontal Assault"), 112, 124);
}

void TMain_ScreenForm::BuildMessagePanel() {
    MessagePanel = MakePanel(ClientArea, -8, 384, 353, 169);
    QWidget* p = MessagePanel;
    TurnNumberLabel = MakeLabel(p, QStringLiteral("TurnNumberLabel"), 15, 4);
    MessageNumberLabel = MakeLabel(p, QStringLiteral("Message 1000 of 1000"), 232, 4, true);

    MessagePanelMessageBox = new QPlainTextEdit(p);
    MessagePanelMessageBox->setGeometry(16, 24, 273, 137);
    MessagePanelMessageBox->setReadOnly(true);
    MessagePanelMessageBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MessagePanelMessageBox->setFocusPolicy(Qt::NoFocus);
    QFont bold = MessagePanelMessageBox->font();
    bold.setBold(true);
    MessagePanelMessageBox->setFont(bold);
    MessagePanelMessageBox->setPlainText(QStringLiteral("MessagePanelMessageBox"));

    MessagePanelPreviousButton = MakeButton(p, "Prev", 300, 25, 40, 25);
    MessagePanelGotoButton = MakeButton(p, "Goto", 300, 55, 40, 25);
    MessagePanelNextButton = MakeButton(p, "Next", 300, 86, 40, 25);
    MessageBoxMailButton = MakeButton(p, "Mail", 300, 118, 40, 25);

    connect(MessagePanelPreviousButton, &QPushButton::clicked, this,
            &TMain_ScreenForm::MessagePanelPreviousButtonClick);
    connect(MessagePanelNextButton, &QPushButton::clicked, this,
            &TMain_ScreenForm::MessagePanelNextButtonClick);
}

void TMain_ScreenForm::BuildLandscapeInfoPanel() {
    LandscapeInfoPanel = MakePanel(ClientArea, 352, 384, 225, 169);
    QWidget* p = LandscapeInfoPanel;
    MakeRaisedBevel(p, 8, 8, 52, 52);
    MakeLabel(p, QStringLiteral("Desert"), 68, 8, true, true);
    MakeLabel(p, QStringLiteral("Habitability: Low"), 68, 26);
    MakeLabel(p, QStringLiteral("Growth Rate: -2"), 68, 42);
    MakeLabel(p, QStringLiteral("Resources"), 8, 68, false, true);
    MakeLabel(p, QStringLiteral("Oil"), 8, 86);
    MakeLabel(p, QStringLiteral("Granite"), 8, 102);
    MakeLabel(p, QStringLiteral("Claimants (disputed)"), 100, 68, false, true);
    MakeLabel(p, QStringLiteral("The Huns"), 100, 86);
    MakeLabel(p, QStringLiteral("The Jacakals"), 100, 102);
}

void TMain_ScreenForm::BuildOrdersPanel() {
    OrdersPanel = MakePanel(ClientArea, 584, 384, 209, 169);
    QWidget* p = OrdersPanel;
    QLabel* orders =
        MakeLabel(p, QStringLiteral("Current Orders: The Death Stalkers"), 6, 6, true, true);
    FitLabelToRight(orders, p->contentsRect().right(), kSmallestPixels);
    MakeLabel(p, QStringLiteral("Destination"), 6, 26, false, true);
    MakeLabel(p, QStringLiteral("Task"), 120, 26, false, true);
    auto makeList = [p](const QStringList& items, int left) {
        auto* list = new QListWidget(p);
        list->setFrameShape(QFrame::NoFrame);
        list->addItems(items);
        // The second list ends inside the panel.
        list->setGeometry(left, 44, std::min(100, p->contentsRect().right() - left), 60);
        return list;
    };
    makeList({QStringLiteral("The Killer Bees"), QStringLiteral("Despot City"),
              QStringLiteral("Despot City")},
             6);
    makeList({QStringLiteral("Attack"), QStringLiteral("Upgrade"), QStringLiteral("Repair")}, 120);
    MakeLabel(p, QStringLiteral("Combat Orders: Frontal Assault"), 6, 112);
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
    const float step = steps > 0 ? -kGlobeZoomStep : kGlobeZoomStep;
    CallViews([&](GameViews& views) {
        for (int i = 0; i < std::abs(steps); ++i) {
            if (!views.StepZoom(GameViews::ZoomView::Globe, step))
                return false;
        }
        views.RenderViews();
        return true;
    });
}

void TMain_ScreenForm::WheelMap(int steps) {
    const float step = steps > 0 ? -kMapZoomStep : kMapZoomStep;
    CallViews([&](GameViews& views) {
        for (int i = 0; i < std::abs(steps); ++i) {
            if (!views.StepZoom(GameViews::ZoomView::Map, step))
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
