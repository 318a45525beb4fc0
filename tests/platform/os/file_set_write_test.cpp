#include "platform/os/file_write.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

// Five files of which the first, third and fifth exist with old bytes; the set would give
// each new bytes.
class FiveFiles : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            names.push_back(dir.File("game.f" + std::to_string(i)));
            if (i % 2 == 0)
                Write(names.back(), Bytes(10 + i, static_cast<uint8_t>(i)));
        }
        before = Snapshot();
        entriesBefore = Entries(dir.path());
    }

    std::optional<WriteFailure> CommitAll() {
        FileSetWriter set;
        for (int i = 0; i < 5; ++i)
            set.Add(names[i], Bytes(100 + i, static_cast<uint8_t>(0x50 + i)));
        EXPECT_EQ(set.Size(), 5u);
        return set.Commit();
    }

    std::vector<std::optional<Bytes>> Snapshot() const {
        std::vector<std::optional<Bytes>> files;
        for (const std::string& name : names)
            files.push_back(fs::exists(name) ? std::optional<Bytes>(Read(name)) : std::nullopt);
        return files;
    }

    void ExpectUnchanged() const {
        EXPECT_EQ(Snapshot(), before);
        // No temporary or second name is left behind.
        EXPECT_EQ(Entries(dir.path()), entriesBefore);
    }

    TempDir dir;
    std::vector<std::string> names;
    std::vector<std::optional<Bytes>> before;
    std::set<std::string> entriesBefore;
};

TEST_F(FiveFiles, AllAreWrittenAndNothingElseIsLeft) {
    ASSERT_FALSE(CommitAll());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Read(names[i]), Bytes(100 + i, static_cast<uint8_t>(0x50 + i))) << i;
    EXPECT_EQ(Entries(dir.path()).size(), 5u);
}

TEST_F(FiveFiles, AFailureOnTheThirdLeavesAllFiveAsTheyWere) {
    {
        // Writing the third temporary file fails: nothing has been renamed yet.
        ScopedWriteFault fault(WriteStep::WriteData, 3, ENOSPC);
        std::optional<WriteFailure> failure = CommitAll();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Path, names[2]);
        EXPECT_EQ(failure->Reason, "No space left on device");
    }
    ExpectUnchanged();
    {
        // Renaming the third fails after the first two were renamed: they are put back (the
        // first to its old bytes, the second, new, removed).
        ScopedWriteFault fault(WriteStep::Rename, 3, EIO);
        std::optional<WriteFailure> failure = CommitAll();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Path, names[2]);
        EXPECT_EQ(failure->Reason, "Input/output error");
    }
    ExpectUnchanged();
    {
        // The last rename fails: all four before it go back.
        ScopedWriteFault fault(WriteStep::Rename, 5, EIO);
        ASSERT_TRUE(CommitAll());
    }
    ExpectUnchanged();
    {
        // A folder where the third file should go.
        fs::create_directory(names[2] + ".d");
        fs::remove(names[2]);
        fs::rename(names[2] + ".d", names[2]);
        std::optional<WriteFailure> failure = CommitAll();
        ASSERT_TRUE(failure);
        EXPECT_EQ(DescribeWriteFailure(*failure), names[2] + ": Is a directory");
        EXPECT_TRUE(fs::is_directory(names[2]));
        EXPECT_EQ(Read(names[0]), *before[0]);
        EXPECT_FALSE(fs::exists(names[1]));
    }
}

TEST(FileSetWriter, FoldersThatCannotTakeTheFilesNameTheReason) {
    TempDir dir;
    Write(dir.File("plain"), {1});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir.File("missing/war.hst"), "No such file or directory"},
        {dir.File("plain/war.hst"), "Not a directory"},
    };
    for (const auto& [path, reason] : cases) {
        std::optional<WriteFailure> failure = WriteFileAtomically(path, Bytes{1, 2});
        ASSERT_TRUE(failure) << path;
        EXPECT_EQ(failure->Path, path);
        EXPECT_EQ(failure->Reason, reason);
    }
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"plain"});
}

