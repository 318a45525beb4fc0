// Every text of every screen must be readable in its control with the fonts the program
// ships: no caption wider or taller than the room its control gives it, none cut off by the
// panel it sits in, hidden under another control, or run through by a group box's frame.
#include <gtest/gtest.h>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/city_design_form.h"
#include "app/credits_form.h"
#include "app/game_options_form.h"
#include "app/help_form.h"
#include "app/known_bugs_form.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "app/version_history_form.h"
#include "creation/new_game_form.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/radio_group.h"
#include "race/password_form.h"
#include "race/race_design_form.h"
#include "race/race_file.h"
#include "research/research_form.h"
#include "research/tech_catalogue.h"
#include "support/file_contents.h"
#include "support/quiet_views.h"
#include "support/temp_dir.h"
#include "units/unit_catalogue.h"
#include "units/unit_design_rules.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

// How a control is called in a fault report: its object name or, for a control without
// one, its kind and place, then the same for each parent up to a named one.
QString ControlName(const QWidget* widget) {
    QStringList chain;
    for (const QWidget* up = widget; up != nullptr; up = up->parentWidget()) {
        if (!up->objectName().isEmpty() || up->isWindow()) {
            chain << (up->objectName().isEmpty()
                          ? QString::fromLatin1(up->metaObject()->className())
                          : up->objectName());
            break;
        }
        chain << QStringLiteral("%1 at (%2, %3)")
                     .arg(QString::fromLatin1(up->metaObject()->className()))
                     .arg(up->x())
                     .arg(up->y());
    }
    return chain.join(QStringLiteral(" in "));
}

// A text as a fault report quotes it: on one line, long ones cut short.
QString Quoted(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    if (text.size() > 60)
        text = text.left(57) + QStringLiteral("...");
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool IsPlainContainer(const QWidget* widget) {
    const QMetaObject* meta = widget->metaObject();
    if (meta == &QWidget::staticMetaObject)
        return !widget->autoFillBackground();
    if (meta == &QFrame::staticMetaObject) {
        const auto* frame = static_cast<const QFrame*>(widget);
        return frame->frameShape() == QFrame::NoFrame && !widget->autoFillBackground();
    }
    return false;
}

// The room a control gives its text, the text's cell (advance wide, line spacing high)
// and the part of the cell its glyphs cover: the cell's width and the glyphs' height.
struct TextPlace {
    QRect room;
    QRect cell;
    QRect ink;
};

// The cell of `text` placed in `room`, and its glyph rows: from the highest glyph top of the
// first line to the lowest glyph bottom of the last.
TextPlace PlaceText(const QFontMetrics& metrics, const QRect& room, int flags,
                    const QString& text) {
    const QRect cell = metrics.boundingRect(room, flags, text);
    QString glyphs = text;
    glyphs.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('&'));
    const QRect tight = metrics.tightBoundingRect(glyphs);
    QRect ink = cell;
    if (!tight.isEmpty()) {
        // The glyph box is rounded outwards; its outermost rows hold at most the smoothed
        // edge of a stroke, so one row at each end is not counted.
        ink.setTop(cell.top() + metrics.ascent() + tight.top() + 1);
        ink.setBottom(cell.bottom() - metrics.descent() + tight.bottom());
    }
    return {room, cell, ink};
}

