#pragma once

#include <QWidget>
#include <string>

#include "game/game_state.h"
#include "game/title_screen_link.h"

class QLabel;
class QPushButton;

// The title screen's open dialog: its fixed settings and the name it last returned, which
// stays available to the screens that need the game's file name.
struct OpenGameDialogState {
    std::string Title = "Open Existing Game";
    std::string Filter =
        "Game Files (*.hst, *.p*)|*.hst; *.p*|Host Files (*.hst)|*.hst|Player Files "
        "(*.p*)|*.p*|All Files (*.*)|*.*";
    std::string FileName;
};

// The title screen: the hub for a new game, loading a game, race design and leaving. The
// other screens reach it as their TitleScreenLink.
class TMainForm : public QWidget, public TitleScreenLink {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Values kept for a loaded game (version stamps, texture resolution, point list).
    TitleState State;
    OpenGameDialogState OpenGameDialog;

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* NewGameButton = nullptr;
    QPushButton* LoadGameButton = nullptr;
    QPushButton* RaceDesignButton = nullptr;
    QPushButton* TutorialButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

    void NewGameButtonClick();
    void LoadGameButtonClick();
    void RaceDesignButtonClick();
    void ExitButtonClick();

    TitleState& Values() override { return State; }
    const std::string& GameFileName() const override { return OpenGameDialog.FileName; }
    void ShowTitleScreen() override { show(); }

protected:
    void closeEvent(QCloseEvent* event) override;
};
