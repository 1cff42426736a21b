#pragma once
// Appends whole records to a log file. Records are collected in memory and written out at least
// once a second (and whenever the buffer is full), always ending at a record's end, so that a
// process killed at any moment leaves a file of complete records.

#include <cstdint>
#include <string>

namespace korvath::datalog {

class LogFileWriter {
public:
    static constexpr std::int64_t kFlushIntervalMs = 1000;
    static constexpr std::size_t kBufferBytes = 64 * 1024;

    LogFileWriter() = default;
    ~LogFileWriter();
    LogFileWriter(const LogFileWriter&) = delete;
    LogFileWriter& operator=(const LogFileWriter&) = delete;

    // Creates (or empties) the file. False with the system's reason.
    bool Open(const std::string& path, std::string& why);
    bool isOpen() const { return fd_ >= 0; }
    // Adds a record's text (ended by its line break); writes out when a second has passed since
    // the last write-out (nowMs: any monotonic milliseconds) or the buffer is full.
    bool Append(std::string_view record, std::int64_t nowMs);
    // Writes out what is collected. False, with the reason kept, when the system refuses.
    bool Flush(std::int64_t nowMs);
    // Writes out, syncs and closes.
    bool Close();

    const std::string& error() const { return error_; }
    std::uint64_t bytesWritten() const { return written_; }
    std::size_t pendingBytes() const { return buffer_.size(); }

private:
    int fd_ = -1;
    std::string buffer_;
    std::int64_t lastFlushMs_ = 0;
    std::uint64_t written_ = 0;
    std::string error_;
};

}  // namespace korvath::datalog
