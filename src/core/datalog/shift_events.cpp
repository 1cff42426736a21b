#include "datalog/shift_events.h"

#include <array>
#include <cctype>

namespace korvath::datalog {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : Lower(text)) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

constexpr std::array<std::string_view, 9> kOrdinalWords{"first", "second", "third",   "fourth", "fifth",
                                                        "sixth", "seventh", "eighth", "ninth"};
constexpr std::array<std::string_view, 9> kOrdinalSuffixes{"1st", "2nd", "3rd", "4th", "5th",
                                                           "6th", "7th", "8th", "9th"};

std::optional<int> WordRank(const std::string& word) {
    if (word == "p" || word == "park") return -2;
    if (word == "r" || word == "reverse") return -1;
    if (word == "n" || word == "neutral") return 0;
    if (word.size() == 1 && word[0] >= '1' && word[0] <= '9') return word[0] - '0';
    for (std::size_t i = 0; i < kOrdinalWords.size(); ++i)
        if (word == kOrdinalWords[i] || word == kOrdinalSuffixes[i]) return static_cast<int>(i) + 1;
    return std::nullopt;
}

// A gear channel's cell that says nothing: not read yet, or the link was lost.
bool Blank(const LogRow& row, const std::string& cell) { return row.linkLost || cell.empty(); }

// The first text channel whose every text is a gear's, holding two gears at least.
std::optional<std::size_t> GearByTexts(DataLogReader& log) {
    const std::size_t count = log.layout().items.size();
    std::vector<bool> possible(count, true);
    std::vector<std::string> first(count);
    std::vector<bool> varies(count, false);
    const bool whole = log.ReadAllRows([&](std::size_t, const LogRow& row) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string& cell = row.cells[1 + i];
            if (!possible[i] || Blank(row, cell)) continue;
            if (!GearRank(cell)) {
                possible[i] = false;
            } else if (first[i].empty()) {
                first[i] = cell;
            } else if (cell != first[i]) {
                varies[i] = true;
            }
        }
        return true;
    });
    if (!whole) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i)
        if (possible[i] && varies[i]) return i;
    return std::nullopt;
}

std::optional<std::size_t> GearByName(const LogLayout& layout, const std::string& name) {
    for (std::size_t i = 0; i < layout.items.size(); ++i)
        if (name.empty() ? IsGearName(layout.items[i].name) : layout.items[i].name == name) return i;
    return std::nullopt;
}

ShiftDirection DirectionOf(const std::string& from, const std::string& to) {
    const auto a = GearRank(from), b = GearRank(to);
    if (!a || !b || *a == *b) return ShiftDirection::Unknown;
    return *b > *a ? ShiftDirection::Up : ShiftDirection::Down;
}

}  // namespace

std::optional<int> GearRank(std::string_view text) {
    const auto words = Words(text);
    // "First", "3rd", "N"; "Gear 2" and "2 (locked)" name their number.
    if (words.size() == 1) return WordRank(words[0]);
    if (words.size() == 2 && words[0] == "gear") return WordRank(words[1]);
    return std::nullopt;
}

bool IsGearName(std::string_view name) {
    static constexpr std::array<std::string_view, 12> kNotTheGear{
        "commanded", "command", "cmd",  "old",   "previous", "last",
        "target",    "desired", "next", "ratio", "teeth",    "lever"};
    bool gear = false;
    for (const std::string& word : Words(name)) {
        if (word == "gear") gear = true;
        for (const std::string_view other : kNotTheGear)
            if (word == other) return false;
    }
    return gear;
}

bool AnalyseShifts(DataLogReader& log, const std::string& gearName, ShiftAnalysis& out, std::string& why) {
    out = ShiftAnalysis{};
    out.gearItem = GearByName(log.layout(), gearName);
    if (!out.gearItem && gearName.empty()) out.gearItem = GearByTexts(log);
    if (!out.gearItem) {
        why = gearName.empty() ? "it has no gear channel (a column named Gear, or one holding only gears)"
                               : "it has no column named " + gearName;
        return false;
    }
    const std::size_t gearColumn = 1 + *out.gearItem;
    const std::size_t items = log.layout().items.size();
    std::string gear;  // the last gear shown; a lost link or an empty cell keeps it
    const bool whole = log.ReadAllRows([&](std::size_t r, const LogRow& row) {
        const std::string& cell = row.cells[gearColumn];
        if (Blank(row, cell) || cell == gear) return true;
        if (!gear.empty()) {
            ShiftEvent shift;
            shift.row = r;
            shift.timeMs = row.timeMs;
            shift.from = gear;
            shift.to = cell;
            shift.direction = DirectionOf(gear, cell);
            // The recorder writes -1 while the crosshair is hidden.
            if (row.crosshairX && *row.crosshairX > -1.0f) shift.crosshairX = row.crosshairX;
            if (row.crosshairY && *row.crosshairY > -1.0f) shift.crosshairY = row.crosshairY;
            shift.values.assign(row.cells.begin() + 1, row.cells.begin() + 1 + static_cast<std::ptrdiff_t>(items));
            out.shifts.push_back(std::move(shift));
        }
        gear = cell;
        return true;
    });
    if (!whole) {
        why = "it changed while it was read";
        return false;
    }
    return true;
}

}  // namespace korvath::datalog
