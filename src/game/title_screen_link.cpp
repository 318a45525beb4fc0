#include "game/title_screen_link.h"

namespace {

class StandInTitleScreen final : public TitleScreenLink {
public:
    TitleState& Values() override { return state_; }
    const std::string& GameFileName() const override { return fileName_; }
    void ShowTitleScreen() override {}

private:
    TitleState state_;
    std::string fileName_;
};

TitleScreenLink* g_titleScreen = nullptr;

}  // namespace

TitleScreenLink& TitleScreen() {
    static StandInTitleScreen standIn;
    return g_titleScreen != nullptr ? *g_titleScreen : standIn;
}

TitleScreenLink* InstallTitleScreen(TitleScreenLink* link) {
    TitleScreenLink* previous = g_titleScreen;
    g_titleScreen = link;
    return previous;
}
