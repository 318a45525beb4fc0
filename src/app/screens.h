#pragma once

#include <memory>

class TMainForm;
class TCityDesignForm;
class TCreditsForm;
class THostForm;
class TKnownBugsForm;
class TMain_ScreenForm;
class TNewGameForm;
class TRaceDesign;
class TResearchForm;
class TUnitForm;
class TVersionHistoryForm;
class TGameOptionsForm;
class TForm1;
class TPasswordForm;
class TitleScreenLink;

// Every screen of the program, built once in a fixed order and destroyed in the reverse
// order. While a set exists, the global references below point into it.
class ScreenSet {
public:
    ScreenSet();
    ~ScreenSet();
    ScreenSet(const ScreenSet&) = delete;
    ScreenSet& operator=(const ScreenSet&) = delete;

private:
    // Gives the main screen the windows its menus open and what a saved turn carries.
    void LinkMainScreen();

    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TCityDesignForm> cityDesignForm_;
    std::unique_ptr<TCreditsForm> creditsForm_;
    std::unique_ptr<THostForm> hostForm_;
    std::unique_ptr<TKnownBugsForm> knownBugsForm_;
    std::unique_ptr<TMain_ScreenForm> mainScreenForm_;
    std::unique_ptr<TNewGameForm> newGameForm_;
    std::unique_ptr<TRaceDesign> raceDesign_;
    std::unique_ptr<TResearchForm> researchForm_;
    std::unique_ptr<TUnitForm> unitForm_;
    std::unique_ptr<TVersionHistoryForm> versionHistoryForm_;
    std::unique_ptr<TGameOptionsForm> gameOptionsForm_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TPasswordForm> passwordForm_;
    TitleScreenLink* previousTitleScreen_ = nullptr;
};

// One global reference per screen; null while no ScreenSet exists.
extern TMainForm* MainForm;
extern TCityDesignForm* CityDesignForm;
extern TCreditsForm* CreditsForm;
extern THostForm* HostForm;
extern TKnownBugsForm* KnownBugsForm;
extern TMain_ScreenForm* Main_ScreenForm;
extern TNewGameForm* NewGameForm;
extern TRaceDesign* RaceDesign;
extern TResearchForm* ResearchForm;
extern TUnitForm* UnitForm;
extern TVersionHistoryForm* VersionHistoryForm;
extern TGameOptionsForm* GameOptionsForm;
extern TForm1* Form1;
extern TPasswordForm* PasswordForm;
