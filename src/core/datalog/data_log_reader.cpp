#include "datalog/data_log_reader.h"

#include <algorithm>
#include <charconv>
#include <cerrno>

#include "platform/user_folders.h"

namespace korvath::datalog {
namespace {

constexpr CsvLimits kLimits{2 * DataLogReader::kMaxItems + kFixedColumns, 64 * 1024};

bool ParseTime(const std::string& text, std::int64_t& ms) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), ms);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty() && ms >= 0;
}

std::optional<float> Coordinate(const std::string& cell) {
    double v = 0.0;
    if (!ParseDecimal(cell, v) || v < -1e6 || v > 1e6) return std::nullopt;
    return static_cast<float>(v);
}

}  // namespace

DataLogReader::~DataLogReader() {
    if (file_) std::fclose(file_);
}

bool DataLogReader::Open(const std::string& path, std::string& why) {
    if (file_) std::fclose(file_);
    index_.clear();
    skipped_ = 0;
    truncated_ = false;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        why = SystemReason(errno);
        return false;
    }
    CsvRecordReader reader(file_, kLimits);
    std::vector<std::string> header, units;
    long long at = 0;
    if (reader.Next(header, at) != CsvRecordReader::Result::Record ||
        reader.Next(units, at) != CsvRecordReader::Result::Record) {
        why = "it does not begin with the two header rows of a data log";
        return false;
    }
    // A leading byte-order mark, as some spreadsheets write, is not part of the first name.
    if (!header.empty() && header[0].starts_with("\xEF\xBB\xBF")) header[0].erase(0, 3);
    if (!ParseLogLayout(header, units, layout_, why)) return false;

    std::vector<std::string> fields;
    std::int64_t last = 0;
    LogRow row;
    for (;;) {
        const auto result = reader.Next(fields, at);
        if (result == CsvRecordReader::Result::End) break;
        if (index_.size() >= kMaxRows) {
            truncated_ = true;
            break;
        }
        if (result != CsvRecordReader::Result::Record || !ParseRow(fields, row) || row.timeMs < last) {
            ++skipped_;
            continue;
        }
        if (!reader.ended()) {  // a cut last line: its last cell may be short
            ++skipped_;
            break;
        }
        last = row.timeMs;
        index_.push_back({row.timeMs, at});
    }
    return true;
}

bool DataLogReader::ParseRow(const std::vector<std::string>& fields, LogRow& out) const {
    if (fields.size() != layout_.ColumnCount() || !ParseTime(fields[0], out.timeMs)) return false;
    out.cells = fields;
    out.linkLost = fields[layout_.LinkColumn()] == kLinkLostMark;
    out.crosshairX = Coordinate(fields[layout_.CrosshairXColumn()]);
    out.crosshairY = Coordinate(fields[layout_.CrosshairYColumn()]);
    return true;
}

std::size_t DataLogReader::RowAtTime(std::int64_t timeMs) const {
    auto after = std::upper_bound(index_.begin(), index_.end(), timeMs,
                                  [](std::int64_t t, const RowRef& r) { return t < r.timeMs; });
    return after == index_.begin() ? 0 : static_cast<std::size_t>(after - index_.begin() - 1);
}

bool DataLogReader::ReadRow(std::size_t row, LogRow& out) {
    if (!file_ || row >= index_.size()) return false;
    CsvRecordReader reader(file_, kLimits);
    if (!reader.Seek(index_[row].offset)) return false;
    long long at = 0;
    return reader.Next(scratch_, at) == CsvRecordReader::Result::Record && ParseRow(scratch_, out);
}

bool DataLogReader::ReadAllRows(const std::function<bool(std::size_t, const LogRow&)>& visit) {
    if (!file_) return false;
    if (index_.empty()) return true;
    CsvRecordReader reader(file_, kLimits);
    if (!reader.Seek(index_.front().offset)) return false;
    LogRow row;
    long long at = 0;
    for (std::size_t next = 0; next < index_.size();) {
        const auto result = reader.Next(scratch_, at);
        if (result == CsvRecordReader::Result::End) return false;
        if (at != index_[next].offset) continue;  // a row that was skipped when the log was opened
        if (result != CsvRecordReader::Result::Record || !ParseRow(scratch_, row)) return false;
        if (!visit(next, row)) return true;
        ++next;
    }
    return true;
}

}  // namespace korvath::datalog
