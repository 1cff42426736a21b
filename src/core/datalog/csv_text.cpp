#include "datalog/csv_text.h"

#include <charconv>
#include <cmath>

namespace korvath::datalog {

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.push_back(',');
        AppendCsvField(out, fields[i]);
    }
    out.append("\r\n");
}

std::string FormatDecimal(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    std::to_chars_result r;
    if (decimals < 0)
        r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    else
        r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals > 9 ? 9 : decimals);
    if (r.ec != std::errc()) return {};
    std::string text(buffer, r.ptr);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);  // a negative zero reads as zero
    return text;
}

bool ParseDecimal(std::string_view text, double& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    if (*first == '+') ++first;
    const auto r = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(value);
}

CsvRecordReader::Result CsvRecordReader::Next(std::vector<std::string>& fields, long long& startOffset) {
    fields.clear();
    startOffset = offset_;
    int c = std::getc(file_);
    if (c == EOF) return Result::End;
    std::size_t bytes = 0;
    std::string field;
    bool quoted = false;      // inside quotes
    bool wasQuoted = false;   // the field began with a quote
    for (;; c = std::getc(file_)) {
        if (c != EOF) ++offset_;
        if (c != EOF && ++bytes > limits_.maxRecordBytes) {
            SkipLine();
            return Result::TooLong;
        }
        if (quoted) {
            if (c == EOF) return Result::BadQuote;
            if (c == '"') {
                const int next = std::getc(file_);
                if (next == '"') {
                    ++offset_;
                    ++bytes;
                    field.push_back('"');
                } else {
                    quoted = false;
                    if (next != EOF) std::ungetc(next, file_);
                }
            } else {
                field.push_back(static_cast<char>(c));
            }
            continue;
        }
        if (c == '\r') {  // CR LF ends the record as LF does
            const int next = std::getc(file_);
            if (next == '\n') {
                ++offset_;
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file_);
            }
        }
        if (c == ',' || c == '\n' || c == EOF) {
            if (fields.size() >= limits_.maxFields) {
                if (c == ',') SkipLine();
                return Result::TooManyFields;
            }
            fields.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
            if (c != ',') {
                ended_ = c == '\n';
                return Result::Record;
            }
            continue;
        }
        if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
            continue;
        }
        if (wasQuoted) {  // text after a closing quote
            SkipLine();
            return Result::BadQuote;
        }
        field.push_back(static_cast<char>(c));
    }
}

void CsvRecordReader::SkipLine() {
    for (int c = std::getc(file_); c != EOF; c = std::getc(file_)) {
        ++offset_;
        if (c == '\n') return;
    }
}

bool CsvRecordReader::Seek(long long offset) {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    offset_ = offset;
    return true;
}

}  // namespace korvath::datalog