TextPlace LabelTextPlace(const QLabel* label) {
    const QFontMetrics metrics(label->font());
    QRect room = label->contentsRect();
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    // A framed label keeps half an "x" between its frame and a text set against a side.
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = metrics.horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment align = label->alignment();
        if (align & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (align & Qt::AlignRight)
            room.setRight(room.right() - indent);
        if (align & Qt::AlignTop)
            room.setTop(room.top() + indent);
        if (align & Qt::AlignBottom)
            room.setBottom(room.bottom() - indent);
    }
    int flags = static_cast<int>(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    return PlaceText(metrics, room, flags, label->text());
}

QStyleOptionButton ButtonOption(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    return option;
}

TextPlace ButtonTextPlace(const QAbstractButton* button) {
    const QFontMetrics metrics(button->font());
    const QStyleOptionButton option = ButtonOption(button);
    QStyle* style = button->style();
    QRect room;
    Qt::Alignment align = Qt::AlignCenter;
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        room = style->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
        align = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        room = style->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
        align = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (qobject_cast<const QPushButton*>(button) != nullptr) {
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        room = button->rect().adjusted(frame, frame, -frame, -frame);
    }
    if (!button->icon().isNull() && !button->text().isEmpty())
        room.setLeft(room.left() + button->iconSize().width() + 4);
    return PlaceText(metrics, room, static_cast<int>(align) | Qt::TextShowMnemonic, button->text());
}

QRect IndicatorRect(const QAbstractButton* button) {
    const QStyleOptionButton option = ButtonOption(button);
    if (qobject_cast<const QRadioButton*>(button) != nullptr)
        return button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
    if (qobject_cast<const QCheckBox*>(button) != nullptr)
        return button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button);
    return {};
}

QStyleOptionGroupBox GroupOption(const QGroupBox* group) {
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = group->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (!group->title().isEmpty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    if (group->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return option;
}

QRect GroupTitleRect(const QGroupBox* group) {
    if (const auto* classic = qobject_cast<const TGroupBox*>(group))
        return classic->CaptionRect();
    if (group->title().isEmpty())
        return {};
    const QStyleOptionGroupBox option = GroupOption(group);
    return group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                          group);
}

// Inside the group's frame line and below its title, where its controls must stay. The
// style's own contents rectangle keeps 3 pixels clear inside its line; a control may come
// within a pixel of it.
QRect GroupInterior(const QGroupBox* group) {
    if (const auto* classic = qobject_cast<const TGroupBox*>(group))
        return classic->ContentArea();
    const QStyleOptionGroupBox option = GroupOption(group);
    const QRect contents = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                          QStyle::SC_GroupBoxContents, group);
    return contents.adjusted(-2, -2, 2, 2);
}

// What a control draws, in its own co-ordinates: its text (and indicator) for labels and
// radio buttons, the union of its children for plain containers, else all of it.
QRect InkRect(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        QRect ink;
        if (label->frameShape() != QFrame::NoFrame || label->autoFillBackground() ||
            !label->pixmap().isNull())
            ink = label->rect();
        if (!label->text().isEmpty())
            ink |= LabelTextPlace(label).ink;
        return ink;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        if (qobject_cast<const QRadioButton*>(button) != nullptr ||
            qobject_cast<const QCheckBox*>(button) != nullptr) {
            QRect ink = IndicatorRect(button);
            if (!button->text().isEmpty())
                ink |= ButtonTextPlace(button).ink;
            return ink;
        }
        return widget->rect();
    }
    if (IsPlainContainer(widget)) {
        QRect ink;
        for (const QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(widget))
                ink |= InkRect(child).translated(child->pos());
        }
        return ink;
    }
    return widget->rect();
}

// The least gap, in pixels, between the texts of two controls on the same line.
constexpr int kTextGap = 3;
// The least gap between a text and any other control beside it.
constexpr int kControlGap = 1;

bool ShowsText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return !button->text().isEmpty() && (qobject_cast<const QRadioButton*>(button) != nullptr ||
                                             qobject_cast<const QCheckBox*>(button) != nullptr);
    }
    return false;
}

// The area of a parent its children may draw in.
QRect RoomInParent(const QWidget* parent) {
    if (const auto* group = qobject_cast<const QGroupBox*>(parent))
        return GroupInterior(group);
    if (const auto* frame = qobject_cast<const QFrame*>(parent))
        return frame->contentsRect();
    return parent->rect();
}

bool IsScrolledContent(const QWidget* parent) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
    return area != nullptr && area->viewport() == parent;
}

int StackIndex(const QWidget* widget) {
    return static_cast<int>(widget->parentWidget()->children().indexOf(widget));
}

class TextFitCheck {
public:
    TextFitCheck(QWidget* window, const char* screen)
        : window_(window), screen_(QString::fromLatin1(screen)) {}

