#include "app/pty_port.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace korvath::sim::app {

PtyPort::~PtyPort() { Close(); }

bool PtyPort::Open(std::string* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        if (error) *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        Close();
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        if (error) *error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        Close();
        return false;
    }
    path_ = name;
    // Raw mode on the terminal side (set through the master, it holds while nobody has the port
    // open): a cooked line discipline would echo our own answers back to us.
    struct termios t{};
    if (tcgetattr(master_, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(master_, TCSANOW, &t);
    }
    int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool PtyPort::Link(const std::string& link_path, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path link(link_path);
    if (link.has_parent_path()) fs::create_directories(link.parent_path(), ec);
    auto status = fs::symlink_status(link, ec);
    if (fs::exists(status)) {
        if (!fs::is_symlink(status)) {
            if (error) *error = link_path + " exists and is not a symlink";
            return false;
        }
        fs::remove(link, ec);
    }
    fs::create_symlink(path_, link, ec);
    if (ec) {
        if (error) *error = "cannot make the link " + link_path + ": " + ec.message();
        return false;
    }
    link_ = link_path;
    return true;
}

void PtyPort::Close() {
    if (!link_.empty()) {
        std::error_code ec;
        if (std::filesystem::read_symlink(link_, ec) == path_ && !ec) std::filesystem::remove(link_, ec);
        link_.clear();
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

}  // namespace korvath::sim::app
