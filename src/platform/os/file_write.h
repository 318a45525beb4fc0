#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Why a file could not be written: the file's name and the reason the system gave
// ("Permission denied", "No such file or directory").
struct WriteFailure {
    std::string Path;
    std::string Reason;
};

// "<path>: <reason>", for the second line of a message box.
std::string DescribeWriteFailure(const WriteFailure& failure);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over
// `path`, so a failed write never destroys the file it would replace. Returns the failure
// (and leaves any old file as it was) when any step fails. It is a FileSetWriter of one
// file, so links, modes and folders without room for a temporary file are handled as
// described there.
std::optional<WriteFailure> WriteFileAtomically(const std::string& path,
                                                std::span<const uint8_t> bytes);

// Writes several files that belong together, so that either all of them are replaced or
// none is:
//   - Commit first writes every file to a temporary sibling and flushes it; only when all
//     are complete are they renamed over their targets. A failure while staging removes the
//     temporaries and changes nothing; a failure while renaming puts the files already
//     renamed back as they were.
//   - A target that is a symbolic link is written beside the file the link points to, and
//     the link stays a link.
//   - A replaced file keeps its mode (and, where the system allows it, its owner); a new
//     file is made with mode 0644 less the umask.
//   - Where the folder cannot take a temporary file but the target exists and can be
//     written, the target is rewritten in place (after all renames) and flushed; its old
//     bytes are kept in memory to put back should a later step fail.
//   - Each folder is flushed after its files were renamed.
class FileSetWriter {
public:
    // Adds a file to the set; the bytes are written by Commit, in the order added.
    void Add(std::string path, std::vector<uint8_t> bytes);
    size_t Size() const { return files_.size(); }

    // Writes the whole set. The failure names the file (as it was added) that failed.
    std::optional<WriteFailure> Commit();

private:
    struct File {
        std::string Path;
        std::vector<uint8_t> Bytes;
    };
    std::vector<File> files_;
};

// A test seam: makes the n-th call of one step of the file writers fail with the given
// system error, as if the system had refused it. Counting starts when the plan is
// installed; n = 0 makes every call of the step fail. Each step has at most one plan; plans
// of different steps may be active together.
enum class WriteStep {
    CreateTemporary,  // creating the temporary sibling
    WriteData,        // writing the bytes of a temporary file (once per file)
    Rename,           // renaming a temporary file over its target
    OpenInPlace,      // opening a target to rewrite it in place
};

class ScopedWriteFault {
public:
    ScopedWriteFault(WriteStep step, int nth, int error);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

private:
    WriteStep step_;
};