TEST(FileSetWriter, ALinkIsWrittenThroughAndStaysALink) {
    TempDir dir;
    fs::create_directory(dir.File("store"));
    Write(dir.File("store/war.p01"), {1, 2, 3});
    // A relative link to a link to the file, and a link whose file does not exist yet.
    fs::create_symlink("store/war.p01", dir.File("middle"));
    fs::create_symlink("middle", dir.File("war.p01"));
    fs::create_symlink(dir.File("store/war.p02"), dir.File("war.p02"));

    FileSetWriter set;
    set.Add(dir.File("war.p01"), Bytes{9, 9});
    set.Add(dir.File("war.p02"), Bytes{8});
    ASSERT_FALSE(set.Commit());

    EXPECT_TRUE(fs::is_symlink(dir.File("war.p01")));
    EXPECT_TRUE(fs::is_symlink(dir.File("middle")));
    EXPECT_TRUE(fs::is_symlink(dir.File("war.p02")));
    EXPECT_EQ(Read(dir.File("store/war.p01")), (Bytes{9, 9}));
    EXPECT_EQ(Read(dir.File("store/war.p02")), (Bytes{8}));
    EXPECT_EQ(Entries(dir.File("store")), (std::set<std::string>{"war.p01", "war.p02"}));

    // A chain of links that never ends is refused, and nothing is made.
    fs::create_symlink("loop", dir.File("loop"));
    std::optional<WriteFailure> failure = WriteFileAtomically(dir.File("loop"), Bytes{1});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Reason, "Too many levels of symbolic links");
    EXPECT_TRUE(fs::is_symlink(dir.File("loop")));
}

TEST(FileSetWriter, AReplacedFileKeepsItsModeAndANewOneGets0644LessTheUmask) {
    TempDir dir;
    const std::string kept = dir.File("war.hst");
    Write(kept, {1});
    ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
    ASSERT_FALSE(WriteFileAtomically(kept, Bytes{2, 2}));
    EXPECT_EQ(ModeOf(kept), 0640u);
    EXPECT_EQ(Read(kept), (Bytes{2, 2}));

    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_FALSE(WriteFileAtomically(dir.File("new.hst"), Bytes{3}));
    EXPECT_EQ(ModeOf(dir.File("new.hst")), 0644u & ~mask);
}

TEST(FileSetWriter, AFolderWithoutRoomForATemporaryFileIsWrittenInPlace) {
    TempDir dir;
    const std::string history = dir.File("war.H01");
    const std::string send = dir.File("war.S01");
    Write(history, Bytes(50, 7));  // longer than what replaces it
    Write(send, {1});
    const ino_t inode = InodeOf(history);
    {
        ScopedWriteFault folder(WriteStep::CreateTemporary, 0, EACCES);
        FileSetWriter set;
        set.Add(history, Bytes{4, 5});
        set.Add(send, Bytes{6});
        ASSERT_FALSE(set.Commit());
    }
    EXPECT_EQ(Read(history), (Bytes{4, 5}));
    EXPECT_EQ(Read(send), (Bytes{6}));
    EXPECT_EQ(InodeOf(history), inode);
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"war.H01", "war.S01"}));

    // A file that does not exist yet cannot be written in place: the folder's reason shows.
    {
        ScopedWriteFault folder(WriteStep::CreateTemporary, 0, EACCES);
        std::optional<WriteFailure> failure = WriteFileAtomically(dir.File("war.H02"), Bytes{1});
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Reason, "Permission denied");
    }
    // One file in place whose rewrite fails: the file renamed before it goes back too.
    Write(dir.File("war.hst"), {3, 3, 3});
    {
        ScopedWriteFault folder(WriteStep::CreateTemporary, 2, EACCES);
        ScopedWriteFault file(WriteStep::OpenInPlace, 0, EROFS);
        FileSetWriter set;
        set.Add(dir.File("war.hst"), Bytes{9});
        set.Add(history, Bytes{9, 9});
        std::optional<WriteFailure> failure = set.Commit();
        ASSERT_TRUE(failure);
        EXPECT_EQ(DescribeWriteFailure(*failure), history + ": Read-only file system");
    }
    EXPECT_EQ(Read(dir.File("war.hst")), (Bytes{3, 3, 3}));
    EXPECT_EQ(Read(history), (Bytes{4, 5}));
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"war.H01", "war.S01", "war.hst"}));
}

TEST(FileSetWriter, AReadOnlyFolderOfTheSystemIsWrittenInPlace) {
    // Folder permissions do not bind the superuser; the seam above covers that case.
    if (::geteuid() == 0)
        GTEST_SKIP() << "runs as root";
    TempDir dir;
    const std::string file = dir.File("war.S01");
    Write(file, {1, 1});
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    std::optional<WriteFailure> inPlace = WriteFileAtomically(file, Bytes{2});
    std::optional<WriteFailure> newFile = WriteFileAtomically(dir.File("war.H01"), Bytes{2});
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_FALSE(inPlace);
    EXPECT_EQ(Read(file), (Bytes{2}));
    ASSERT_TRUE(newFile);
    EXPECT_EQ(newFile->Reason, "Permission denied");
}

}  // namespace
