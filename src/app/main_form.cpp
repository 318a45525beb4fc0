#include "app/main_form.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "app/load_game.h"
#include "app/screens.h"
#include "app/title_art.h"
#include "creation/new_game_form.h"
#include "game/program_version.h"
#include "host/host_form.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "platform/qt/widget_factory.h"
#include "race/race_design_form.h"

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Velmora - Orbalune"));
    SetOuterSize(this, 534, 371);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));

    Image1 = new QLabel(this);
    Image1->setGeometry(200, 0, 140, 113);
    Image1->setScaledContents(true);
    Image1->setPixmap(PaintTitleEmblem(140, 113));
    Image2 = new QLabel(this);
    Image2->setGeometry(56, 112, 409, 113);
    Image2->setScaledContents(true);
    Image2->setPixmap(PaintTitleBanner(409, 113));

    NewGameButton = MakeButton(this, QStringLiteral("New Game"), 16, 240);
    LoadGameButton = MakeButton(this, QStringLiteral("Load Game"), 120, 240);
    RaceDesignButton = MakeButton(this, QStringLiteral("Race Design"), 224, 240);
    TutorialButton = MakeButton(this, QStringLiteral("Tutorial"), 328, 240);
    TutorialButton->setEnabled(false);
    ExitButton = MakeButton(this, QStringLiteral("Exit"), 432, 240);
    setTabOrder(NewGameButton, LoadGameButton);
    setTabOrder(LoadGameButton, RaceDesignButton);
    setTabOrder(RaceDesignButton, ExitButton);
    setTabOrder(ExitButton, TutorialButton);

    Label3 = MakeLabel(this, QStringLiteral("Pre-Alpha Version:"), 248, 296);
    Label4 = MakeLabel(this, QStringLiteral("Unknown!"), 344, 296);
    Label5 = MakeLabel(this, QStringLiteral("Translation: "), 248, 312);
    Label6 = MakeLabel(this, QStringLiteral("Unkown!"), 312, 312);

    connect(NewGameButton, &QPushButton::clicked, this, &TMainForm::NewGameButtonClick);
    connect(LoadGameButton, &QPushButton::clicked, this, &TMainForm::LoadGameButtonClick);
    connect(RaceDesignButton, &QPushButton::clicked, this, &TMainForm::RaceDesignButtonClick);
    connect(ExitButton, &QPushButton::clicked, this, &TMainForm::ExitButtonClick);

    // The program's version: labels and the stamps every game file will carry.
    ProgramVersion version = ProbeProgramVersion("tarrowind.exe");
    Label4->setText(FromGameText(version.VersionLabel));
    Label4->adjustSize();
    Label6->setText(FromGameText(version.LanguageLabel));
    Label6->adjustSize();
    State.VersionStampA = version.VersionStampA;
    State.VersionStampB = version.VersionStampB;
    State.TextureResolution = 50;

    CentreOnDesktop(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::NewGameButtonClick() {
    hide();
    NewGameForm->show();
}

void TMainForm::LoadGameButtonClick() {
    FileDialogOptions options;
    options.title = OpenGameDialog.Title;
    options.filter = OpenGameDialog.Filter;
    options.fileName = OpenGameDialog.FileName;
    std::optional<std::string> chosen = Shell().OpenFile(options);
    if (!chosen)
        return;
    OpenGameDialog.FileName = *chosen;
    if (IsHostFilePath(*chosen)) {
        hide();
        HostForm->show();
    }
    if (IsPlayerFilePath(*chosen)) {
        LoadPlayerGame(*chosen);
    }
}

void TMainForm::RaceDesignButtonClick() {
    hide();
    RaceDesign->exec();
    show();
}

void TMainForm::ExitButtonClick() {
    Shell().EndApplication();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // The title screen is the main window: closing it ends the program.
    Shell().EndApplication();
    event->accept();
}
