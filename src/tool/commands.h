#pragma once

#include <string>
#include <vector>

// One command of velmora-tool: its name, a one-line summary, its usage text and the
// function that runs it with the arguments after the command name. A command returns the
// process exit code and prints its errors to stderr.
struct ToolCommand {
    const char* name;
    const char* summary;
    const char* usage;
    int (*run)(const std::vector<std::string>& args);
};

// The commands, in the order --help lists them.
const std::vector<ToolCommand>& ToolCommands();
