#include "platform/os/file_write.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The most links followed from a name to the file it stands for.
constexpr int kMaxLinkHops = 40;
// The most names tried for a temporary or backup file before giving up.
constexpr int kMaxNameTries = 100;

constexpr size_t kWriteSteps = 4;

struct FaultPlan {
    bool Active = false;
    int Nth = 0;
    int Error = 0;
    int Calls = 0;
};

std::array<FaultPlan, kWriteSteps>& Plans() {
    static std::array<FaultPlan, kWriteSteps> plans;
    return plans;
}

// The error the test seam injects into this call of the step, or 0.
int InjectedError(WriteStep step) {
    FaultPlan& plan = Plans()[static_cast<size_t>(step)];
    if (!plan.Active)
        return 0;
    ++plan.Calls;
    return plan.Nth == 0 || plan.Calls == plan.Nth ? plan.Error : 0;
}

WriteFailure FailureFromErrno(const std::string& path, int error) {
    return WriteFailure{path, std::strerror(error)};
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file a name stands for: the name itself, or the end of its chain of symbolic links
// (which need not exist yet). Fails with ELOOP for a chain that does not end.
bool ResolveLinks(const std::string& path, std::string& target, int& error) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current;
            return true;
        }
        std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<size_t>(length));
        current = !link.empty() && link[0] == '/' ? link : FolderOf(current) + "/" + link;
    }
    error = ELOOP;
    return false;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes, int& error) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            error = wrote < 0 ? errno : ENOSPC;
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Flushes a written file to disk and closes it. After an earlier failure (ok false) the file
// is only closed, and `error` keeps that failure's reason.
bool FlushAndClose(int fd, bool ok, int& error) {
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok;
}

// Reads a whole regular file; false when it cannot be read.
bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes.clear();
    uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            ok = false;
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    return ok;
}

// Rewrites an existing file in place: opened without truncation, written, cut to length
// and flushed.
bool RewriteInPlace(const std::string& target, std::span<const uint8_t> bytes, int& error) {
    if (int injected = InjectedError(WriteStep::OpenInPlace)) {
        error = injected;
        return false;
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    bool ok = WriteAll(fd, bytes, error);
    if (ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
        ok = false;
    }
    return FlushAndClose(fd, ok, error);
}

void FlushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some file systems cannot flush a folder; the files themselves are already on disk.
    ::fsync(fd);
    ::close(fd);
}

// One file of a set on its way to its target.
struct Staged {
    std::string Target;           // the file the name stands for (links followed)
    bool Existed = false;         // the target was there before
    std::string Temporary;        // the written sibling; empty when rewritten in place
    std::string Backup;           // a second name of the old file while the set is renamed
    bool BackupByRename = false;  // the old file was moved, not linked, to the backup
    bool Renamed = false;
    bool InPlace = false;
    bool Rewritten = false;
    std::vector<uint8_t> OldBytes;  // of a file rewritten in place
};

// Creates a file beside `target` under a free name "<target><suffix><pid>-<n>".
int CreateSibling(const std::string& target, const char* suffix, mode_t mode, std::string& name,
                  int& error) {
    for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
        name = target + suffix + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Writes one file to its temporary sibling, or marks it for a rewrite in place. On failure
// `error` holds the system's reason and nothing of this file is left behind.
bool Stage(const std::string& path, std::span<const uint8_t> bytes, Staged& staged, int& error) {
    if (!ResolveLinks(path, staged.Target, error))
        return false;
    struct stat info {};
    staged.Existed = ::stat(staged.Target.c_str(), &info) == 0;
    if (staged.Existed && S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return false;
    }

    int fd = -1;
    if (int injected = InjectedError(WriteStep::CreateTemporary)) {
        error = injected;
    } else {
        fd = CreateSibling(staged.Target, ".tmp", 0644, staged.Temporary, error);
    }
    if (fd < 0) {
        staged.Temporary.clear();
        // A folder that cannot take a new file may still hold a file that can be written.
        if (staged.Existed && S_ISREG(info.st_mode) && ::access(staged.Target.c_str(), W_OK) == 0) {
            staged.InPlace = true;
            return true;
        }
        return false;
    }

    bool ok = true;
    if (staged.Existed) {
        // The new file takes the place of the old one, so it takes its owner and mode too.
        if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
            if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
                // Only the owner's permission bits are kept when the owner cannot be.
            }
        }
        if (::fchmod(fd, info.st_mode & 07777) != 0) {
            error = errno;
            ok = false;
        }
    }
    if (ok) {
        if (int injected = InjectedError(WriteStep::WriteData)) {
            error = injected;
            ok = false;
        }
    }
    ok = ok && WriteAll(fd, bytes, error);
    ok = FlushAndClose(fd, ok, error);
    if (!ok) {
        ::unlink(staged.Temporary.c_str());
        staged.Temporary.clear();
    }
    return ok;
}

