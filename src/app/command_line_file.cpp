#include "app/command_line_file.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "host/host_form.h"
#include "platform/os/ui_shell.h"
#include "race/race_design_form.h"

namespace fs = std::filesystem;

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Whether the player file reader would take the file: "Load Game" treats a file it cannot
// read as fatal, while a file named at start only gets its box. The read goes into scratch
// objects, so nothing of the game changes.
bool PlayerFileReads(const std::string& path) {
    auto world = std::make_unique<WorldMap>();
    TitleState title;
    auto messages = std::make_unique<MessageStore>();
    ResearchPoints research;
    return ReadPlayerFile(path, PlayerFileTargets{*world, title, *messages, research});
}

bool RegularFileOpens(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    return in.is_open();
}

}  // namespace

CommandLineFileKind KindOfCommandLineFile(std::string_view path) {
    const std::string_view name = FileNameOf(path);
    if (EndsWith(name, ".hst"))
        return CommandLineFileKind::Host;
    if (EndsWith(name, ".rce"))
        return CommandLineFileKind::Race;
    if (name.size() >= 4) {
        const std::string_view end = name.substr(name.size() - 4);
        const bool digits = end[2] >= '0' && end[2] <= '9' && end[3] >= '0' && end[3] <= '9';
        if (end.substr(0, 2) == ".p" && digits) {
            const int player = (end[2] - '0') * 10 + (end[3] - '0');
            if (player >= 1 && player <= 10)
                return CommandLineFileKind::Player;
        }
    }
    return CommandLineFileKind::Unknown;
}

std::string AbsoluteCommandLinePath(const std::string& argument) {
    if (argument.empty())
        return argument;
    std::error_code ec;
    const fs::path absolute = fs::absolute(argument, ec);
    return ec ? argument : absolute.lexically_normal().string();
}

std::string UnknownFileKindText(std::string_view path) {
    std::string text = "\"";
    text.append(FileNameOf(path));
    text.append(
        "\" is not a Velmora file. Velmora opens player files (.p01 to .p10), host "
        "files (.hst) and race files (.rce).");
    return text;
}

bool OpenCommandLineFile(const std::string& path) {
    switch (KindOfCommandLineFile(path)) {
        case CommandLineFileKind::Player:
            if (!PlayerFileReads(path)) {
                Shell().ShowMessage("Couldn't open player file", kCommandLineFileCaption);
                return false;
            }
            MainForm->OpenGameDialog.FileName = path;
            return LoadPlayerGame(path);
        case CommandLineFileKind::Host:
            if (!RegularFileOpens(path)) {
                Shell().ShowMessage("Couldn't open host file", kCommandLineFileCaption);
                return false;
            }
            // The host screen reads the file named in the title screen's open dialog.
            MainForm->OpenGameDialog.FileName = path;
            MainForm->hide();
            HostForm->show();
            return true;
        case CommandLineFileKind::Race:
            if (!RaceDesign->LoadRaceFromFile(path))
                return false;
            MainForm->RaceDesignButtonClick();
            return true;
        case CommandLineFileKind::Unknown:
            break;
    }
    Shell().ShowMessage(UnknownFileKindText(path), kCommandLineFileCaption);
    return false;
}
