// A test fixture with the scripted shell installed and a temporary folder for the files that
// its dialogs are answered with.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

class ShellAndFolder : public ::testing::Test {
protected:
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    TempDir dir;

    // Exactly one message box was shown, with this text and caption; it is taken off the list.
    void ExpectOneMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, text);
        EXPECT_EQ(shell.messages[0].caption, caption);
        shell.messages.clear();
    }
};