// Gives the old file a second name, so it can be put back after its target was replaced.
bool KeepOldFile(Staged& staged, int& error) {
    for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
        staged.Backup =
            staged.Target + ".old" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        if (::link(staged.Target.c_str(), staged.Backup.c_str()) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        // File systems without hard links: move the old file aside instead.
        struct stat existing {};
        if (::lstat(staged.Backup.c_str(), &existing) == 0)
            continue;
        if (::rename(staged.Target.c_str(), staged.Backup.c_str()) == 0) {
            staged.BackupByRename = true;
            return true;
        }
        error = errno;
        staged.Backup.clear();
        return false;
    }
    error = EEXIST;
    staged.Backup.clear();
    return false;
}

// Puts every file of the set back as it was before Commit and removes what it made.
void RollBack(std::vector<Staged>& set) {
    for (auto it = set.rbegin(); it != set.rend(); ++it) {
        Staged& staged = *it;
        if (staged.Rewritten) {
            int ignored = 0;
            RewriteInPlace(staged.Target, staged.OldBytes, ignored);
        }
        if (staged.Renamed || staged.BackupByRename) {
            if (!staged.Backup.empty()) {
                ::rename(staged.Backup.c_str(), staged.Target.c_str());
                staged.Backup.clear();
            } else if (!staged.Existed) {
                ::unlink(staged.Target.c_str());
            }
        }
        if (!staged.Backup.empty())
            ::unlink(staged.Backup.c_str());
        if (!staged.Temporary.empty() && !staged.Renamed)
            ::unlink(staged.Temporary.c_str());
    }
}

}  // namespace

std::string DescribeWriteFailure(const WriteFailure& failure) {
    return failure.Path + ": " + failure.Reason;
}

std::optional<WriteFailure> WriteFileAtomically(const std::string& path,
                                                std::span<const uint8_t> bytes) {
    FileSetWriter writer;
    writer.Add(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    return writer.Commit();
}

void FileSetWriter::Add(std::string path, std::vector<uint8_t> bytes) {
    files_.push_back(File{std::move(path), std::move(bytes)});
}

std::optional<WriteFailure> FileSetWriter::Commit() {
    std::vector<Staged> set(files_.size());
    int error = 0;
    for (size_t i = 0; i < files_.size(); ++i) {
        if (!Stage(files_[i].Path, files_[i].Bytes, set[i], error)) {
            RollBack(set);
            return FailureFromErrno(files_[i].Path, error);
        }
    }

    // The last file renamed needs no second name for its old file when nothing can fail
    // after it.
    size_t lastRenamed = set.size();
    bool anyInPlace = false;
    for (size_t i = 0; i < set.size(); ++i) {
        if (set[i].InPlace)
            anyInPlace = true;
        else
            lastRenamed = i;
    }

    for (size_t i = 0; i < set.size(); ++i) {
        Staged& staged = set[i];
        if (staged.InPlace)
            continue;
        const bool keepOld = staged.Existed && (anyInPlace || i != lastRenamed);
        if (keepOld && !KeepOldFile(staged, error)) {
            RollBack(set);
            return FailureFromErrno(files_[i].Path, error);
        }
        int injected = InjectedError(WriteStep::Rename);
        if (injected != 0 || std::rename(staged.Temporary.c_str(), staged.Target.c_str()) != 0) {
            error = injected != 0 ? injected : errno;
            RollBack(set);
            return FailureFromErrno(files_[i].Path, error);
        }
        staged.Renamed = true;
    }

    for (size_t i = 0; i < set.size(); ++i) {
        Staged& staged = set[i];
        if (!staged.InPlace)
            continue;
        if (!ReadAll(staged.Target, staged.OldBytes)) {
            RollBack(set);
            return FailureFromErrno(files_[i].Path, errno != 0 ? errno : EIO);
        }
        staged.Rewritten = true;
        if (!RewriteInPlace(staged.Target, files_[i].Bytes, error)) {
            RollBack(set);
            return FailureFromErrno(files_[i].Path, error);
        }
    }

    std::set<std::string> folders;
    for (Staged& staged : set) {
        if (!staged.Backup.empty())
            ::unlink(staged.Backup.c_str());
        folders.insert(FolderOf(staged.Target));
    }
    for (const std::string& folder : folders)
        FlushFolder(folder);
    return std::nullopt;
}

ScopedWriteFault::ScopedWriteFault(WriteStep step, int nth, int error) : step_(step) {
    Plans()[static_cast<size_t>(step)] = FaultPlan{true, nth, error, 0};
}

ScopedWriteFault::~ScopedWriteFault() {
    Plans()[static_cast<size_t>(step_)] = FaultPlan{};
}
