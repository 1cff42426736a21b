#pragma once
// The pseudo-terminal the simulated controller is reached through, and its optional symlink.

#include <string>

namespace korvath::sim::app {

class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Creates the pty in raw mode (no echo, no line editing, 8 bits). False with *error on failure.
    bool Open(std::string* error);
    // Makes link_path a symlink to the pty's device, replacing a stale symlink but never another
    // kind of file; creates missing parent folders.
    bool Link(const std::string& link_path, std::string* error);
    // Removes the link (if it still points at this pty) and closes the master.
    void Close();

    int fd() const { return master_; }
    const std::string& path() const { return path_; }

private:
    int master_ = -1;
    std::string path_;
    std::string link_;
};

}  // namespace korvath::sim::app
