#pragma once

#include <QString>
#include <functional>

#include "platform/os/ui_shell.h"

// The desktop's shell: Qt message boxes and file dialogs, the event loop.
class QtUiShell final : public UiShell {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    bool AskPassword(const std::function<bool(const std::string&)>& accept) override;
    void ProcessPendingEvents() override;
    void ProcessPendingPaints() override;
    void EndApplication() override;
    bool EndRequested() const override { return ended_; }
    void DebugOutput(const std::string& line) override;

    // The password prompt window is a screen of its own; the application connects it here.
    std::function<bool(const std::function<bool(const std::string&)>&)> passwordPrompt;

private:
    bool ended_ = false;
};

// Turns a filter of the form "Text (*.a)|*.a; *.b|All Files (*.*)|*.*" into Qt's form.
QString QtFilterFromPairs(const std::string& filter);
