#include "race/race_file_messages.h"

FileDialogOptions RaceSaveDialogOptions() {
    FileDialogOptions options;
    options.title = kSaveRaceDialogTitle;
    options.filter = "Race Files (*.rce)|*.rce";
    options.defaultExt = "rac";
    return options;
}

FileDialogOptions RaceLoadDialogOptions() {
    FileDialogOptions options;
    options.filter = "Race Files (*.rce)|*.rce|All Files (*.*)|*.*";
    return options;
}

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
