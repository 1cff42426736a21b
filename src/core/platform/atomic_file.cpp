#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace korvath {

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".tmpXXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = true;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (ok && left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            ok = false;
        } else {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
    if (ok) ok = ::fsync(fd) == 0;
    // mkstemp makes the file private; settings and calibrations are ordinary user files.
    (void)::fchmod(fd, 0644);
    if (::close(fd) != 0) ok = false;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace korvath
