#pragma once

#include <QGroupBox>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "creation/create_game.h"
#include "game/game_state.h"
#include "platform/qt/radio_group.h"

class Clock;
class QCloseEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The New Game wizard: names the game and its files, sets up ten player slots with their
// races, the share of land, and creates the game. Built once; it keeps its slots, its
// controls and its page between openings.
class TNewGameForm : public QWidget {
    Q_OBJECT

public:
    explicit TNewGameForm(QWidget* parent = nullptr);
    ~TNewGameForm() override;

    // Items of the player radio groups.
    enum PlayerStatus { StatusNone = 0, StatusHuman = 1, StatusComputer = 2 };

    // Page order of NewGamePageControl.
    enum Page {
        PlayerDataPage = 0,
        WinningConditionsPage = 1,
        WorldDataPage = 2,
        GeneratePage = 3
    };

    // Players 1 to 10 (index 0 to 9).
    std::array<PlayerSlot, kPlayerCount> Players{};
    // 1 after "Cancel" during a creation.
    uint8_t AbortFlag = 0;
    // Seeds each creation with its time in seconds; tests set a fixed clock.
    Clock* SeedClock = nullptr;

    QTabWidget* NewGamePageControl = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Player Data"
    QWidget* TabSheet2 = nullptr;  // "Winning Conditions"
    QWidget* TabSheet4 = nullptr;  // "World Data"
    QWidget* TabSheet3 = nullptr;  // "Generate"

    // "Player Data"
    QLabel* Label1 = nullptr;
    QLineEdit* GameNameEditBox = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* GameFile = nullptr;
    std::array<TRadioGroup*, kPlayerCount> PlayerStatus{};
    std::array<QPushButton*, kPlayerCount> PlayerRaceButton{};
    std::array<QLabel*, kPlayerCount> RaceName{};

    // "World Data"
    TRadioGroup* WorldSizeRadioGroup = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* LandMassPercentInput = nullptr;

    // "Generate"
    QLabel* GameNameLabel = nullptr;
    QLabel* GameFileLabel = nullptr;
    QLabel* HumanNumberLabel = nullptr;
    QLabel* ComputerNumberLabel = nullptr;
    QLabel* WorldSizeLabel = nullptr;
    QLabel* LandMassLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* GameCreationLabel = nullptr;
    QLabel* StatusLabelTopography = nullptr;
    QProgressBar* TopographyProgressBar = nullptr;
    QLabel* StatusLabelSeaLevel = nullptr;
    QProgressBar* SeaLevelProgressBar = nullptr;
    QPushButton* CreateGameButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* ExitButton = nullptr;

    // player is 1..10.
    void PlayerStatusClick(int player);
    void PlayerRaceButtonClick(int player);
    void NewGamePageControlChange();
    void CreateGameButtonClick();
    void CancelButtonClick();
    void ExitButtonClick();

    // True while "Create Game" works.
    bool Working() const { return working_; }
    // What the last creation did (Complete before the first one).
    const CreateGameResult& LastCreation() const { return lastCreation_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPlayerDataPage();
    void BuildWorldDataPage();
    void BuildGeneratePage();
    // While a creation works (working true) only "Cancel" stays enabled: "Create Game",
    // "Exit" and the other pages are disabled, because the events that run during the
    // generation could otherwise start a second creation or close the wizard under it.
    void SetCreationControls(bool working);

    bool working_ = false;
    CreateGameResult lastCreation_;
};
