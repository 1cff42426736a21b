#pragma once
// DataLogRecorder: records what the live-data poller reads into a CSV data log. It watches the
// monitor as its poll observer; each completed round over the items becomes one row with the
// last value of every column, and a lost link a row of its own. Rows go to disk as they come
// (at least once a second), so memory stays the same however long the drive.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "comm/poll_observer.h"
#include "datalog/log_file_writer.h"
#include "datalog/log_layout.h"

namespace korvath {
class CTCS_Monitor;
}

namespace korvath::datalog {

// Milliseconds of the steady clock.
std::int64_t SteadyNowMs();

class DataLogRecorder final : public PollObserver {
public:
    using Clock = std::function<std::int64_t()>;

    explicit DataLogRecorder(Clock clock = SteadyNowMs) : clock_(std::move(clock)) {}
    ~DataLogRecorder() override;
    DataLogRecorder(const DataLogRecorder&) = delete;
    DataLogRecorder& operator=(const DataLogRecorder&) = delete;

    // Starts a log of the monitor's current items (the monitor must have them loaded) into
    // `path`, the header rows written at once. False, with why, when it cannot.
    bool Start(CTCS_Monitor& monitor, const std::string& path, std::string definition, std::string& why);
    // Writes what is pending, closes the file and lets the monitor go. False when the file could
    // not be completed (why in error()).
    bool Stop();
    // Writes out rows pending for a second or more (call it now and then while the link is down).
    void Tick();

    bool running() const { return monitor_ != nullptr; }
    const std::string& path() const { return path_; }
    std::uint64_t rows() const { return rows_; }
    std::int64_t elapsedMs() const { return running() ? clock_() - startMs_ : stoppedElapsedMs_; }
    bool linkUp() const { return linkUp_; }
    const LogLayout& layout() const { return layout_; }
    // Why the log ended on its own (the items changed, the disk refused), empty otherwise.
    const std::string& error() const { return error_; }

    // PollObserver
    void OnItemRead(std::int32_t item, const ItemReading& reading) override;
    void OnCrosshair(char axis, float coordinate) override;
    void OnLinkState(bool connected) override;
    void OnRoundComplete() override;
    void OnItemsChanged() override;

private:
    // Maps the monitor's items onto the columns; false when they are not the log's columns.
    bool MapItems(const LogLayout& expected);
    void WriteRow(bool linkLost);
    void ClearValues();
    void Fail(const std::string& why);

    Clock clock_;
    CTCS_Monitor* monitor_ = nullptr;
    std::string path_;
    LogLayout layout_;
    LogFileWriter writer_;
    std::vector<DataItem> items_;        // the logged items, by column
    std::vector<int> columnOfItem_;      // monitor item index -> column, -1 when not logged
    std::vector<std::string> cells_;     // the row being filled, every column
    std::string record_;                 // the text of one row, reused
    bool anyReading_ = false;
    bool linkUp_ = false;
    std::int64_t startMs_ = 0;
    std::int64_t stoppedElapsedMs_ = 0;
    std::uint64_t rows_ = 0;
    std::string error_;
};

}  // namespace korvath::datalog
