#include "platform/os/scripted_ui_shell.h"

namespace {

std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

void ScriptedUiShell::ShowMessage(const std::string& text, const std::string& caption) {
    messages.push_back({text, caption});
    if (onShowMessage) {
        const Message shown = messages.back();
        onShowMessage(shown);
    }
}

bool ScriptedUiShell::AskYesNo(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUiShell::OpenFile(const FileDialogOptions& options) {
    openRequests.push_back(options);
    return Next(openAnswers);
}

std::optional<std::string> ScriptedUiShell::SaveFile(const FileDialogOptions& options) {
    saveRequests.push_back(options);
    return Next(saveAnswers);
}

bool ScriptedUiShell::AskPassword(const std::function<bool(const std::string&)>& accept) {
    ++passwordPrompts;
    while (!passwordAnswers.empty()) {
        std::optional<std::string> typed = Next(passwordAnswers);
        if (!typed)
            return false;
        if (accept(*typed))
            return true;
    }
    return false;
}

void ScriptedUiShell::ProcessPendingEvents() {
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}
