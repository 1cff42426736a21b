#include "calibration/cell_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvath {
namespace {

constexpr std::string_view kExportHeader = "kind,trace,name";
constexpr std::string_view kExportTraceKind = "trace";
// The kind, trace and name fields of an export row come before its points.
constexpr std::size_t kExportLeadingFields = 3;
// More than any table has; what a paste brings beyond this is cut anyway.
constexpr std::size_t kMaxPastedRows = 10000;
constexpr std::size_t kMaxPastedColumns = 1000;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
    return lines;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    if (line.find('\t') != std::string_view::npos) {
        while (true) {
            const std::size_t tab = line.find('\t');
            fields.emplace_back(line.substr(0, tab));
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        return fields;
    }
    // Comma-separated, a field in double quotes when it holds a comma (quotes doubled inside).
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                field += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    return fields;
}

bool IsNumber(std::string_view field) {
    double v = 0;
    std::string reason;
    return ParseCellNumber(field, v, reason);
}

}  // namespace

bool ParseCellNumber(std::string_view text, double& value, std::string& reason) {
    const std::string_view s = Trim(text);
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double v = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::general);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(v)) {
        reason.assign(1, '"');
        reason.append(s.substr(0, 40));
        reason.append("\" is not a number");
        return false;
    }
    value = v;
    return true;
}

PastedCells ParseCellText(std::string_view text) {
    PastedCells out;
    std::vector<std::string_view> lines = Lines(text);
    const bool exported = !lines.empty() && Trim(lines.front()).starts_with(kExportHeader);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> lineOf;  // each row's line, for the reason of a refusal
    for (std::size_t i = 0; i < lines.size() && rows.size() < kMaxPastedRows; ++i) {
        std::vector<std::string> fields = Fields(lines[i]);
        if (exported) {
            if (i == 0 || fields.empty() || Trim(fields.front()) != kExportTraceKind) continue;
            fields.erase(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(
                                                              std::min(kExportLeadingFields, fields.size())));
        }
        // A header line: nothing in it is a number.
        if (std::none_of(fields.begin(), fields.end(), [](const std::string& f) { return IsNumber(f); })) {
            if (rows.empty()) continue;
        }
        if (fields.size() > kMaxPastedColumns) fields.resize(kMaxPastedColumns);
        rows.push_back(std::move(fields));
        lineOf.push_back(i + 1);
    }
    // Row names: a first field that is no number in every row.
    const bool named = !rows.empty() && std::all_of(rows.begin(), rows.end(), [](const auto& r) {
        return !r.empty() && !Trim(r.front()).empty() && !IsNumber(r.front());
    });
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::optional<double>> values;
        for (std::size_t f = named ? 1 : 0; f < rows[r].size(); ++f) {
            const std::string_view field = Trim(rows[r][f]);
            if (field.empty()) {
                values.emplace_back();
                continue;
            }
            double v = 0;
            std::string reason;
            if (!ParseCellNumber(field, v, reason)) {
                out.error = "Line " + std::to_string(lineOf[r]) + ", cell " + std::to_string(values.size() + 1) + ": " +
                            reason + "; nothing was pasted.";
                out.values.clear();
                out.columns = 0;
                return out;
            }
            values.emplace_back(v);
        }
        out.columns = std::max(out.columns, static_cast<int>(values.size()));
        out.values.push_back(std::move(values));
    }
    if (out.values.empty() || out.columns == 0) out.error = "The clipboard holds no numbers to paste.";
    return out;
}

std::string FormatCellText(const std::vector<std::vector<double>>& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) text += '\t';
            text += FormatCellNumber(row[i]);
        }
        text += '\n';
    }
    return text;
}

}  // namespace korvath
