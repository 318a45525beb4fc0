#include "creation/race_choice_form.h"

#include <optional>

#include "platform/os/ui_shell.h"
#include "race/race_file.h"
#include "race/race_file_messages.h"

bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile) {
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialogOptions());
    if (!chosen)
        return false;
    if (std::optional<RaceFileRefusal> refusal = LoadRaceFileForPlayer(*chosen, race)) {
        const RaceFileMessage message = RaceFileRefusalMessage(*refusal);
        Shell().ShowMessage(message.Text, message.Caption);
        return false;
    }
    if (chosenFile != nullptr)
        *chosenFile = *chosen;
    return true;
}
