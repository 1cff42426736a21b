#pragma once
// CSV as spreadsheets read it: fields quoted when they hold a comma, a quote, a line break or
// edge spaces (quotes doubled), records ended by CR LF, numbers with "." whatever the locale.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/csv_field.h"

namespace korvath::datalog {

// Appends the fields (each as AppendCsvField writes it) separated by commas and the record's CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

// A number with `decimals` digits after the point (0 ... 9); a negative count gives the
// shortest text that reads back as the same float. Not a number or infinite: empty.
std::string FormatDecimal(double value, int decimals);
// Parses a whole field as a decimal number ("." decimals); false for anything else.
bool ParseDecimal(std::string_view text, double& value);

// Limits on one record read from an untrusted file.
struct CsvLimits {
    std::size_t maxFields = 256;
    std::size_t maxRecordBytes = 64 * 1024;
};

// Reads records one after the other from an open file, keeping the offset of each.
class CsvRecordReader {
public:
    enum class Result { Record, End, TooLong, TooManyFields, BadQuote };

    CsvRecordReader(std::FILE* file, CsvLimits limits) : file_(file), limits_(limits) {}
    // The next record into `fields` and where it started. After TooLong, TooManyFields or
    // BadQuote the rest of that line is skipped, so reading can go on.
    Result Next(std::vector<std::string>& fields, long long& startOffset);
    long long offset() const { return offset_; }
    // Whether the last record read ended with a line break (a cut file's last one may not).
    bool ended() const { return ended_; }
    // Reading starts again at `offset` (a record's start).
    bool Seek(long long offset);

private:
    void SkipLine();
    std::FILE* file_;
    CsvLimits limits_;
    long long offset_ = 0;
    bool ended_ = false;
};

}  // namespace korvath::datalog
