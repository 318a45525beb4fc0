// Packs the readable record sources (data/records/*.rec) into the byte layouts the program
// reads, and writes them as one C++ source of byte arrays for the built-in record store.
//
// Source format, one directive per line ('#' starts a comment outside quotes):
//   record NAME        starts a record
//   text "..."         8-bit text and its terminating 0; escapes \n \r \t \" \\ \xHH
//   i16 v ...          signed 16-bit little-endian values
//   i32 v ...          signed 32-bit little-endian values
//   u8 v ...           single bytes

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Record {
    std::string name;
    std::vector<uint8_t> bytes;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    std::cerr << file << ":" << line << ": " << what << "\n";
    std::exit(1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::vector<uint8_t> ParseText(const std::string& rest, const std::string& file, int line) {
    size_t start = rest.find('"');
    if (start == std::string::npos)
        Fail(file, line, "text needs a quoted string");
    std::vector<uint8_t> out;
    size_t i = start + 1;
    for (;; ++i) {
        if (i >= rest.size())
            Fail(file, line, "unterminated string");
        char c = rest[i];
        if (c == '"')
            break;
        if (c != '\\') {
            out.push_back(static_cast<uint8_t>(c));
            continue;
        }
        if (++i >= rest.size())
            Fail(file, line, "bad escape");
        switch (rest[i]) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case '"':
                out.push_back('"');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case 'x': {
                if (i + 2 >= rest.size())
                    Fail(file, line, "bad \\x escape");
                int hi = HexDigit(rest[i + 1]);
                int lo = HexDigit(rest[i + 2]);
                if (hi < 0 || lo < 0)
                    Fail(file, line, "bad \\x escape");
                out.push_back(static_cast<uint8_t>(hi * 16 + lo));
                i += 2;
                break;
            }
            default:
                Fail(file, line, "unknown escape");
        }
    }
    for (uint8_t b : out) {
        if (b == 0)
            Fail(file, line, "a text cannot hold a 0 byte");
    }
    size_t tail = rest.find_first_not_of(" \t", i + 1);
    if (tail != std::string::npos && rest[tail] != '#')
        Fail(file, line, "text after the string");
    out.push_back(0);
    return out;
}

void ParseNumbers(const std::string& rest, int width, std::vector<uint8_t>& out,
                  const std::string& file, int line) {
    std::string body = rest.substr(0, rest.find('#'));
    std::istringstream in(body);
    std::string token;
    bool any = false;
    while (in >> token) {
        char* end = nullptr;
        long long value = std::strtoll(token.c_str(), &end, 0);
        if (*end != '\0')
            Fail(file, line, "not a number: " + token);
        long long lo = width == 1 ? 0 : -(1LL << (width * 8 - 1));
        long long hi = width == 1 ? 255 : (1LL << (width * 8 - 1)) - 1;
        if (value < lo || value > hi)
            Fail(file, line, "out of range: " + token);
        auto bits = static_cast<uint64_t>(value);
        for (int b = 0; b < width; ++b)
            out.push_back(static_cast<uint8_t>(bits >> (8 * b)));
        any = true;
    }
    if (!any)
        Fail(file, line, "no values");
}

void ParseFile(const std::string& file, std::vector<Record>& records) {
    std::ifstream in(file);
    if (!in)
        Fail(file, 0, "cannot open");
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        size_t wordEnd = text.find_first_of(" \t", first);
        std::string word = text.substr(first, wordEnd - first);
        std::string rest = wordEnd == std::string::npos ? "" : text.substr(wordEnd);
        if (word == "record") {
            std::istringstream names(rest.substr(0, rest.find('#')));
            Record r;
            if (!(names >> r.name))
                Fail(file, line, "record needs a name");
            records.push_back(r);
            continue;
        }
        if (records.empty())
            Fail(file, line, "data before the first record");
        std::vector<uint8_t>& bytes = records.back().bytes;
        if (word == "text") {
            auto t = ParseText(rest, file, line);
            bytes.insert(bytes.end(), t.begin(), t.end());
        } else if (word == "i16") {
            ParseNumbers(rest, 2, bytes, file, line);
        } else if (word == "i32") {
            ParseNumbers(rest, 4, bytes, file, line);
        } else if (word == "u8") {
            ParseNumbers(rest, 1, bytes, file, line);
        } else {
            Fail(file, line, "unknown directive " + word);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: pack_records OUTPUT.cpp [SOURCE.rec ...]\n";
        return 2;
    }
    std::vector<Record> records;
    for (int i = 2; i < argc; ++i)
        ParseFile(argv[i], records);

    std::set<std::string> seen;
    for (const Record& r : records) {
        std::string upper;
        for (char c : r.name)
            upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        if (!seen.insert(upper).second)
            Fail(r.name, 0, "record name used twice");
    }

    std::ostringstream out;
    out << "// Written by tools/pack_records from data/records; do not edit.\n"
        << "#include \"platform/os/named_records.h\"\n\n"
        << "namespace {\n";
    for (size_t i = 0; i < records.size(); ++i) {
        out << "const unsigned char kRecord" << i << "[] = {";
        const auto& bytes = records[i].bytes;
        for (size_t b = 0; b < bytes.size(); ++b) {
            if (b % 20 == 0)
                out << "\n    ";
            out << static_cast<int>(bytes[b]) << ",";
        }
        if (bytes.empty())
            out << "0";
        out << "\n};\n";
    }
    out << "}  // namespace\n\n"
        << "const NamedRecordEntry kBuiltInRecordEntries[] = {\n";
    for (size_t i = 0; i < records.size(); ++i) {
        out << "    {\"" << records[i].name << "\", kRecord" << i << ", " << records[i].bytes.size()
            << "},\n";
    }
    if (records.empty())
        out << "    {\"\", nullptr, 0},\n";
    out << "};\n"
        << "const size_t kBuiltInRecordCount = " << records.size() << ";\n";

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
