#include "datalog/log_layout.h"

#include <charconv>

#include "datalog/csv_text.h"

namespace korvath::datalog {
namespace {

constexpr std::string_view kSpaces = " \t";

std::string Trim(std::string_view text) {
    const auto start = text.find_first_not_of(kSpaces);
    if (start == std::string_view::npos) return {};
    const auto end = text.find_last_not_of(kSpaces);
    return std::string(text.substr(start, end - start + 1));
}

// The extent of the first conversion of a format ("%" to its letter), %% skipped.
bool FindConversion(std::string_view format, std::size_t& start, std::size_t& end) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && std::string_view("-+ #0123456789.lL").find(format[j]) != std::string_view::npos)
            ++j;
        if (j >= format.size()) return false;
        start = i;
        end = j + 1;
        return true;
    }
    return false;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') ++i;
    }
    return out;
}

}  // namespace

bool IsLoggedItem(const DataItem& item) { return item.monitorFlag != 0 || item.logFlag != 0; }

std::string UnitOfFormat(std::string_view format) {
    std::size_t start = 0, end = 0;
    if (!FindConversion(format, start, end)) return Trim(Unescape(format));
    return Trim(Unescape(std::string(format.substr(0, start)) + " " + std::string(format.substr(end))));
}

int DecimalsOfFormat(std::string_view format) {
    std::size_t start = 0, end = 0;
    if (!FindConversion(format, start, end)) return -1;
    const std::string_view conversion = format.substr(start, end - start);
    if (conversion.back() != 'f' && conversion.back() != 'F') return -1;
    const auto dot = conversion.find('.');
    if (dot == std::string_view::npos) return 6;  // printf's default
    int decimals = 0;
    const char* first = conversion.data() + dot + 1;
    const char* last = conversion.data() + conversion.size() - 1;
    while (last > first && (last[-1] == 'l' || last[-1] == 'L')) --last;
    if (first == last) return 0;
    const auto r = std::from_chars(first, last, decimals);
    if (r.ec != std::errc() || r.ptr != last) return -1;
    return decimals > 9 ? 9 : decimals;
}

std::vector<std::string> LogLayout::HeaderRow() const {
    std::vector<std::string> row{kTimeColumn};
    for (const auto& item : items) row.push_back(item.name);
    for (const auto& item : items) row.push_back(item.name + kRawSuffix);
    row.insert(row.end(), {kCrosshairXColumn, kCrosshairYColumn, kLinkColumn, kDefinitionColumn});
    return row;
}

std::vector<std::string> LogLayout::UnitsRow() const {
    std::vector<std::string> row{kTimeUnit};
    for (const auto& item : items) row.push_back(item.unit);
    row.resize(row.size() + items.size());
    row.insert(row.end(), {kCrosshairXUnit, crosshairYUnit, "", definition});
    return row;
}

LogLayout LayOutLog(const std::vector<DataItem>& items, std::string definition) {
    LogLayout layout;
    layout.definition = std::move(definition);
    for (const DataItem& item : items) {
        const char axis = item.crosshairMode.empty() ? '\0' : item.crosshairMode[0];
        if ((axis == 'Y' || axis == 'y') && layout.crosshairYUnit.empty())
            layout.crosshairYUnit = UnitOfFormat(item.displayFormat);
        if (!IsLoggedItem(item)) continue;
        LogItemColumn column;
        column.name = !item.displayName.empty()   ? item.displayName
                      : !item.logicalName.empty() ? item.logicalName
                                                  : "Item " + std::to_string(layout.items.size() + 1);
        column.numeric = item.kind == DataItemKind::Numeric;
        if (column.numeric && item.displayFormatUsable) {
            column.unit = UnitOfFormat(item.displayFormat);
            column.decimals = DecimalsOfFormat(item.displayFormat);
        }
        layout.items.push_back(std::move(column));
    }
    return layout;
}

bool ParseLogLayout(const std::vector<std::string>& header, const std::vector<std::string>& units,
                    LogLayout& layout, std::string& why) {
    layout = LogLayout{};
    if (header.size() < kFixedColumns || (header.size() - kFixedColumns) % 2 != 0 || header[0] != kTimeColumn) {
        why = "its first row is not the header of a data log";
        return false;
    }
    const std::size_t count = (header.size() - kFixedColumns) / 2;
    layout.items.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        layout.items[i].name = header[1 + i];
        if (header[1 + count + i] != header[1 + i] + kRawSuffix) {
            why = "its header has no raw column for " + header[1 + i];
            return false;
        }
    }
    const std::size_t x = 1 + 2 * count;
    if (header[x] != kCrosshairXColumn || header[x + 1] != kCrosshairYColumn || header[x + 2] != kLinkColumn ||
        header[x + 3] != kDefinitionColumn) {
        why = "its header ends without the crosshair, link and definition columns";
        return false;
    }
    if (units.size() != header.size() || units[0] != kTimeUnit) {
        why = "its second row is not the units of its columns";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) layout.items[i].unit = units[1 + i];
    layout.crosshairYUnit = units[x + 1];
    layout.definition = units[x + 3];
    return true;
}

std::string ValueCell(const DataItem& item, const LogItemColumn& column, int raw, float value,
                      const std::string& text) {
    const auto r = static_cast<float>(raw);
    if (!column.numeric || r < item.minimum || r > item.maximum) return text;
    return FormatDecimal(static_cast<double>(value), column.decimals);
}

std::string RawCell(int raw, const std::vector<int>& ramValues) {
    if (ramValues.empty()) return std::to_string(raw);
    std::string cell;
    for (const int v : ramValues) {
        if (!cell.empty()) cell += ' ';
        cell += std::to_string(v);
    }
    return cell;
}

std::string DisplayTextOfCell(const DataItem& item, std::string_view cell, std::string_view rawCell) {
    double value = 0.0, raw = 0.0;
    const std::size_t lastSpace = rawCell.find_last_of(' ');
    const std::string_view lastRaw = lastSpace == std::string_view::npos ? rawCell : rawCell.substr(lastSpace + 1);
    if (item.kind != DataItemKind::Numeric || !ParseDecimal(cell, value) || !ParseDecimal(lastRaw, raw) ||
        raw < -1e9 || raw > 1e9)
        return std::string(cell);
    return DataItemText(item, static_cast<int>(raw), static_cast<float>(value));
}

}  // namespace korvath::datalog
