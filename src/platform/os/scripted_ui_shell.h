#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/ui_shell.h"

// A shell that answers dialogs from a script and records everything it was asked to show.
// Used by tests and by the command line tool, where no window exists.
class ScriptedUiShell final : public UiShell {
public:
    struct Message {
        std::string text;
        std::string caption;
    };

    // Answers for the next file dialogs, in order; std::nullopt means "Cancel". With no
    // answer left a dialog is cancelled.
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    // Texts typed into the password prompt, in order; std::nullopt means "Cancel". When the
    // script runs out the prompt is cancelled.
    std::deque<std::optional<std::string>> passwordAnswers;
    // Answers to the next yes/no questions, in order (true: "Yes"). With no answer left a
    // question is answered "No".
    std::deque<bool> yesNoAnswers;
    // Called on every ProcessPendingEvents, e.g. to press a button in the middle of work.
    std::function<void()> onProcessEvents;
    // Called with each message while its box is up (after it is recorded), e.g. to deliver
    // the events that the box's own event loop would.
    std::function<void(const Message&)> onShowMessage;

    std::vector<Message> messages;
    std::vector<Message> questions;  // every yes/no question asked, text and caption
    std::vector<FileDialogOptions> openRequests;
    std::vector<FileDialogOptions> saveRequests;
    std::vector<std::string> debugLines;
    int passwordPrompts = 0;
    int processEventsCalls = 0;
    int processPaintsCalls = 0;
    int endRequests = 0;

    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    bool AskPassword(const std::function<bool(const std::string&)>& accept) override;
    void ProcessPendingEvents() override;
    void ProcessPendingPaints() override { ++processPaintsCalls; }
    void EndApplication() override { ++endRequests; }
    bool EndRequested() const override { return endRequests > 0; }
    void DebugOutput(const std::string& line) override { debugLines.push_back(line); }
};