    // Checks the window as it shows now, and each page of each page control in it.
    void Run() {
        CheckVisible();
        for (QTabWidget* pages : window_->findChildren<QTabWidget*>()) {
            const int shown = pages->currentIndex();
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                CheckVisible();
            }
            pages->setCurrentIndex(shown);
        }
    }

    const std::set<std::string>& Faults() const { return faults_; }

private:
    void CheckVisible() {
        QApplication::processEvents();
        for (QWidget* widget : window_->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window_) || widget->isWindow())
                continue;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                if (!label->text().isEmpty())
                    CheckLabel(label);
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                if (!button->text().isEmpty())
                    CheckButton(button);
            } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                if (!group->title().isEmpty())
                    CheckGroupTitle(group);
            }
        }
    }

    void Fault(const QWidget* control, const QString& text, const QString& what) {
        faults_.insert((screen_ + QStringLiteral(": ") + ControlName(control) + QLatin1Char(' ') +
                        Quoted(text) + QLatin1Char(' ') + what)
                           .toStdString());
    }

    // The cell must be no wider than the room, and the glyphs must lie within its height.
    void CheckRoom(const QWidget* control, const QString& text, const TextPlace& place) {
        if (place.cell.width() > place.room.width()) {
            Fault(control, text,
                  QStringLiteral("is %1 pixels wide in a room of %2")
                      .arg(place.cell.width())
                      .arg(place.room.width()));
        }
        if (place.ink.top() < place.room.top() || place.ink.bottom() > place.room.bottom()) {
            Fault(control, text,
                  QStringLiteral("has glyphs on rows %1 to %2 in a room of rows %3 to %4")
                      .arg(place.ink.top())
                      .arg(place.ink.bottom())
                      .arg(place.room.top())
                      .arg(place.room.bottom()));
        }
    }

    void CheckLabel(const QLabel* label) {
        const TextPlace place = LabelTextPlace(label);
        CheckRoom(label, label->text(), place);
        CheckSurroundings(label, label->text(), place.ink);
    }

    void CheckButton(const QAbstractButton* button) {
        CheckRoom(button, button->text(), ButtonTextPlace(button));
        CheckSurroundings(button, button->text(), InkRect(button));
    }

    void CheckGroupTitle(const QGroupBox* group) {
        const QRect title = GroupTitleRect(group);
        const TextPlace place =
            PlaceText(QFontMetrics(group->font()), title,
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, group->title());
        CheckRoom(group, group->title(), place);
        if (!group->rect().contains(title))
            Fault(group, group->title(), QStringLiteral("title runs out of its group"));
        CheckSurroundings(group, group->title(), place.ink);
    }

    // The glyphs must lie inside every parent's room, clear of the frame and title of a group
    // box, and must not overlap any other control at any level, unless that control lies
    // behind them and holds them whole (a bevel around labels). One fault per control.
    void CheckSurroundings(const QWidget* control, const QString& text, QRect ink) {
        const QWidget* widget = control;
        while (widget != window_) {
            const QWidget* parent = widget->parentWidget();
            if (parent == nullptr || IsScrolledContent(parent))
                return;
            ink.translate(widget->pos());
            if (!RoomInParent(parent).contains(ink)) {
                Fault(control, text, QStringLiteral("runs out of ") + ControlName(parent));
                return;
            }
            if (const auto* group = qobject_cast<const QGroupBox*>(parent)) {
                if (GroupTitleRect(group).intersects(ink)) {
                    Fault(control, text,
                          QStringLiteral("meets the title of ") + ControlName(group));
                    return;
                }
            }
            for (const QWidget* sibling :
                 parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (sibling == widget || !sibling->isVisibleTo(window_) || sibling->isWindow())
                    continue;
                const QRect other = InkRect(sibling).translated(sibling->pos());
                // Texts side by side need a gap, or they read as one word; a text must not
                // touch any other control either.
                const int gap = ShowsText(sibling) ? kTextGap : kControlGap;
                const QRect near = ink.adjusted(-gap, 0, gap, 0);
                if (!other.intersects(near))
                    continue;
                const bool behind = StackIndex(sibling) < StackIndex(widget);
                if (behind && sibling->geometry().contains(ink))
                    continue;
                Fault(control, text,
                      (other.intersects(ink) ? QStringLiteral("overlaps ")
                                             : QStringLiteral("has no gap to ")) +
                          ControlName(sibling));
                return;
            }
            widget = parent;
        }
    }

    QWidget* window_;
    QString screen_;
    std::set<std::string> faults_;
};

