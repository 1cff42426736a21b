#pragma once
// A data log's channels as a plot shows them: the time of every row in seconds and each item's
// values beside it. A channel holding any text that is not a number is a text channel, its
// values the index of each row's text (gears in their order, other texts as they come); rows
// that say nothing (a lost link, an empty or unreadable cell) are not a number, which a plot
// shows as a gap.

#include <string>
#include <vector>

#include "datalog/data_log_reader.h"

namespace korvath::datalog {

struct LogChannel {
    std::string name, unit;
    bool text = false;
    std::vector<std::string> texts;  // a text channel's texts, by value
    std::vector<double> values;      // one per row; NaN where the row says nothing
};

struct LogChannels {
    std::vector<double> seconds;  // one per row
    std::vector<LogChannel> channels;
};

// A text channel keeps this many different texts; further ones are gaps.
inline constexpr std::size_t kMaxChannelTexts = 256;

// Reads every row of the log into its channels. False, with why, when the file changed under
// the reader.
bool LoadLogChannels(DataLogReader& log, LogChannels& out, std::string& why);

}  // namespace korvath::datalog
