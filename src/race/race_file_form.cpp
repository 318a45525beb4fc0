#include "race/race_file_form.h"

#include <optional>
#include <string>

#include "platform/os/ui_shell.h"
#include "race/race_file.h"
#include "race/race_file_messages.h"

namespace {

void Show(const RaceFileMessage& message) {
    Shell().ShowMessage(message.Text, message.Caption);
}

// The password prompt, accepting exactly the race's password (letter case counts).
bool PromptForPassword(const std::string& password) {
    return Shell().AskPassword([&password](const std::string& typed) { return typed == password; });
}

}  // namespace

bool SaveRaceFromDesign(const RaceDesignValues& values, float version) {
    if (std::optional<RaceSaveRefusal> refusal = CheckRaceForSaving(values)) {
        Show(RaceSaveRefusalMessage(*refusal));
        return false;
    }
    std::optional<std::string> chosen = Shell().SaveFile(RaceSaveDialogOptions());
    if (!chosen)
        return false;
    // The dialog asked before replacing the name it returned; when the name rule turns
    // that into another name, the file there has not been asked about yet.
    const std::string path = RaceFileNameFor(*chosen);
    if (path != *chosen && RaceFileNameTaken(path) &&
        !Shell().AskYesNo(ReplaceRaceFileQuestion(path), kSaveRaceDialogTitle)) {
        return false;
    }
    if (std::optional<WriteFailure> failure =
            WriteRaceFile(path, RaceRecordFromDesign(values, version))) {
        Show(RaceSaveFailureMessage(*failure));
        return false;
    }
    return true;
}

bool LoadRaceIntoDesign(RaceDesignValues& values) {
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialogOptions());
    if (!chosen)
        return false;
    return LoadChosenRaceIntoDesign(*chosen, values);
}

bool LoadChosenRaceIntoDesign(const std::string& path, RaceDesignValues& values) {
    if (std::optional<RaceFileRefusal> refusal =
            LoadRaceFileIntoDesign(path, values, PromptForPassword)) {
        Show(RaceFileRefusalMessage(*refusal));
        return false;
    }
    return true;
}
