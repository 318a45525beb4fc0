// What the screens of the subsystems need of the title screen, without knowing that screen.
#pragma once

#include <string>

#include "game/game_state.h"

// The title screen as the other screens see it: the values it keeps for a loaded game, the
// name of the game file its open dialog last returned, and showing it again when they close.
class TitleScreenLink {
public:
    virtual ~TitleScreenLink() = default;

    virtual TitleState& Values() = 0;
    virtual const std::string& GameFileName() const = 0;
    virtual void ShowTitleScreen() = 0;
};

// The installed title screen. Until one is installed (and in tests that build a screen alone)
// a stand-in keeps its own values, holds no file name and shows nothing.
TitleScreenLink& TitleScreen();

// Installs the title screen (not owned) and returns the one installed before; nullptr brings
// back the stand-in.
TitleScreenLink* InstallTitleScreen(TitleScreenLink* link);
