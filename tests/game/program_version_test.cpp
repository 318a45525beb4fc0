#include "game/program_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os/version_block.h"
#include "support/executable_image_builder.h"
#include "support/temp_dir.h"

namespace {

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> PeWithVersion(std::string_view fileVersion, uint16_t language) {
    const VersionStringEntry strings[] = {{"FileVersion", std::string(fileVersion)}};
    PeImageOptions options;
    options.versionBlock = BuildVersionBlock(fileVersion, language, 1252, strings);
    return BuildPeImage(options).bytes;
}

TEST(ProgramVersion, WithoutVersionInformationTheLabelsKeepTheirTexts) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    ProgramVersion missing = ProbeProgramVersion("tarrowind.exe");
    EXPECT_EQ(missing.VersionLabel, "Unknown!");
    EXPECT_EQ(missing.LanguageLabel, "Unkown!");
    EXPECT_EQ(missing.VersionStampA, 0.0f);
    EXPECT_EQ(missing.VersionStampB, 0.0f);

    PeImageOptions noVersion;
    noVersion.withVersion = false;
    WriteBytes("tarrowind.exe", BuildPeImage(noVersion).bytes);
    ProgramVersion bare = ProbeProgramVersion("tarrowind.exe");
    EXPECT_EQ(bare.VersionLabel, "Unknown!");
    EXPECT_EQ(bare.VersionStampA, 0.0f);
}

TEST(ProgramVersion, ReadsAProgramFileFoundWithoutRegardToCase) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    WriteBytes("TarroWind.EXE", PeWithVersion("1.2", 0x0409));
    ProgramVersion version = ProbeProgramVersion("tarrowind.exe");
    EXPECT_EQ(version.VersionLabel, "1.2");
    EXPECT_EQ(version.LanguageLabel, "English (United States)");
    EXPECT_FLOAT_EQ(version.VersionStampA, 12.0f);
    EXPECT_FLOAT_EQ(version.VersionStampB, 12.0f);
}

TEST(ProgramVersion, AVersionThatIsNoNumberLeavesTheStampsZero) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    WriteBytes("tarrowind.exe", PeWithVersion("beta", 0x0407));
    ProgramVersion version = ProbeProgramVersion("tarrowind.exe");
    EXPECT_EQ(version.VersionLabel, "beta");
    EXPECT_EQ(version.LanguageLabel, "German (Germany)");
    EXPECT_EQ(version.VersionStampA, 0.0f);
    EXPECT_EQ(version.VersionStampB, 0.0f);
}

TEST(ProgramVersion, TheBuiltProgramCarriesItsVersion) {
    std::filesystem::path program = std::filesystem::path(VELMORA_RUN_DIR) / "tarrowind.exe";
    if (!std::filesystem::exists(program))
        GTEST_SKIP() << "the game program is not built";
    WorkingDirectory cwd(VELMORA_RUN_DIR);
    ProgramVersion version = ProbeProgramVersion("tarrowind.exe");
    EXPECT_EQ(version.VersionLabel, "0.3.6.340");
    EXPECT_EQ(version.LanguageLabel, "English (United States)");
    EXPECT_FLOAT_EQ(version.VersionStampA, 3.634f);
    EXPECT_FLOAT_EQ(version.VersionStampB, 3.634f);
}

}  // namespace
