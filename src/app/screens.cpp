#include "app/screens.h"

#include "app/city_design_form.h"
#include "app/credits_form.h"
#include "app/game_options_form.h"
#include "app/help_form.h"
#include "app/known_bugs_form.h"
#include "app/main_form.h"
#include "app/version_history_form.h"
#include "creation/new_game_form.h"
#include "host/host_form.h"
#include "race/password_form.h"
#include "race/race_design_form.h"
#include "research/research_form.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

TMainForm* MainForm = nullptr;
TCityDesignForm* CityDesignForm = nullptr;
TCreditsForm* CreditsForm = nullptr;
THostForm* HostForm = nullptr;
TKnownBugsForm* KnownBugsForm = nullptr;
TMain_ScreenForm* Main_ScreenForm = nullptr;
TNewGameForm* NewGameForm = nullptr;
TRaceDesign* RaceDesign = nullptr;
TResearchForm* ResearchForm = nullptr;
TUnitForm* UnitForm = nullptr;
TVersionHistoryForm* VersionHistoryForm = nullptr;
TGameOptionsForm* GameOptionsForm = nullptr;
TForm1* Form1 = nullptr;
TPasswordForm* PasswordForm = nullptr;

namespace {

// Makes a screen, keeps it and publishes its global reference at once, so that screens
// built later can reach the ones built before them.
template <typename T>
void Build(std::unique_ptr<T>& owner, T*& global) {
    owner = std::make_unique<T>();
    global = owner.get();
}

template <typename T>
void Release(std::unique_ptr<T>& owner, T*& global) {
    global = nullptr;
    owner.reset();
}

}  // namespace

ScreenSet::ScreenSet() {
    Build(mainForm_, MainForm);
    previousTitleScreen_ = InstallTitleScreen(mainForm_.get());
    Build(cityDesignForm_, CityDesignForm);
    Build(creditsForm_, CreditsForm);
    Build(hostForm_, HostForm);
    Build(knownBugsForm_, KnownBugsForm);
    Build(mainScreenForm_, Main_ScreenForm);
    Build(newGameForm_, NewGameForm);
    Build(raceDesign_, RaceDesign);
    Build(researchForm_, ResearchForm);
    Build(unitForm_, UnitForm);
    Build(versionHistoryForm_, VersionHistoryForm);
    Build(gameOptionsForm_, GameOptionsForm);
    Build(form1_, Form1);
    Build(passwordForm_, PasswordForm);
    LinkMainScreen();
}

void ScreenSet::LinkMainScreen() {
    TMain_ScreenForm* screen = mainScreenForm_.get();
    MainScreenLinks& links = screen->Links;
    links.ShowGameOptions = [] { GameOptionsForm->exec(); };
    links.ShowUnitDesign = [] {
        UnitForm->show();
        UnitForm->raise();
        UnitForm->activateWindow();
    };
    links.ShowCityDesign = [] { CityDesignForm->show(); };
    links.ShowResearch = [] { ResearchForm->show(); };
    links.ShowHelp = [screen] { ShowHelpWindow(screen->HelpForm, screen); };
    links.ShowCredits = [] { CreditsForm->exec(); };
    links.ShowVersionHistory = [] { VersionHistoryForm->exec(); };
    links.ShowKnownBugs = [] { KnownBugsForm->exec(); };
    links.Designs = []() -> const UnitDesignTable& { return UnitForm->State.DesignTable; };
    // A closed game has no large map for the game options to rebuild.
    links.GameClosing = [] { GameOptionsForm->SetMainMapRebuild(nullptr); };
    links.LoadingNotice = form1_.get();
}

ScreenSet::~ScreenSet() {
    Release(passwordForm_, PasswordForm);
    Release(form1_, Form1);
    Release(gameOptionsForm_, GameOptionsForm);
    Release(versionHistoryForm_, VersionHistoryForm);
    Release(unitForm_, UnitForm);
    Release(researchForm_, ResearchForm);
    Release(raceDesign_, RaceDesign);
    Release(newGameForm_, NewGameForm);
    Release(mainScreenForm_, Main_ScreenForm);
    Release(knownBugsForm_, KnownBugsForm);
    Release(hostForm_, HostForm);
    Release(creditsForm_, CreditsForm);
    Release(cityDesignForm_, CityDesignForm);
    InstallTitleScreen(previousTitleScreen_);
    Release(mainForm_, MainForm);
}
