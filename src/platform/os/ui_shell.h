#pragma once

#include <functional>
#include <optional>
#include <string>

// What a file dialog is asked to show.
struct FileDialogOptions {
    std::string title;
    std::string filter;      // "Text (*.a)|*.a|All Files (*.*)|*.*"
    std::string defaultExt;  // without the dot; empty for none
    std::string fileName;    // the name the dialog starts with
};

// The user-facing services of the desktop: modal message boxes, file dialogs, the password
// prompt, letting pending window events run, and ending the application. The program uses
// a Qt implementation; tests install a scripted one that answers dialogs and records what
// was shown.
class UiShell {
public:
    virtual ~UiShell() = default;

    // A modal message box with the text, the caption and an OK button, owned by no window.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

    // A modal question with the text, the caption and the buttons "Yes" and "No" ("No" is
    // the default), owned by no window. True for "Yes". A shell that cannot ask answers "No",
    // so nothing is replaced or lost without the user's word.
    virtual bool AskYesNo(const std::string& text, const std::string& caption);

    // Modal file dialogs; std::nullopt when the user cancels.
    virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;

    // The modal password prompt. It stays open until `accept` returns true for the text
    // typed (then true) or the user cancels (then false).
    virtual bool AskPassword(const std::function<bool(const std::string&)>& accept) = 0;

    // Lets the window system deliver the events that are waiting.
    virtual void ProcessPendingEvents() = 0;
    // Lets the window system deliver the waiting events that are not the user's input
    // (windows shown and uncovered, repaints), so that a notice shown during long work is
    // drawn while the work goes on; clicks and keys wait. Nothing to do without windows.
    virtual void ProcessPendingPaints() {}

    // Asks the application to end; it ends when control returns to the event loop, so the
    // operation in progress finishes first.
    virtual void EndApplication() = 0;
    virtual bool EndRequested() const = 0;

    // One line for a debugger's output window.
    virtual void DebugOutput(const std::string& line) = 0;
};

// The shell in use. Until one is installed, a quiet shell answers every dialog with
// "cancel" and records nothing.
UiShell& Shell();

// Installs a shell (not owned) and returns the previous one; nullptr restores the default.
UiShell* InstallShell(UiShell* shell);

// Installs a shell for the lifetime of this object and restores the previous one.
class ScopedShell {
public:
    explicit ScopedShell(UiShell& shell) : previous_(InstallShell(&shell)) {}
    ~ScopedShell() { InstallShell(previous_); }
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    UiShell* previous_;
};
