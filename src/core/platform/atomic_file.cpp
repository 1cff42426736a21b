#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kReadOnlyFormat = "%s is read-only.";
constexpr const char* kWriteErrorFormat = "%s: %s.";
constexpr mode_t kNewFileMode = 0644;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

void Tell(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

// The file a path ends at: a symbolic link is followed, so that the link stays a link and
// the file it names is the one replaced.
std::string FinalTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* why) {
    const std::string target = FinalTarget(path);
    mode_t mode = kNewFileMode;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        // A file nobody may write is kept as it is, even by a user whom the directory would let
        // replace it (root included).
        if ((st.st_mode & kAnyWrite) == 0 || ::access(target.c_str(), W_OK) != 0) {
            Tell(why, FormatText(kReadOnlyFormat, path.c_str()));
            return false;
        }
        mode = st.st_mode & 07777;
    }
    std::string temp = target + ".tmpXXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        Tell(why, FormatText(kWriteErrorFormat, path.c_str(), std::strerror(errno)));
        return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    // mkstemp makes the file private; a replaced file keeps its mode, a new one is an ordinary
    // user file.
    (void)::fchmod(fd, mode);
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        Tell(why, FormatText(kWriteErrorFormat, path.c_str(), std::strerror(error)));
    }
    return ok;
}

}  // namespace korvath
