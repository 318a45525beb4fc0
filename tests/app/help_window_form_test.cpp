#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <filesystem>
#include <fstream>

#include "app/help_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "platform/os/ui_shell.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kSmallHelp =
    "<html><body>"
    "<h1>Help</h1>"
    "<h2><a name=\"creating\"></a>Creating a game</h2><p>Press Create Game.</p>"
    "<h2><a name=\"research\"></a>Research</h2><p>The queue holds Dragonflight.</p>"
    "<h2><a name=\"hosting\"></a>Hosting</h2><p>Open the host file. Later, a dragon.</p>"
    "</body></html>";

void WriteHelp(const TempDir& dir) {
    std::filesystem::create_directories(dir.path() / "HelpFile");
    std::ofstream(dir.path() / "HelpFile" / "Tarrowind Help.html") << kSmallHelp;
}

TEST(HelpWindow, ListsSectionsAndFindsWordsInEitherCase) {
    TempDir dir;
    WriteHelp(dir);
    WorkingDirectory cwd(dir.path());
    ScriptedUiShell shell;
    ScopedShell scoped(shell);

    THelpForm* window = nullptr;
    ShowHelpWindow(window, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_EQ(window->ContentsList->count(), 3);
    EXPECT_EQ(window->ContentsList->item(0)->text(), "Creating a game");
    EXPECT_EQ(window->ContentsList->item(1)->text(), "Research");
    EXPECT_EQ(window->ContentsList->item(2)->text(), "Hosting");
    window->ShowSection(2);

    // Two matches in order, then back to the first.
    ASSERT_TRUE(window->FindNext("DRAGON"));
    const int first = window->HelpBrowser->textCursor().selectionStart();
    EXPECT_EQ(window->HelpBrowser->textCursor().selectedText(), "Dragon");
    ASSERT_TRUE(window->FindNext("dragon"));
    const int second = window->HelpBrowser->textCursor().selectionStart();
    EXPECT_GT(second, first);
    ASSERT_TRUE(window->FindNext("dragon"));
    EXPECT_EQ(window->HelpBrowser->textCursor().selectionStart(), first);
    EXPECT_FALSE(window->FindNext("wyvern"));

    // Asking again keeps the same window.
    THelpForm* const kept = window;
    ShowHelpWindow(window, nullptr);
    EXPECT_EQ(window, kept);
    delete window;
}

TEST(HelpWindow, MissingFileGivesOneMessageAndNoWindow) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    ScriptedUiShell shell;
    ScopedShell scoped(shell);

    THelpForm* window = nullptr;
    ShowHelpWindow(window, nullptr);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "The help file HelpFile\\Tarrowind Help.html could not be found.");
    EXPECT_EQ(shell.messages[0].caption, "Help");
}

}  // namespace
