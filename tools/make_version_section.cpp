// Writes a C++ source that defines the program's version information block and places it in
// the ELF section ".versioninfo", where GetFileVersionInfo finds it in the linked program.
// Usage: make_version_section <output.cpp>
// The output is rewritten only when its contents change, so a rebuild does not relink.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/os/version_block.h"

namespace {

std::string SourceText(const std::vector<uint8_t>& block) {
    std::ostringstream out;
    out << "// The program's version information block (file version " << kProgramFileVersion
        << ").\n"
        << "// It lives in its own ELF section, \".versioninfo\", so that the version information\n"
        << "// of the program file can be read like that of any other file. \"used\" keeps the\n"
        << "// compiler from dropping it and \"retain\" keeps the linker from collecting it.\n\n"
        << "alignas(4) __attribute__((section(\".versioninfo\"), used, retain))\n"
        << "extern const unsigned char kVelmoraVersionInfo[" << block.size() << "] = {";
    for (size_t i = 0; i < block.size(); ++i) {
        out << (i % 16 == 0 ? "\n    " : " ");
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X,", block[i]);
        out << byte;
    }
    out << "\n};\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_version_section <output.cpp>\n");
        return 2;
    }
    const std::vector<uint8_t> block = BuildProgramVersionBlock();
    if (block.empty()) {
        std::fprintf(stderr, "make_version_section: the version block is too large\n");
        return 1;
    }
    const std::string text = SourceText(block);

    std::ifstream existing(argv[1], std::ios::binary);
    if (existing) {
        const std::string old{std::istreambuf_iterator<char>(existing),
                              std::istreambuf_iterator<char>()};
        if (old == text) {
            return 0;
        }
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_version_section: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
