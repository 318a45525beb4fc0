// `cmake --install` of this build into a temporary prefix: the programs, the data the game
// looks up, the desktop entry, icons, metadata, file types, manual pages and documents.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/program_version.h"
#include "platform/os/file_lookup.h"
#include "support/data_folder_in_use.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "view/headless_views.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Runs a command with its output in a log file; the log is returned for failure messages.
int RunCommand(const std::string& command, const fs::path& log, std::string* output = nullptr) {
    const int status = std::system((command + " >" + Quoted(log) + " 2>&1").c_str());
    if (output != nullptr)
        *output = ReadText(log);
    return status;
}

// The lines of a desktop entry file, "Key=Value", by key.
std::map<std::string, std::string> DesktopEntryKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

class InstalledTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<TempDir>();
        const std::string command = std::string(VELMORA_CMAKE_COMMAND) + " --install " +
                                    Quoted(VELMORA_BINARY_DIR) + " --prefix " +
                                    Quoted(Prefix() / "usr");
        installStatus_ = RunCommand(command, prefix_->path() / "install.log", &installLog_);
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override { ASSERT_EQ(installStatus_, 0) << installLog_; }

    static fs::path Prefix() { return prefix_->path(); }
    static fs::path Usr() { return Prefix() / "usr"; }
    static fs::path Share() { return Usr() / "share"; }
    static fs::path Games() { return Usr() / VELMORA_INSTALL_GAMESDIR; }
    static fs::path Data() { return Usr() / VELMORA_INSTALL_DATADIR; }
    static fs::path Log(const std::string& name) { return Prefix() / (name + ".log"); }

private:
    static inline std::unique_ptr<TempDir> prefix_;
    static inline int installStatus_ = -1;
    static inline std::string installLog_;
};

TEST_F(InstalledTree, ProgramsAreInstalledAndFindTheirData) {
    for (const fs::path& path : {Games() / "velmora", Usr() / "bin" / "velmora-tool"}) {
        ASSERT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_NE(fs::status(path).permissions() & fs::perms::others_exec, fs::perms::none) << path;
    }
    // The program finds the data folder from its own place, wherever the tree was put.
    EXPECT_EQ(fs::path(FindDataFolder((Games() / "velmora").string(), VELMORA_DATA_FROM_PROGRAM)),
              Data());
}

TEST_F(InstalledTree, DataFolderHoldsEveryFileTheGameLooksUp) {
    DataFolderInUse data(Data());
    // The sphere mesh and every tile art bitmap the views load.
    EXPECT_EQ(MissingViewFiles(), std::vector<std::string>{});
    // The component tile (named with another case than its folder) and the help.
    EXPECT_TRUE(GameFileExists("GameArt\\ItemTileTemplate.bmp"));
    EXPECT_TRUE(GameFileExists("HelpFile\\Tarrowind Help.html"));
    // The version information of the title screen: a relative link to the program.
    const fs::path version = Data() / "tarrowind.exe";
    ASSERT_TRUE(fs::is_symlink(version));
    EXPECT_TRUE(fs::read_symlink(version).is_relative());
    EXPECT_EQ(fs::canonical(version), fs::canonical(Games() / "velmora"));
    EXPECT_EQ(ProbeProgramVersion("tarrowind.exe").VersionLabel, VELMORA_PROJECT_VERSION);

    // The build's marker files stay out of the tree.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Prefix())) {
        EXPECT_NE(entry.path().filename(), ".stamp") << entry.path();
    }
}

TEST_F(InstalledTree, DesktopEntryStartsTheGameWithOneFile) {
    const fs::path entry = Share() / "applications" / (std::string(VELMORA_APP_ID) + ".desktop");
    ASSERT_TRUE(fs::is_regular_file(entry));
    const std::map<std::string, std::string> keys = DesktopEntryKeys(ReadText(entry));
    EXPECT_EQ(keys.at("Exec"), "velmora %f");
    EXPECT_EQ(keys.at("MimeType"),
              "application/x-velmora-player;application/x-velmora-host;"
              "application/x-velmora-race;");
    EXPECT_EQ(keys.at("Icon"), VELMORA_APP_ID);
    EXPECT_EQ(keys.at("Categories"), "Game;StrategyGame;");

    ASSERT_STRNE(VELMORA_DESKTOP_FILE_VALIDATE, "")
        << "desktop-file-validate is missing: run scripts/install_deps.sh";
    std::string output;
    EXPECT_EQ(RunCommand(std::string(VELMORA_DESKTOP_FILE_VALIDATE) + " " + Quoted(entry),
                         Log("desktop-file-validate"), &output),
              0)
        << output;
}

