#include "datalog/log_channels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "datalog/csv_text.h"
#include "datalog/shift_events.h"

namespace korvath::datalog {
namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

// A channel while it is read: its numbers and, as long as texts come, their indices too.
struct ChannelReading {
    std::vector<double> numbers;
    std::vector<double> textIndices;
    std::vector<std::string> texts;
    std::unordered_map<std::string, double> indexOfText;
    bool anyText = false;

    void Add(const std::string& cell, bool gap) {
        double number = kGap;
        double index = kGap;
        if (!gap && !cell.empty()) {
            if (!ParseDecimal(cell, number)) {
                number = kGap;
                anyText = true;
            }
            const auto [at, added] = indexOfText.try_emplace(cell, static_cast<double>(texts.size()));
            if (added && texts.size() >= kMaxChannelTexts) {
                indexOfText.erase(at);
            } else {
                if (added) texts.push_back(cell);
                index = at->second;
            }
        }
        numbers.push_back(number);
        textIndices.push_back(index);
    }
};

// Gears go bottom up in their order (N below First); other texts stay as they came.
void OrderGears(LogChannel& channel) {
    std::vector<int> ranks;
    for (const auto& text : channel.texts) {
        const auto rank = GearRank(text);
        if (!rank) return;
        ranks.push_back(*rank);
    }
    std::vector<std::size_t> order(channel.texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
    std::vector<double> newIndex(order.size());
    std::vector<std::string> texts(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newIndex[order[i]] = static_cast<double>(i);
        texts[i] = channel.texts[order[i]];
    }
    for (double& v : channel.values)
        if (!std::isnan(v)) v = newIndex[static_cast<std::size_t>(v)];
    channel.texts = std::move(texts);
}

}  // namespace

bool LoadLogChannels(DataLogReader& log, LogChannels& out, std::string& why) {
    const LogLayout& layout = log.layout();
    const std::size_t rows = log.rowCount();
    std::vector<ChannelReading> readings(layout.items.size());
    for (auto& r : readings) {
        r.numbers.reserve(rows);
        r.textIndices.reserve(rows);
    }
    out = LogChannels{};
    out.seconds.reserve(rows);
    const bool whole = log.ReadAllRows([&](std::size_t, const LogRow& row) {
        out.seconds.push_back(static_cast<double>(row.timeMs) / 1000.0);
        for (std::size_t i = 0; i < readings.size(); ++i) readings[i].Add(row.cells[1 + i], row.linkLost);
        return true;
    });
    if (!whole) {
        why = "it changed while it was read";
        return false;
    }
    for (std::size_t i = 0; i < readings.size(); ++i) {
        LogChannel channel;
        channel.name = layout.items[i].name;
        channel.unit = layout.items[i].unit;
        channel.text = readings[i].anyText;
        if (channel.text) {
            channel.texts = std::move(readings[i].texts);
            channel.values = std::move(readings[i].textIndices);
            OrderGears(channel);
        } else {
            channel.values = std::move(readings[i].numbers);
        }
        out.channels.push_back(std::move(channel));
    }
    return true;
}

}  // namespace korvath::datalog
