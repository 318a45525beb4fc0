#include "platform/os/ui_shell.h"

#include <cstdio>

namespace {

class QuietShell final : public UiShell {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s: %s (answered No)\n", caption.c_str(), text.c_str());
        return false;
    }
    std::optional<std::string> OpenFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
    bool AskPassword(const std::function<bool(const std::string&)>&) override { return false; }
    void ProcessPendingEvents() override {}
    void EndApplication() override { ended_ = true; }
    bool EndRequested() const override { return ended_; }
    void DebugOutput(const std::string& line) override {
        std::fprintf(stderr, "%s\n", line.c_str());
    }

private:
    bool ended_ = false;
};

UiShell* g_shell = nullptr;

}  // namespace

bool UiShell::AskYesNo(const std::string&, const std::string&) {
    return false;
}

UiShell& Shell() {
    static QuietShell quiet;
    return g_shell != nullptr ? *g_shell : quiet;
}

UiShell* InstallShell(UiShell* shell) {
    UiShell* previous = g_shell;
    g_shell = shell;
    return previous;
}
