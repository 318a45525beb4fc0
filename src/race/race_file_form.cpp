#include "race/race_file_form.h"

#include <optional>

#include "platform/os/ui_shell.h"

namespace {

const char* const kRaceSaveFilter = "Race Files (*.rce)|*.rce";
const char* const kRaceLoadFilter = "Race Files (*.rce)|*.rce|All Files (*.*)|*.*";

void Show(const RaceFileMessage& message) {
    Shell().ShowMessage(message.Text, message.Caption);
}

FileDialogOptions RaceLoadDialog() {
    FileDialogOptions options;
    options.filter = kRaceLoadFilter;
    return options;
}

// The password prompt, accepting exactly the race's password (letter case counts).
bool PromptForPassword(const std::string& password) {
    return Shell().AskPassword([&password](const std::string& typed) { return typed == password; });
}

}  // namespace

RaceFileMessage RaceFileRefusalMessage(const RaceFileRefusal& refusal) {
    switch (refusal.Problem) {
        case RaceFileProblem::Missing:
            return {kRaceFileMissingText, kRaceFileErrorCaption};
        case RaceFileProblem::WrongName:
            return {kInvalidRaceFileText, kRaceFileErrorCaption};
        case RaceFileProblem::CannotOpen:
            break;
        case RaceFileProblem::TooLarge:
            return {std::string(kDamagedRaceFileText) + "\n" + refusal.Path + ": " +
                        std::to_string(refusal.Size) + " bytes, more than the " +
                        std::to_string(kRaceFileMaxBytes) + " a race file can have",
                    kRaceFileErrorCaption};
        case RaceFileProblem::Damaged:
            return {std::string(kDamagedRaceFileText) + "\n" + refusal.Path + ": damaged at byte " +
                        std::to_string(refusal.Damage.Offset) + ": " + refusal.Damage.What,
                    kRaceFileErrorCaption};
    }
    return {kRaceFileOpenFailedText, kRaceFileErrorCaption};
}

RaceFileMessage RaceSaveRefusalMessage(const RaceSaveRefusal& refusal) {
    if (refusal.Problem == RaceSaveProblem::PasswordMismatch)
        return {kPasswordMismatchText, kPasswordErrorCaption};
    return {std::string(refusal.Field) + " Is Too Long, A Race File Holds At Most 199 Characters",
            kRaceFileErrorCaption};
}

RaceFileMessage RaceSaveFailureMessage(const WriteFailure& failure) {
    return {std::string(kRaceFileSaveFailedText) + "\n" + DescribeWriteFailure(failure),
            kRaceFileErrorCaption};
}

std::string ReplaceRaceFileQuestion(const std::string& path) {
    return path + " already exists.\nDo you want to replace it?";
}

bool SaveRaceFromDesign(const RaceDesignValues& values, float version) {
    if (std::optional<RaceSaveRefusal> refusal = CheckRaceForSaving(values)) {
        Show(RaceSaveRefusalMessage(*refusal));
        return false;
    }
    FileDialogOptions options;
    options.title = kSaveRaceDialogTitle;
    options.filter = kRaceSaveFilter;
    options.defaultExt = "rac";
    std::optional<std::string> chosen = Shell().SaveFile(options);
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
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialog());
    if (!chosen)
        return false;
    if (std::optional<RaceFileRefusal> refusal =
            LoadRaceFileIntoDesign(*chosen, values, PromptForPassword)) {
        Show(RaceFileRefusalMessage(*refusal));
        return false;
    }
    return true;
}

bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile) {
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialog());
    if (!chosen)
        return false;
    if (std::optional<RaceFileRefusal> refusal = LoadRaceFileForPlayer(*chosen, race)) {
        Show(RaceFileRefusalMessage(*refusal));
        return false;
    }
    if (chosenFile != nullptr)
        *chosenFile = *chosen;
    return true;
}
