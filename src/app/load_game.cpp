#include "app/load_game.h"

#include "app/game_options_form.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/turn_files.h"
#include "game/world_map.h"
#include "platform/os/ui_shell.h"
#include "research/research_form.h"
#include "units/unit_form.h"
#include "view/engine_views.h"
#include "view/loading_form.h"
#include "view/main_map.h"
#include "view/main_screen_form.h"

namespace {

GameViewsFactory& ViewsFactory() {
    static GameViewsFactory factory;
    return factory;
}

void AdvanceLoadingGauge(int percent) {
    if (Form1 != nullptr)
        Form1->ShowProgress(percent);
}

}  // namespace

void SetGameViewsFactory(GameViewsFactory factory) {
    ViewsFactory() = std::move(factory);
}

std::unique_ptr<GameViews> MakeGameViews() {
    if (ViewsFactory())
        return ViewsFactory()();
    return MakeEngineViews(*Main_ScreenForm, Game());
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsHostFilePath(std::string_view path) {
    return FileNameOf(path).find(".hst") != std::string_view::npos;
}

bool IsPlayerFilePath(std::string_view path) {
    return !IsHostFilePath(path) && FileNameOf(path).find(".p") != std::string_view::npos;
}

bool LoadPlayerGame(const std::string& path) {
    GameSession& game = Game();
    game.Create(MakeGameViews());

    // What the files fill outside the game objects, put back when the file is refused.
    const TitleState titleBefore = MainForm->State;
    const ResearchPoints researchBefore = ResearchForm->State.Points;
    UnitDesignTable& designs = UnitForm->State.DesignTable;
    const UnitDesignTable designsBefore = designs;

    // The designs of another game loaded earlier in this run must not leak into this one:
    // the history file (when there is one) fills a table that holds the start-up designs.
    designs = UnitDesignTable();
    ReadHistoryFile(HistoryFileName(path), MainForm->State, designs);

    const PlayerFileTargets targets{*game.World(), MainForm->State, *game.Messages(),
                                    ResearchForm->State.Points};
    const PlayerFileLoad load = LoadPlayerFile(path, targets);
    if (!load) {
        // The title screen stays, with everything as it was before the attempt.
        Shell().ShowMessage("Couldn't open player file\n" + DescribeReadFailure(*load.Failure),
                            "Fatal Error");
        game.Destroy();
        MainForm->State = titleBefore;
        ResearchForm->State.Points = researchBefore;
        designs = designsBefore;
        return false;
    }
    // A damaged file opens with what it holds, but not in silence.
    if (load.Outcome.Damaged())
        Shell().ShowMessage(DescribePlayerFileDamage(path, load), "File Error");

    MainForm->hide();
    Form1->CGauge1->SetProgress(0);
    Form1->show();
    Shell().ProcessPendingEvents();

    GameViews& views = *game.Views();
    const bool viewsReady =
        views.SetUpEngine(*game.Map()) && views.SetUpGlobe(*game.World()) &&
        views.SetUpLargeMap(*game.Map(), *game.World(), MainForm->State.TextureResolution,
                            AdvanceLoadingGauge);
    if (!viewsReady) {
        // The failing step has shown its message and asked the application to end.
        Form1->close();
        game.Destroy();
        return false;
    }

    GameOptionsForm->SetMainMapRebuild(Main_ScreenForm);
    Main_ScreenForm->showMaximized();
    Form1->close();
    return true;
}
