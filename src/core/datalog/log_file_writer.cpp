#include "datalog/log_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/user_folders.h"

namespace korvath::datalog {

LogFileWriter::~LogFileWriter() { Close(); }

bool LogFileWriter::Open(const std::string& path, std::string& why) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        why = SystemReason(errno);
        return false;
    }
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    written_ = 0;
    error_.clear();
    lastFlushMs_ = 0;
    return true;
}

bool LogFileWriter::Append(std::string_view record, std::int64_t nowMs) {
    if (fd_ < 0) return false;
    if (buffer_.size() + record.size() > kBufferBytes && !Flush(nowMs)) return false;
    buffer_.append(record);
    if (nowMs - lastFlushMs_ >= kFlushIntervalMs || buffer_.size() >= kBufferBytes) return Flush(nowMs);
    return true;
}

bool LogFileWriter::Flush(std::int64_t nowMs) {
    if (fd_ < 0) return false;
    lastFlushMs_ = nowMs;
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = SystemReason(n < 0 ? errno : ENOSPC);
            buffer_.erase(0, done);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += done;
    buffer_.clear();
    return true;
}

bool LogFileWriter::Close() {
    if (fd_ < 0) return true;
    bool ok = Flush(lastFlushMs_);
    if (::fdatasync(fd_) != 0 && errno != EINVAL && ok) {
        error_ = SystemReason(errno);
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        error_ = SystemReason(errno);
        ok = false;
    }
    fd_ = -1;
    return ok;
}

}  // namespace korvath::datalog
