// The manual page and the shell completion of velmora-tool keep in step with its --help.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/file_contents.h"

namespace {

const std::string kPackaging = std::string(VELMORA_SOURCE_DIR) + "/packaging/";

// What the tool prints for these arguments on its standard output.
std::string ToolOutput(const std::string& arguments) {
    const std::string command = std::string(VELMORA_TOOL_PROGRAM) + " " + arguments;
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, read);
        pclose(pipe);
    }
    return output;
}

// The commands listed by --help: the indented lines after "Commands".
std::set<std::string> Commands(const std::string& help) {
    std::set<std::string> commands;
    const std::regex line(R"(^  ([a-z]+) +\S)");
    std::istringstream lines(help);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        if (std::regex_search(text, match, line))
            commands.insert(match[1]);
    }
    return commands;
}

// The options a usage text names ("--tiles", "-o"), each after a space, "[", "," or "|".
std::set<std::string> Options(const std::string& usage) {
    std::set<std::string> options;
    const std::regex option(R"((^|[\s\[,|'])(--?[a-z][a-z-]*))");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
         it != std::sregex_iterator(); ++it) {
        options.insert((*it)[2]);
    }
    return options;
}

// A manual page's text with its font changes removed and "\-" read as "-".
std::string PlainManualText(std::string page) {
    page = std::regex_replace(page, std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(page, std::regex(R"(\\-)"), "-");
}

bool NamesWord(const std::string& text, const std::string& word) {
    // Options and commands hold only letters and '-', which stand for themselves here.
    const std::regex whole("(^|[^A-Za-z0-9-])" + word + "([^A-Za-z0-9-]|$)");
    return std::regex_search(text, whole);
}

// The commands and options of the tool, asked once for all checks.
class ToolManual : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        help = ToolOutput("--help");
        commands = Commands(help);
        options = Options(help);
        for (const std::string& command : commands) {
            if (command == "help")
                continue;
            const std::string usage = ToolOutput("help " + command);
            usages += usage;
            for (const std::string& option : Options(usage))
                options.insert(option);
        }
    }

    void SetUp() override {
        ASSERT_NE(help.find("Usage: velmora-tool COMMAND"), std::string::npos) << help;
        ASSERT_TRUE(commands.count("create")) << help;
        for (const std::string& command : commands) {
            if (command == "help")
                continue;
            ASSERT_NE(usages.find("Usage: velmora-tool " + command), std::string::npos) << usages;
        }
        ASSERT_TRUE(options.count("--tiles"));
        ASSERT_TRUE(options.count("-o"));
    }

    static inline std::string help;
    static inline std::string usages;
    static inline std::set<std::string> commands;
    static inline std::set<std::string> options;
};

TEST_F(ToolManual, PageNamesEveryCommandAndOption) {
    const std::string page = PlainManualText(ReadText(kPackaging + "velmora-tool.6"));
    ASSERT_FALSE(page.empty());
    for (const std::string& command : commands) {
        EXPECT_TRUE(std::regex_search(page, std::regex("\\.SS \"" + command + "[ \"]")))
            << "no section for the command " << command;
    }
    for (const std::string& option : options) {
        EXPECT_TRUE(NamesWord(page, option)) << "the page does not name " << option;
    }
}

TEST_F(ToolManual, CompletionOffersEveryCommandAndOption) {
    const std::string completion = ReadText(kPackaging + "velmora-tool.bash-completion");
    ASSERT_FALSE(completion.empty());
    for (const std::string& command : commands) {
        EXPECT_TRUE(NamesWord(completion, command)) << "no completion of " << command;
    }
    for (const std::string& option : options) {
        EXPECT_TRUE(NamesWord(completion, option)) << "no completion of " << option;
    }
}

}  // namespace