// Stands in for the 3D views of a loaded game: everything succeeds and draws nothing.
// The longest texts the screens show where they depend on the game: names as long as a race
// file holds (199 characters), built of words as a player would type them.
std::string LongName(const std::string& words, size_t length) {
    std::string name;
    while (name.size() < length)
        name += (name.empty() ? "" : " ") + words;
    return name.substr(0, length);
}

const std::string kLongPlural = LongName("Thundering Hordes of the Northern Wastes", kRaceTextMax);
const std::string kLongRaceFile = "thundering_hordes_of_the_northern_wastes.rce";

using Faults = std::vector<std::string>;

// The client area of a maximized window on the smallest desktop the game is laid out for,
// 800 x 600, under a 19-pixel title bar.
const QSize kMaximized(800, 581);

// Maps the layout fonts as the program does at start, before any screen is built.
struct ProgramFonts {
    ProgramFonts() { InstallFontSubstitutions(); }
};

class ScreenTexts : public ::testing::Test {
protected:
    ScreenTexts() {
        SetGameViewsFactory([] { return std::make_unique<QuietViews>(); });
    }
    ~ScreenTexts() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    // Shows the window at its designed client size (maximized ones at the size they get on
    // the smallest desktop), runs `fill` before each check and checks the window after
    // each of its steps; a step returns false when there are no more.
    Faults Check(QWidget* window, const char* screen, QSize clientSize = {},
                 const std::function<bool(int)>& step = nullptr) {
        window->show();
        if (clientSize.isValid()) {
            window->setWindowState(Qt::WindowNoState);
            window->resize(clientSize);
        }
        TextFitCheck check(window, screen);
        if (step) {
            for (int i = 0; step(i); ++i)
                check.Run();
        } else {
            check.Run();
        }
        window->hide();
        return {check.Faults().begin(), check.Faults().end()};
    }

    std::string WriteRace(const std::string& name, const std::string& plural) {
        RaceRecord race;
        race.NameSingular = "Horde";
        race.NamePlural = plural;
        race.LeaderName = LongName("Gorath", 60);
        race.LeaderTitle = "Warlord";
        race.Sex = 0;
        race.RaceClass = 4;
        race.DesignSlots = {5, 5, 8, 6, 5, 5, 3, 5};
        const std::string path = dir.File(name);
        EXPECT_FALSE(WriteRaceFile(path, race).has_value());
        return path;
    }

    ProgramFonts fonts;
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
};

