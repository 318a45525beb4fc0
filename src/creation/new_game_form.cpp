#include "creation/new_game_form.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "creation/race_choice_form.h"
#include "creation/world_generation.h"
#include "game/title_screen_link.h"
#include "platform/os/clock.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "platform/qt/widget_factory.h"
#include "race/race_file.h"

namespace {

const QString kFontFamily = QStringLiteral("MS Sans Serif");
constexpr int kFontPixels = 11;
// The player rows follow each other 40 pixels apart. A race name runs from its row's
// left edge at 304 to near the right edge of the page, which is at least 800 pixels wide
// on the smallest desktop the wizard is laid out for.
constexpr int kPlayerRowPitch = 40;
constexpr int kRaceNameWidth = 480;

const QStringList kPlayerStatusItems = {QStringLiteral("None"), QStringLiteral("Human"),
                                        QStringLiteral("Computer")};
const QStringList kWorldSizeItems = {QStringLiteral("Asteroid"), QStringLiteral("Tiny"),
                                     QStringLiteral("Small"),    QStringLiteral("Medium"),
                                     QStringLiteral("Large"),    QStringLiteral("Huge")};
constexpr int kLargeWorld = 4;

const QString kCreationPending = QStringLiteral("Game Creation - Pending");
const QString kCreationWorking = QStringLiteral("Game Creation - Working");
const QString kCreationComplete = QStringLiteral("Game Creation - Complete");
const QString kCreationAborted = QStringLiteral("Game Creation - Aborted");

// The file's name after its last "\" or "/".
std::string_view FileNamePart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool HoldsADigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every caption of the wizard shows its text as it is; the summary's are bold.
const LabelStyle kPlain = LabelStyle().PlainText();
const LabelStyle kPlainBold = LabelStyle().PlainText().Bold();

void SetCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    label->adjustSize();
}

}  // namespace

// ---- TNewGameForm ----

