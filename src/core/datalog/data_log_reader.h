#pragma once
// Reads a data log back for replay. The file is untrusted: records are bounded in size and
// field count, rows that are not a log's rows (wrong field count, a time that is not a whole
// number or goes backwards, a cut last line) are skipped and counted. Only the time and file
// offset of each row stay in memory; a row's cells are read from disk when it is shown.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "datalog/csv_text.h"
#include "datalog/log_layout.h"

namespace korvath::datalog {

struct LogRow {
    std::int64_t timeMs = 0;
    std::vector<std::string> cells;  // every column, as the layout orders them
    bool linkLost = false;
    std::optional<float> crosshairX, crosshairY;
};

class DataLogReader {
public:
    // Rows beyond this are not indexed (a log of about four days at 50 ms).
    static constexpr std::size_t kMaxRows = 8'000'000;
    // Items beyond the poller's twenty are not a log's.
    static constexpr std::size_t kMaxItems = 20;

    DataLogReader() = default;
    ~DataLogReader();
    DataLogReader(const DataLogReader&) = delete;
    DataLogReader& operator=(const DataLogReader&) = delete;

    // Opens and indexes the log. False, with why, when it is not one.
    bool Open(const std::string& path, std::string& why);

    const LogLayout& layout() const { return layout_; }
    std::size_t rowCount() const { return index_.size(); }
    std::size_t skippedRows() const { return skipped_; }
    bool truncated() const { return truncated_; }
    std::int64_t RowTime(std::size_t row) const { return index_[row].timeMs; }
    std::int64_t durationMs() const { return index_.empty() ? 0 : index_.back().timeMs; }
    // The last row at or before `timeMs` (row 0 before the first).
    std::size_t RowAtTime(std::int64_t timeMs) const;
    // Reads one row from disk; false when the file changed under the reader.
    bool ReadRow(std::size_t row, LogRow& out);
    // Reads every row in order, in one sweep through the file (much faster than row by row);
    // `visit` gets each row's number and cells and may stop the sweep by returning false. False
    // when the file changed under the reader.
    bool ReadAllRows(const std::function<bool(std::size_t, const LogRow&)>& visit);

private:
    struct RowRef {
        std::int64_t timeMs;
        long long offset;
    };
    bool ParseRow(const std::vector<std::string>& fields, LogRow& out) const;

    std::FILE* file_ = nullptr;
    LogLayout layout_;
    std::vector<RowRef> index_;
    std::size_t skipped_ = 0;
    bool truncated_ = false;
    std::vector<std::string> scratch_;
};

}  // namespace korvath::datalog
