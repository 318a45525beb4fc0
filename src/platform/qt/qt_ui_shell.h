#pragma once

#include <QFileDialog>
#include <QStringList>
#include <functional>

#include "platform/os/ui_shell.h"

// The desktop's shell: Qt message boxes and file dialogs, the event loop.
class QtUiShell final : public UiShell {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
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

    // Remembers the folder of a file the player chose (also one named at start), where the
    // next file dialog opens.
    void NoteChosenFile(const std::string& path);

private:
    // Runs a modal file dialog for opening or saving; the chosen file, or std::nullopt when
    // the user cancels.
    std::optional<std::string> RunFileDialog(const FileDialogOptions& options,
                                             QFileDialog::AcceptMode mode);

    bool ended_ = false;
    QString lastFolder_;
};

// Turns a filter of the form "Text (*.a)|*.a; *.b|All Files (*.*)|*.*" into Qt's name
// filters, one per pair: the pair's text followed by its patterns in parentheses, "Text
// (*.a) (*.a *.b)", from which Qt takes the patterns.
QStringList QtNameFilters(const std::string& filter);

// Sets up a file dialog for opening an existing file or saving one: title (an empty one
// leaves the toolkit's), filters, default extension and starting name. The filters show their texts
// exactly as given, without Qt appending the patterns a second time.
void PrepareFileDialog(QFileDialog& dialog, const FileDialogOptions& options,
                       QFileDialog::AcceptMode mode);

// The folder a file dialog opens in: the folder of the name it starts with when that name
// has one, else the folder of the file last chosen, else the player's home folder. Never
// the working directory, which for a game started from the desktop's menu is whatever
// folder the menu chose, not one of the player's.
QString DialogStartFolder(const std::string& fileName, const QString& lastFolder);
