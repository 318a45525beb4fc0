// Writes the source that carries the program's version information block.
#include <fstream>
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ofstream out(argv[1]);
    out << "// No version information block.\n";
    return out ? 0 : 1;
}