TEST_F(InstalledTree, MetainfoValidatesAndNamesTheRelease) {
    const fs::path metainfo =
        Share() / "metainfo" / (std::string(VELMORA_APP_ID) + ".metainfo.xml");
    ASSERT_TRUE(fs::is_regular_file(metainfo));
    const std::string text = ReadText(metainfo);
    EXPECT_NE(text.find("<release version=\"" VELMORA_PROJECT_VERSION "\""), std::string::npos);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" VELMORA_APP_ID ".desktop<"),
              std::string::npos);

    ASSERT_STRNE(VELMORA_APPSTREAMCLI, "")
        << "appstreamcli is missing: run scripts/install_deps.sh";
    std::string output;
    EXPECT_EQ(
        RunCommand(std::string(VELMORA_APPSTREAMCLI) + " validate --no-net " + Quoted(metainfo),
                   Log("appstreamcli"), &output),
        0)
        << output;
}

TEST_F(InstalledTree, IconsComeInEveryThemeSizeAndAsSvg) {
    const fs::path theme = Share() / "icons" / "hicolor";
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const fs::path png = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                             (std::string(VELMORA_APP_ID) + ".png");
        const std::vector<uint8_t> bytes = ReadBytes(png);
        ASSERT_GE(bytes.size(), 24u) << png;
        // The PNG signature, then the header chunk with the width and height, big-endian.
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG") << png;
        EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR") << png;
        const auto at = [&](size_t i) {
            return (uint32_t{bytes[i]} << 24) | (uint32_t{bytes[i + 1]} << 16) |
                   (uint32_t{bytes[i + 2]} << 8) | uint32_t{bytes[i + 3]};
        };
        EXPECT_EQ(at(16), static_cast<uint32_t>(size)) << png;
        EXPECT_EQ(at(20), static_cast<uint32_t>(size)) << png;
    }
    const std::string svg =
        ReadText(theme / "scalable" / "apps" / (std::string(VELMORA_APP_ID) + ".svg"));
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos);
}

TEST_F(InstalledTree, FileTypesKnowAllTwelveExtensions) {
    ASSERT_STRNE(VELMORA_UPDATE_MIME_DATABASE, "")
        << "update-mime-database is missing: run scripts/install_deps.sh";
    const fs::path mime = Share() / "mime";
    ASSERT_TRUE(fs::is_regular_file(mime / "packages" / "velmora.xml"));
    std::string output;
    ASSERT_EQ(RunCommand(std::string(VELMORA_UPDATE_MIME_DATABASE) + " " + Quoted(mime),
                         Log("update-mime-database"), &output),
              0)
        << output;

    // globs2 lines read "weight:type:pattern[:flags]"; "cs" marks an exact-case pattern.
    std::map<std::string, std::string> typeOf;
    std::istringstream lines(ReadText(mime / "globs2"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, ':');)
            fields.push_back(field);
        if (fields.size() >= 4 && fields[3] == "cs")
            typeOf[fields[2]] = fields[1];
    }
    std::map<std::string, std::string> expected;
    for (int player = 1; player <= 10; ++player) {
        expected[(player < 10 ? "*.p0" : "*.p") + std::to_string(player)] =
            "application/x-velmora-player";
    }
    expected["*.hst"] = "application/x-velmora-host";
    expected["*.rce"] = "application/x-velmora-race";
    EXPECT_EQ(typeOf, expected);

    // Player and host files share a content type that their first bytes tell.
    const std::string subclasses = ReadText(mime / "subclasses");
    EXPECT_NE(subclasses.find("application/x-velmora-player application/x-velmora-game"),
              std::string::npos);
    EXPECT_NE(subclasses.find("application/x-velmora-host application/x-velmora-game"),
              std::string::npos);
}

TEST_F(InstalledTree, ManualPagesCompletionAndDocuments) {
    for (const char* page : {"velmora.6.gz", "velmora-tool.6.gz"}) {
        const std::vector<uint8_t> bytes =
            ReadBytes(Usr() / VELMORA_INSTALL_MANDIR / "man6" / page);
        ASSERT_GE(bytes.size(), 2u) << page;
        EXPECT_EQ(bytes[0], 0x1f) << page;  // gzip
        EXPECT_EQ(bytes[1], 0x8b) << page;
    }
    const std::string completion =
        ReadText(Share() / "bash-completion" / "completions" / "velmora-tool");
    EXPECT_NE(completion.find("complete -F _velmora_tool velmora-tool"), std::string::npos);

    const fs::path doc = Share() / "doc" / "velmora";
    const std::string copyright = ReadText(doc / "copyright");
    EXPECT_EQ(copyright.rfind("Format: https://www.debian.org/doc/packaging-manuals/"
                              "copyright-format/1.0/\n",
                              0),
              0u);
    EXPECT_NE(copyright.find("\nCopyright: 2026 The Velmora developers\nLicense: Expat\n"),
              std::string::npos);
    // The licence text of LICENSE, each line indented and each empty line a lone dot.
    EXPECT_NE(copyright.find("\n Permission is hereby granted, free of charge,"),
              std::string::npos);
    EXPECT_NE(copyright.find("\n .\n THE SOFTWARE IS PROVIDED \"AS IS\""), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(doc / "changelog.gz"));
}

}  // namespace