TEST_F(ScreenTexts, TheLayoutFontsAreTheShippedOnes) {
    EXPECT_EQ(QFontInfo(LayoutFont(QStringLiteral("MS Sans Serif"), 11)).family(),
              "Liberation Sans");
    EXPECT_EQ(QFontInfo(LayoutFont(QStringLiteral("Small Fonts"), 9)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(LayoutFont(QStringLiteral("Arial"), 12)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(LayoutFont(QStringLiteral("Times New Roman"), 14)).family(),
              "Liberation Serif");
}

TEST_F(ScreenTexts, TitleScreen) {
    // The program's version and the longest language name the version information can
    // give, set as the title screen sets them.
    MainForm->Label4->setText(QStringLiteral("0.3.6.340"));
    MainForm->Label4->adjustSize();
    MainForm->Label6->setText(QStringLiteral("Chinese (People's Republic of China)"));
    MainForm->Label6->adjustSize();
    EXPECT_EQ(Check(MainForm, "title screen"), Faults{});
}

TEST_F(ScreenTexts, AuxiliaryScreens) {
    EXPECT_EQ(Check(CreditsForm, "credits"), Faults{});
    EXPECT_EQ(Check(KnownBugsForm, "known bugs"), Faults{});
    EXPECT_EQ(Check(VersionHistoryForm, "version history"), Faults{});
    EXPECT_EQ(Check(GameOptionsForm, "game options"), Faults{});
    EXPECT_EQ(Check(CityDesignForm, "city design", kMaximized), Faults{});
    EXPECT_EQ(Check(HostForm, "host functions"), Faults{});
    EXPECT_EQ(Check(Form1, "loading notice"), Faults{});
    EXPECT_EQ(Check(PasswordForm, "password prompt"), Faults{});
    THelpForm help;
    EXPECT_EQ(Check(&help, "help"), Faults{});
}

TEST_F(ScreenTexts, NewGameWizard) {
    // Every player in play with a race of the longest plural name from a file with a long
    // name; a game name that fills the 80 characters of its summary line and a game file
    // in a deep folder.
    NewGameForm->GameNameEditBox->setText(QString::fromStdString(LongName("The War", 68)));
    NewGameForm->GameFile->setText(QStringLiteral("/home/player/games/velmora/the-great-war/war"));
    const std::string race = WriteRace(kLongRaceFile, kLongPlural);
    for (int n = 1; n <= kPlayerCount; ++n) {
        NewGameForm->PlayerStatus[static_cast<size_t>(n - 1)]->SetItemIndex(n % 2 == 1 ? 1 : 2);
        shell.openAnswers.push_back(race);
        NewGameForm->PlayerRaceButtonClick(n);
    }
    ASSERT_TRUE(NewGameForm->RaceName[0]->text().contains(QString::fromStdString(kLongPlural)));
    ASSERT_TRUE(shell.messages.empty());

    // The creation label in each of its states, set as the creation sets it.
    const QStringList states = {
        QStringLiteral("Game Creation - Pending"), QStringLiteral("Game Creation - Working"),
        QStringLiteral("Game Creation - Complete"), QStringLiteral("Game Creation - Aborted")};
    EXPECT_EQ(Check(NewGameForm, "new game", kMaximized,
                    [&states](int i) {
                        if (i >= states.size())
                            return false;
                        NewGameForm->GameCreationLabel->setText(states[i]);
                        NewGameForm->GameCreationLabel->adjustSize();
                        return true;
                    }),
              Faults{});
}

TEST_F(ScreenTexts, MainScreen) {
    // A game with the most messages a player file holds, shown up to the last, and the
    // longest timing texts the views can write.
    std::vector<PendingMessage> messages;
    for (int i = 0; i < kMaxStoredMessages; ++i)
        messages.push_back(PendingMessage{1, 3, LongName("Gorath", 99), LongName("Horde", 99),
                                          LongName("the Unyielding", 99)});
    auto world = std::make_unique<WorldMap>();
    const std::string path = dir.File("war.p01");
    WriteBytes(path, EncodePlayerFile(TitleState{}, *world, messages));
    MainForm->show();
    shell.openAnswers.push_back(path);
    MainForm->LoadGameButtonClick();
    ASSERT_TRUE(Game().Loaded());
    Main_ScreenForm->FormActivate();
    for (int i = 1; i < kMaxStoredMessages; ++i)
        Main_ScreenForm->MessagePanelNextButtonClick();
    ASSERT_EQ(Main_ScreenForm->MessageNumberLabel->text(), "Message 50 of 50");
    Main_ScreenForm->ShowCreationTime("Map Creation Time: 2147483647 milliseconds");
    Main_ScreenForm->ShowMapTime("Map Time: 4294967295 milliseconds");
    Main_ScreenForm->ShowGlobeTime("Globe Time: 4294967295 milliseconds");
    EXPECT_EQ(Check(Main_ScreenForm, "main screen"), Faults{});
}

TEST_F(ScreenTexts, RaceDesignWizard) {
    // Names as long as a race file holds, and the fewest race points the arrows can reach.
    RaceDesign->RaceNameSingular->setText(QString::fromStdString(LongName("Horde", kRaceTextMax)));
    RaceDesign->RaceNamePlural->setText(QString::fromStdString(kLongPlural));
    RaceDesign->RaceLeaderName->setText(QString::fromStdString(LongName("Gorath", kRaceTextMax)));
    RaceDesign->RaceLeaderTitle->setText(QString::fromStdString(LongName("Warlord", kRaceTextMax)));
    for (TArrowPair* arrows : {RaceDesign->InfSlider, RaceDesign->CavSlider, RaceDesign->VehSlider,
                               RaceDesign->ArtSlider, RaceDesign->ShiSlider, RaceDesign->AirSlider,
                               RaceDesign->MecSlider, RaceDesign->SatSlider}) {
        for (int press = 0; press < 20; ++press)
            arrows->UpButton->click();
    }
    EXPECT_EQ(Check(RaceDesign, "race design"), Faults{});
    // The header could not hold the name even at its smallest size: it ends in "..." and
    // its tooltip reads whole.
    EXPECT_TRUE(RaceDesign->Label8->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(RaceDesign->Label8->toolTip(), QString::fromStdString("The " + kLongPlural));
}

TEST_F(ScreenTexts, ResearchScreen) {
    // The details of every technology, then every tree.
    const int techs = ResearchForm->State.Catalogue.Count();
    EXPECT_EQ(Check(ResearchForm, "research", kMaximized,
                    [techs](int i) {
                        if (i < techs) {
                            ResearchForm->ShowTechDetails(i);
                            return true;
                        }
                        if (i - techs >= kTechTreeCount)
                            return false;
                        ResearchForm->TechTreeItems->button(i - techs)->setChecked(true);
                        return true;
                    }),
              Faults{});
}

TEST_F(ScreenTexts, UnitDesignScreen) {
    UnitForm->show();
    UnitForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(UnitForm));
    // Each hull and each component described in the description panel, then a unit name
    // as long as the name box takes.
    const int hulls = UnitForm->HullUnitSelect->count();
    EXPECT_EQ(
        Check(UnitForm, "unit design", kMaximized,
              [hulls](int i) {
                  if (i < hulls) {
                      UnitForm->HullUnitSelect->setCurrentRow(i);
                      UnitForm->HullUnitSelectClick();
                      return true;
                  }
                  const int component = i - hulls;
                  if (component < kUnitComCount) {
                      const QPoint tile(
                          kPaletteTileLeft + kItemTileSize / 2,
                          kPaletteTop + kPaletteRowStep * component + kItemTileSize / 2);
                      QTest::mousePress(UnitForm->ComponentPaintBox, Qt::LeftButton, {}, tile);
                      QTest::mouseRelease(UnitForm->ComponentPaintBox, Qt::LeftButton, {}, tile);
                      return true;
                  }
                  if (component == kUnitComCount) {
                      UnitForm->UnitNameBox->selectAll();
                      QTest::keyClicks(UnitForm->UnitNameBox,
                                       QStringLiteral("Imperial Heavy Lancer Regiment"));
                      return true;
                  }
                  return false;
              }),
        Faults{});
    EXPECT_EQ(UnitForm->TemplateHullName->text().size(), kUnitNameBoxMaxLength);
}

// A filled slot's tile shows the component's name and "n of c" in black: with white tile
// images only the texts are dark, and no text may reach the tile's outermost pixels.
TEST_F(ScreenTexts, FilledSlotTextsStayInsideTheirTiles) {
    UnitForm->show();
    UnitForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(UnitForm));
    QImage white(kItemTileSize, kItemTileSize, QImage::Format_RGB32);
    white.fill(Qt::white);
    UnitDesignState& state = UnitForm->State;
    Faults faults;
    for (int hull = 0; hull < kHullTypeCount; ++hull) {
        const HullType& type = state.Catalogue.Hull(hull);
        for (int component = 0; component < kUnitComCount; ++component) {
            state.CurrentHull = hull;
            for (int slot = 0; slot < type.SlotCount; ++slot) {
                state.SlotComponent[static_cast<size_t>(slot)] = component;
                state.SlotCount[static_cast<size_t>(slot)] =
                    type.Slots[static_cast<size_t>(slot)].Capacity;
            }
            UnitForm->ComponentImageList.assign(kUnitComCount, white);
            const QImage shot = UnitForm->grab().toImage();
            for (int slot = 0; slot < type.SlotCount; ++slot) {
                const HullSlot& place = type.Slots[static_cast<size_t>(slot)];
                const QRect tile(kHullOriginX + place.X, kHullOriginY + place.Y, kItemTileSize,
                                 kItemTileSize);
                bool touches = false;
                for (int x = tile.left(); x <= tile.right(); ++x)
                    for (int y : {tile.top(), tile.bottom()})
                        touches = touches || qGray(shot.pixel(x, y)) < 128;
                for (int y = tile.top(); y <= tile.bottom(); ++y)
                    for (int x : {tile.left(), tile.right()})
                        touches = touches || qGray(shot.pixel(x, y)) < 128;
                if (touches) {
                    faults.push_back(std::string(type.Name) + " slot " + std::to_string(slot) +
                                     ": " + std::string(state.Catalogue.Component(component).Name) +
                                     " runs to the tile's edge");
                }
            }
        }
    }
    EXPECT_EQ(faults, Faults{});
}

// Radio items share a group's width evenly when each fits its share; a column whose item
// would be cut gets the room it needs.
TEST(RadioGroupColumns, ShareTheWidthAndWidenAColumnThatNeedsIt) {
    EXPECT_EQ(ColumnWidths({40, 50, 60}, 201), (std::vector<int>{67, 67, 67}));
    EXPECT_EQ(ColumnWidths({48, 54, 69}, 201), (std::vector<int>{58, 64, 79}));
    // Too little room even for the needs: shared in proportion to them.
    EXPECT_EQ(ColumnWidths({50, 50, 100}, 100), (std::vector<int>{25, 25, 50}));
    EXPECT_EQ(ColumnWidths({}, 100), std::vector<int>{});
}

TEST_F(ScreenTexts, RadioGroupItemsLieInsideTheFrameBelowTheCaption) {
    TRadioGroup group(QStringLiteral("Player 1"),
                      {QStringLiteral("None"), QStringLiteral("Human"), QStringLiteral("Computer")},
                      3);
    group.setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));
    group.setGeometry(0, 0, 209, 33);
    group.show();
    const QRect area = group.ContentArea();
    EXPECT_GE(area.top(), group.CaptionRect().bottom());
    EXPECT_LE(area.bottom(), 33 - 2);
    for (int i = 0; i < group.Count(); ++i) {
        QRadioButton* item = group.Item(i);
        EXPECT_TRUE(area.contains(item->geometry())) << i;
        EXPECT_LE(item->sizeHint().width(), item->width()) << i;
        if (i > 0) {
            EXPECT_EQ(group.Item(i - 1)->geometry().right() + 1, item->x());
        }
    }
}

TEST(FittingFont, ShrinksOnlyUntilTheWidestLineFits) {
    const QFont design = LayoutFont(QStringLiteral("Times New Roman"), 14, true);
    const QString text = QStringLiteral("Current Orders\nThe Death Stalkers");
    auto widest = [](const QFont& font) {
        return QFontMetrics(font).size(0, QStringLiteral("The Death Stalkers")).width();
    };
    const int width = widest(design);
    // Room enough: the design size stays.
    EXPECT_EQ(FontFittingWidth(design, text, width, 8).pixelSize(), 14);
    // A little less: the largest smaller size that fits, in the same face and weight.
    const QFont fitted = FontFittingWidth(design, text, width - 10, 8);
    EXPECT_LT(fitted.pixelSize(), 14);
    EXPECT_LE(widest(fitted), width - 10);
    QFont larger = fitted;
    larger.setPixelSize(fitted.pixelSize() + 1);
    EXPECT_GT(widest(larger), width - 10);
    EXPECT_TRUE(fitted.bold());
    // Never below the smallest size, fitting or not.
    EXPECT_EQ(FontFittingWidth(design, text, 5, 8).pixelSize(), 8);
}

}  // namespace
