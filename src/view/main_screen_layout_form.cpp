// The main screen's layout: the menus, the client area and its panels as designed, and the
// wiring of their controls to the screen's handlers (main_screen_form.cpp).
#include "view/main_screen_form.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/qt/form_geometry.h"
#include "platform/qt/widget_factory.h"
#include "view/game_session.h"
#include "view/main_screen_layout_form.h"

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 562;
// Captions that the panels cannot hold at the form's size are set smaller, down to this.
constexpr int kSmallestPixels = 9;
// A panel's title and the headings of its columns.
const LabelStyle kTitle = LabelStyle().Bold().Underlined();
const LabelStyle kHeading = LabelStyle().Underlined();

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

// A scroll or rotation button of a view's button strip: a 20-pixel tool button with the
// arrow glyph and its hint.
QToolButton* MakeScrollButton(QWidget* parent, const char* hint, int left, int top, Arrow arrow) {
    QToolButton* button =
        MakeSpeedButton(parent, QRect(left, top, 20, 20), QString::fromLatin1(hint));
    button->setIcon(ArrowGlyph(arrow));
    button->setIconSize(QSize(12, 12));
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

void TMain_ScreenForm::BuildLayout() {
    setWindowTitle(QStringLiteral("Velmora - Orbalune  (Pre-Alpha)"));
    setFont(LayoutFont(QStringLiteral("Times New Roman"), 14));

    BuildMenus();
    const int menuHeight = MainMenu->sizeHint().height();
    MainMenu->setGeometry(0, 0, kClientWidth, menuHeight);
    ClientArea = new QWidget(this);
    ClientArea->setGeometry(0, menuHeight, kClientWidth, kClientHeight);
    resize(kClientWidth, menuHeight + kClientHeight);

    Bevel1 = MakeFrame(ClientArea, QRect(0, 0, 800, 2), QFrame::HLine | QFrame::Sunken);
    SpeedButtonBarPanel = MakePanel(ClientArea, QRect(0, 2, 801, 31));

    BuildMainMapPanel();
    BuildGlobeMapPanel();
    BuildCityInfoPanel();
    BuildMessagePanel();
    BuildLandscapeInfoPanel();
    BuildOrdersPanel();
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
    MainMapPanel = MakePanel(ClientArea, QRect(0, 39, 577, 338));
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

    MainMapSpeedButtonPanel = MakePanel(MainMapPanel, QRect(1, 288, 575, 49));
    QWidget* strip = MainMapSpeedButtonPanel;
    MainMapPosDisplay = MakeLabel(strip, QStringLiteral("MainMapPosDisplay"), 7, 4);
    MapTimerDisplay = MakeLabel(strip, QStringLiteral("MapTimerDisplay"), 7, 18);
    GlobeTimerDisplay = MakeLabel(strip, QStringLiteral("GlobeTimerDisplay"), 8, 32);

    SpeedButton5 =
        MakeSpeedButton(strip, QRect(368, 16, 29, 29), QStringLiteral("Hide Resources"), true);
    SpeedButton4 =
        MakeSpeedButton(strip, QRect(400, 16, 29, 29), QStringLiteral("Hide Cities"), true);
    WireFrameToggleButton =
        MakeSpeedButton(strip, QRect(432, 16, 29, 29), QStringLiteral("Toggle Wireframe"), true);
    MapZoomButton = MakeSpeedButton(strip, QRect(464, 16, 29, 29), QStringLiteral("Zoom"));
    Bevel6 = MakeBevel(strip, QRect(575 - 70 - 1, 1, 70, 47));

    MainMapScrollUpButton = MakeScrollButton(strip, "Scroll Up", 529, 4, Arrow::Up);
    MainMapScrollDownButton = MakeScrollButton(strip, "Scroll Down", 529, 25, Arrow::Down);
    MainMapScrollLeftButton = MakeScrollButton(strip, "Scroll Left", 508, 14, Arrow::Left);
    MainMapScrollRightButton = MakeScrollButton(strip, "Scroll Right", 550, 14, Arrow::Right);

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
    GlobeMapPanel = MakePanel(ClientArea, QRect(584, 39, 209, 194));
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

    GlobeMapButtonPanel = MakePanel(GlobeMapPanel, QRect(1, 152, 207, 41));
    QWidget* strip = GlobeMapButtonPanel;
    Button1 = MakeButton(strip, QStringLiteral("Orient"), QRect(15, 8, 40, 25));
    Button1->setToolTip(QStringLiteral("Reorient Globe"));
    GlobeZoomButton = MakeSpeedButton(strip, QRect(62, 8, 25, 25), QStringLiteral("Zoom"));
    SpeedButton6 =
        MakeSpeedButton(strip, QRect(96, 8, 25, 25), QStringLiteral("Show Flat World"), true);
    GlobeButtonUp = MakeScrollButton(strip, "Scroll Up", 160, 2, Arrow::Up);
    GlobeButtonDown = MakeScrollButton(strip, "Scroll Down", 160, 22, Arrow::Down);
    GlobeButtonLeft = MakeScrollButton(strip, "Scroll Left", 140, 12, Arrow::Left);
    GlobeButtonRight = MakeScrollButton(strip, "Scroll Right", 180, 12, Arrow::Right);

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
    CityInfoPanel = MakePanel(ClientArea, QRect(584, 236, 208, 144));
    QWidget* p = CityInfoPanel;
    auto* picture = new QLabel(p);
    picture->setGeometry(8, 8, 52, 52);
    MakeBevel(p, QRect(8, 8, 52, 52));
    UnitInfoBoxNameLabel = MakeLabel(p, QStringLiteral("UnitInfoBoxNameLabel"), 68, 8, kTitle);
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
    for (TPaintBox* box : {UnitInfoBoxHealth, UnitInfoBoxExperience})
        MakeFrame(p, box->geometry(), QFrame::Box | QFrame::Plain);
    MakeLabel(p, QStringLiteral("Composition"), 8, 66, kHeading);
    MakeLabel(p, QStringLiteral("13 Panzer Tanks"), 8, 82);
    MakeLabel(p, QStringLiteral("12 Militia Men"), 8, 98);
    MakeLabel(p, QStringLiteral("5 Arch Mages"), 8, 114);
    MakeLabel(p, QStringLiteral("Orders"), 112, 66, kHeading);
    MakeLabel(p, QStringLiteral("Upgrade at"), 112, 82);
    MakeLabel(p, QStringLiteral("nearest base"), 112, 96);
    MakeLabel(p, QStringLiteral("Combat Orders"), 112, 110, kHeading);
    MakeLabel(p, QStringLiteral("Frontal Assault"), 112, 124);
}

void TMain_ScreenForm::BuildMessagePanel() {
    MessagePanel = MakePanel(ClientArea, QRect(-8, 384, 353, 169));
    QWidget* p = MessagePanel;
    TurnNumberLabel = MakeLabel(p, QStringLiteral("TurnNumberLabel"), 15, 4);
    MessageNumberLabel =
        MakeLabel(p, QStringLiteral("Message 1000 of 1000"), 232, 4, LabelStyle().Bold());

    MessagePanelMessageBox = new QPlainTextEdit(p);
    MessagePanelMessageBox->setGeometry(16, 24, 273, 137);
    MessagePanelMessageBox->setReadOnly(true);
    MessagePanelMessageBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MessagePanelMessageBox->setFocusPolicy(Qt::NoFocus);
    QFont bold = MessagePanelMessageBox->font();
    bold.setBold(true);
    MessagePanelMessageBox->setFont(bold);
    MessagePanelMessageBox->setPlainText(QStringLiteral("MessagePanelMessageBox"));

    MessagePanelPreviousButton = MakeButton(p, QStringLiteral("Prev"), QRect(300, 25, 40, 25));
    MessagePanelGotoButton = MakeButton(p, QStringLiteral("Goto"), QRect(300, 55, 40, 25));
    MessagePanelNextButton = MakeButton(p, QStringLiteral("Next"), QRect(300, 86, 40, 25));
    MessageBoxMailButton = MakeButton(p, QStringLiteral("Mail"), QRect(300, 118, 40, 25));

    connect(MessagePanelPreviousButton, &QPushButton::clicked, this,
            &TMain_ScreenForm::MessagePanelPreviousButtonClick);
    connect(MessagePanelNextButton, &QPushButton::clicked, this,
            &TMain_ScreenForm::MessagePanelNextButtonClick);
}

void TMain_ScreenForm::BuildLandscapeInfoPanel() {
    LandscapeInfoPanel = MakePanel(ClientArea, QRect(352, 384, 225, 169));
    QWidget* p = LandscapeInfoPanel;
    MakeBevel(p, QRect(8, 8, 52, 52));
    MakeLabel(p, QStringLiteral("Desert"), 68, 8, kTitle);
    MakeLabel(p, QStringLiteral("Habitability: Low"), 68, 26);
    MakeLabel(p, QStringLiteral("Growth Rate: -2"), 68, 42);
    MakeLabel(p, QStringLiteral("Resources"), 8, 68, kHeading);
    MakeLabel(p, QStringLiteral("Oil"), 8, 86);
    MakeLabel(p, QStringLiteral("Granite"), 8, 102);
    MakeLabel(p, QStringLiteral("Claimants (disputed)"), 100, 68, kHeading);
    MakeLabel(p, QStringLiteral("The Huns"), 100, 86);
    MakeLabel(p, QStringLiteral("The Jacakals"), 100, 102);
}

void TMain_ScreenForm::BuildOrdersPanel() {
    OrdersPanel = MakePanel(ClientArea, QRect(584, 384, 209, 169));
    QWidget* p = OrdersPanel;
    QLabel* orders =
        MakeLabel(p, QStringLiteral("Current Orders: The Death Stalkers"), 6, 6, kTitle);
    FitLabelToRight(orders, p->contentsRect().right(), kSmallestPixels);
    MakeLabel(p, QStringLiteral("Destination"), 6, 26, kHeading);
    MakeLabel(p, QStringLiteral("Task"), 120, 26, kHeading);
    auto makeList = [p](const QStringList& items, int left) {
        // The second list ends inside the panel.
        QListWidget* list =
            MakeList(p, QRect(left, 44, std::min(100, p->contentsRect().right() - left), 60));
        list->setFrameShape(QFrame::NoFrame);
        list->addItems(items);
        return list;
    };
    makeList({QStringLiteral("The Killer Bees"), QStringLiteral("Despot City"),
              QStringLiteral("Despot City")},
             6);
    makeList({QStringLiteral("Attack"), QStringLiteral("Upgrade"), QStringLiteral("Repair")}, 120);
    MakeLabel(p, QStringLiteral("Combat Orders: Frontal Assault"), 6, 112);
}
