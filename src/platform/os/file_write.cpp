#include "platform/os/file_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

WriteFailure FailureFromErrno(const std::string& path, int error) {
    return WriteFailure{path, std::strerror(error)};
}

}  // namespace

std::string DescribeWriteFailure(const WriteFailure& failure) {
    return failure.Path + ": " + failure.Reason;
}

std::optional<WriteFailure> WriteFileAtomically(const std::string& path,
                                                std::span<const uint8_t> bytes) {
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return FailureFromErrno(path, errno);
    size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            error = wrote < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<size_t>(wrote);
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return FailureFromErrno(path, error);
    }
    return std::nullopt;
}