TNewGameForm::TNewGameForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("New Game"));
    setFont(LayoutFont(kFontFamily, kFontPixels));
    SetOuterSize(this, 808, 500);
    setWindowState(windowState() | Qt::WindowMaximized);

    // Every slot starts out of play with an empty race (password included) and no numbers.
    for (PlayerSlot& slot : Players) {
        slot.InPlay = 0;
        slot.Race = RaceRecord{};
        slot.Race.Password.clear();
    }

    NewGamePageControl = new QTabWidget(this);
    NewGamePageControl->setObjectName(QStringLiteral("NewGamePageControl"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(NewGamePageControl);

    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet4 = new QWidget;
    TabSheet3 = new QWidget;
    NewGamePageControl->addTab(TabSheet1, QStringLiteral("Player Data"));
    NewGamePageControl->addTab(TabSheet2, QStringLiteral("Winning Conditions"));
    NewGamePageControl->addTab(TabSheet4, QStringLiteral("World Data"));
    NewGamePageControl->addTab(TabSheet3, QStringLiteral("Generate"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));

    BuildPlayerDataPage();
    BuildWorldDataPage();
    BuildGeneratePage();

    NewGamePageControl->setCurrentIndex(PlayerDataPage);
    connect(NewGamePageControl, &QTabWidget::currentChanged, this,
            &TNewGameForm::NewGamePageControlChange);
}

TNewGameForm::~TNewGameForm() = default;

void TNewGameForm::BuildPlayerDataPage() {
    Label1 = MakeLabel(TabSheet1, QStringLiteral("Game Name"), 16, 16, kPlain);
    GameNameEditBox = MakeEdit(TabSheet1, QRect(24, 32, 121, 21), QStringLiteral("Game Name"));
    GameNameEditBox->setObjectName(QStringLiteral("GameNameEditBox"));
    Label2 = MakeLabel(TabSheet1, QStringLiteral("Game File"), 192, 16, kPlain);
    GameFile = MakeEdit(TabSheet1, QRect(208, 32, 121, 21), QStringLiteral("GameFile"));
    GameFile->setObjectName(QStringLiteral("GameFile"));

    for (int n = 1; n <= kPlayerCount; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        const int step = kPlayerRowPitch * (n - 1);
        const QString number = QString::number(n);

        auto* group =
            new TRadioGroup(QStringLiteral("Player ") + number, kPlayerStatusItems, 3, TabSheet1);
        group->setObjectName(QStringLiteral("PlayerStatus") + number);
        group->setGeometry(24, 72 + step, 209, 33);
        group->SetItemIndex(StatusNone);
        PlayerStatus[i] = group;

        auto* button =
            MakeButton(TabSheet1, QStringLiteral("Browse"), QRect(240, 80 + step, 50, 25));
        button->setObjectName(QStringLiteral("PlayerRaceButton") + number);
        button->setEnabled(false);
        PlayerRaceButton[i] = button;

        QLabel* label = MakeLabel(TabSheet1, QStringLiteral("Default"), 304, 90 + step, kPlain);
        label->setObjectName(QStringLiteral("RaceName") + number);
        // A long race name wraps within its row, above the next player's name.
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFixedSize(kRaceNameWidth, kPlayerRowPitch - 2);
        label->hide();
        RaceName[i] = label;

        connect(group, &TRadioGroup::Click, this, [this, n] { PlayerStatusClick(n); });
        connect(button, &QPushButton::clicked, this, [this, n] { PlayerRaceButtonClick(n); });
    }

    // Tab order: the two edits, the ten radio groups, the ten buttons.
    QWidget* previous = GameNameEditBox;
    auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(GameFile);
    for (TRadioGroup* group : PlayerStatus) {
        for (int item = 0; item < group->Count(); ++item)
            chain(group->Item(item));
    }
    for (QPushButton* button : PlayerRaceButton)
        chain(button);
}

void TNewGameForm::BuildWorldDataPage() {
    WorldSizeRadioGroup =
        new TRadioGroup(QStringLiteral("World Size"), kWorldSizeItems, 2, TabSheet4);
    WorldSizeRadioGroup->setObjectName(QStringLiteral("WorldSizeRadioGroup"));
    // The caption is bold, the items are not.
    WorldSizeRadioGroup->setFont(LayoutFont(kFontFamily, kFontPixels, true));
    for (int item = 0; item < WorldSizeRadioGroup->Count(); ++item)
        WorldSizeRadioGroup->Item(item)->setFont(LayoutFont(kFontFamily, kFontPixels));
    WorldSizeRadioGroup->setGeometry(8, 16, 185, 105);
    WorldSizeRadioGroup->SetItemIndex(kLargeWorld);

    Label13 = MakeLabel(TabSheet4, QStringLiteral("Land Mass"), 8, 136, kPlainBold);

    // Three digit places (the first required) and a literal "%"; blanks show as spaces.
    LandMassPercentInput = new QLineEdit(TabSheet4);
    LandMassPercentInput->setObjectName(QStringLiteral("LandMassPercentInput"));
    LandMassPercentInput->setGeometry(80, 133, 41, 21);
    LandMassPercentInput->setFont(LayoutFont(kFontFamily, kFontPixels, true));
    LandMassPercentInput->setStyleSheet(QStringLiteral("QLineEdit { background: white; }"));
    LandMassPercentInput->setInputMask(QStringLiteral("900%; "));
    LandMassPercentInput->setMaxLength(4);
    LandMassPercentInput->setText(QStringLiteral("40 %"));
}

void TNewGameForm::BuildGeneratePage() {
    GameNameLabel = MakeLabel(TabSheet3, QStringLiteral("Game Name: "), 24, 24, kPlainBold);
    GameFileLabel = MakeLabel(TabSheet3, QStringLiteral("Game File: "), 24, 40, kPlainBold);
    HumanNumberLabel = MakeLabel(TabSheet3, QStringLiteral("Human Players: "), 24, 80, kPlainBold);
    ComputerNumberLabel =
        MakeLabel(TabSheet3, QStringLiteral("Computer Players: "), 24, 96, kPlainBold);
    WorldSizeLabel = MakeLabel(TabSheet3, QStringLiteral("World Size: "), 24, 136, kPlainBold);
    LandMassLabel = MakeLabel(TabSheet3, QStringLiteral("Percent Land: "), 24, 152, kPlainBold);

    // The bevel first, so the status labels and gauges lie on top of it.
    Bevel1 = MakeBevel(TabSheet3, QRect(464, 314, 297, 177), QFrame::Sunken);

    GameCreationLabel = MakeLabel(TabSheet3, kCreationPending, 512, 335, kPlain);
    QFont creationFont = LayoutFont(kFontFamily, 20, true);
    creationFont.setUnderline(true);
    // Each state's caption ends inside the bevel, all four in the same size.
    const int creationRoom =
        Bevel1->geometry().right() - Bevel1->frameWidth() - GameCreationLabel->x();
    creationFont = FontFittingWidth(
        creationFont,
        QStringList{kCreationPending, kCreationWorking, kCreationComplete, kCreationAborted}.join(
            QLatin1Char('\n')),
        creationRoom, kFontPixels);
    GameCreationLabel->setFont(creationFont);
    GameCreationLabel->adjustSize();

    StatusLabelTopography =
        MakeLabel(TabSheet3, QStringLiteral("Create World Topography:"), 504, 362, kPlain);
    TopographyProgressBar = MakeGauge(TabSheet3, QRect(632, 362, 100, 17));
    StatusLabelSeaLevel =
        MakeLabel(TabSheet3, QStringLiteral("Adjust Sea Level:"), 504, 386, kPlain);
    SeaLevelProgressBar = MakeGauge(TabSheet3, QRect(632, 386, 100, 17));
    // Both step captions end a pixel clear of their gauges, in one size.
    FitLabelToRight(StatusLabelTopography, TopographyProgressBar->x() - 1, kFontPixels - 2);
    StatusLabelSeaLevel->setFont(StatusLabelTopography->font());
    StatusLabelSeaLevel->adjustSize();

    CreateGameButton =
        MakeButton(TabSheet3, QStringLiteral("Create Game"), QRect(480, 504, 75, 25));
    CancelButton = MakeButton(TabSheet3, QStringLiteral("Cancel"), QRect(560, 504, 75, 25));
    CancelButton->setEnabled(false);
    ExitButton = MakeButton(TabSheet3, QStringLiteral("Exit"), QRect(640, 504, 75, 25));

    connect(CreateGameButton, &QPushButton::clicked, this, &TNewGameForm::CreateGameButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TNewGameForm::CancelButtonClick);
    connect(ExitButton, &QPushButton::clicked, this, &TNewGameForm::ExitButtonClick);
}

void TNewGameForm::PlayerStatusClick(int player) {
    const size_t i = static_cast<size_t>(player - 1);
    const int status = PlayerStatus[i]->ItemIndex();
    const bool inPlay = status == StatusHuman || status == StatusComputer;
    // The race stays with the slot whatever the choice.
    PlayerRaceButton[i]->setEnabled(inPlay);
    RaceName[i]->setVisible(inPlay);
    Players[i].InPlay = inPlay ? 1 : 0;
}

void TNewGameForm::PlayerRaceButtonClick(int player) {
    const size_t i = static_cast<size_t>(player - 1);
    std::string chosen;
    if (!LoadRaceForPlayer(Players[i].Race, &chosen))
        return;
    SetCaption(RaceName[i], QStringLiteral("The ") + FromGameText(Players[i].Race.NamePlural) +
                                QStringLiteral(" (") +
                                QString::fromLocal8Bit(std::string(FileNamePart(chosen))) +
                                QStringLiteral(")"));
}

void TNewGameForm::NewGamePageControlChange() {
    if (NewGamePageControl->currentIndex() != GeneratePage)
        return;
    int humans = 0;
    int computers = 0;
    for (const TRadioGroup* group : PlayerStatus) {
        humans += group->ItemIndex() == StatusHuman ? 1 : 0;
        computers += group->ItemIndex() == StatusComputer ? 1 : 0;
    }
    const int worldSize = WorldSizeRadioGroup->ItemIndex();
    SetCaption(GameNameLabel, QStringLiteral("Game Name: ") + GameNameEditBox->text());
    SetCaption(GameFileLabel, QStringLiteral("Game File: ") + GameFile->text());
    SetCaption(HumanNumberLabel, QStringLiteral("Human Players: ") + QString::number(humans));
    SetCaption(ComputerNumberLabel,
               QStringLiteral("Computer Players: ") + QString::number(computers));
    SetCaption(WorldSizeLabel,
               QStringLiteral("World Size: ") +
                   (worldSize >= 0 ? WorldSizeRadioGroup->Item(worldSize)->text() : QString()));
    SetCaption(LandMassLabel,
               QStringLiteral("Percent Land: ") + LandMassPercentInput->displayText());
}

void TNewGameForm::SetCreationControls(bool working) {
    working_ = working;
    CreateGameButton->setEnabled(!working);
    ExitButton->setEnabled(!working);
    NewGamePageControl->setTabEnabled(PlayerDataPage, !working);
    NewGamePageControl->setTabEnabled(WorldDataPage, !working);
    NewGamePageControl->setTabEnabled(WinningConditionsPage, !working);
    CancelButton->setEnabled(working);
}

void TNewGameForm::CreateGameButtonClick() {
    if (working_)
        return;
    CreateGameRequest request;
    request.GameFileText = GameFile->text().toLocal8Bit().toStdString();
    // The share is read from the text as shown ("40 %"), blanks included. A field without
    // a digit holds no share at all and is refused like one out of range, not read as 0 %.
    const std::string landText = LandMassPercentInput->displayText().toStdString();
    if (!HoldsADigit(landText)) {
        Shell().ShowMessage(kLandShareRefusalText, kCreateGameRefusalCaption);
        return;
    }
    request.LandPercent = ParseLandPercent(landText);
    if (std::optional<CreateGameStatus> refusal = CreateGameRefusal(request)) {
        Shell().ShowMessage(CreateGameRefusalText(*refusal), kCreateGameRefusalCaption);
        return;
    }
    // The files of an earlier game of the same name are replaced only when the user agrees.
    const std::vector<std::string> existing = FilesToReplace(request, Players);
    if (!existing.empty() && !Shell().AskYesNo(ReplaceGameQuestion(existing), kReplaceGameCaption))
        return;
    request.Title = TitleScreen().Values();

    SetCreationControls(true);
    AbortFlag = 0;
    SetCaption(GameCreationLabel, kCreationWorking);
    TopographyProgressBar->setValue(0);
    SeaLevelProgressBar->setValue(0);

    request.Seed = CreationSeed(SeedClock != nullptr ? *SeedClock : SystemClock());
    WorldGenerationHooks hooks;
    hooks.processPendingEvents = [] { Shell().ProcessPendingEvents(); };
    hooks.abortFlag = &AbortFlag;
    hooks.topographyProgress = [this](int percent) { TopographyProgressBar->setValue(percent); };
    hooks.seaLevelProgress = [this](int percent) { SeaLevelProgressBar->setValue(percent); };
    lastCreation_ = CreateGame(request, Players, hooks);
    // No file was written; the wizard keeps its values so the user can choose another place.
    if (lastCreation_.WriteFailed())
        Shell().ShowMessage(CreateGameFailureText(lastCreation_), kCreateGameFailureCaption);

    SetCreationControls(false);
    SetCaption(GameCreationLabel, AbortFlag == 1 || lastCreation_.WriteFailed()
                                      ? kCreationAborted
                                      : kCreationComplete);
    AbortFlag = 0;
}

void TNewGameForm::CancelButtonClick() {
    AbortFlag = 1;
}

void TNewGameForm::ExitButtonClick() {
    close();
}

void TNewGameForm::closeEvent(QCloseEvent* event) {
    // While a creation works only "Cancel" reacts; the wizard stays open until it ends.
    if (working_) {
        event->ignore();
        return;
    }
    event->accept();
    TitleScreen().ShowTitleScreen();
}
