// velmora-tool: the command line tool for hosts and scripts.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tool/commands.h"

// Each command lives in its own file of this folder and is listed here:
//   extern const ToolCommand kNameCommand;  and  kNameCommand,  in the list below.
extern const ToolCommand kRaceCommand;
extern const ToolCommand kDumpCommand;
extern const ToolCommand kRenderCommand;
extern const ToolCommand kCreateCommand;

const std::vector<ToolCommand>& ToolCommands() {
    static const std::vector<ToolCommand> commands = {
        kRaceCommand,
        kDumpCommand,
        kRenderCommand,
        kCreateCommand,
    };
    return commands;
}

namespace {

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "Usage: velmora-tool COMMAND [OPTIONS]\n\n"
                 "Commands for hosts and scripts working with Velmora game files:\n");
    for (const ToolCommand& command : ToolCommands()) {
        std::fprintf(out, "  %-8s %s\n", command.name, command.summary);
    }
    std::fprintf(out, "  %-8s %s\n", "help", "show this list, or a command's usage: help COMMAND");
    std::fprintf(out, "\nRun 'velmora-tool COMMAND --help' for a command's options.\n");
}

const ToolCommand* FindCommand(const std::string& name) {
    for (const ToolCommand& command : ToolCommands()) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        if (name == "help" && argc > 2) {
            if (const ToolCommand* command = FindCommand(argv[2])) {
                std::fputs(command->usage, stdout);
                return 0;
            }
        }
        PrintHelp(stdout);
        return 0;
    }
    const ToolCommand* command = FindCommand(name);
    if (command == nullptr) {
        std::fprintf(stderr, "velmora-tool: unknown command '%s'\n\n", name.c_str());
        PrintHelp(stderr);
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(command->usage, stdout);
            return 0;
        }
    }
    return command->run(args);
}
