#pragma once
// What one row of a data log shows when it is replayed: the dashboard's texts by display
// index, the crosshair, or the lost link; and whether a log may be replayed on the definition
// that is open.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "comm/data_items.h"
#include "datalog/data_log_reader.h"

namespace korvath::datalog {

struct ReplayFrame {
    bool linkLost = false;
    std::vector<std::pair<std::int32_t, std::string>> texts;  // (display index, text)
    std::optional<float> crosshairX, crosshairY;
};

// Checks that the log was recorded with `definition` and has the columns its items give. False,
// with the message for the user, otherwise.
bool CheckReplayable(const LogLayout& log, const std::string& logName, const std::string& definition,
                     const std::vector<DataItem>& items, std::string& message);

// The frame of a row. `items`: the definition's items as ReadDataItems gives them.
ReplayFrame FrameOfRow(const LogLayout& log, const std::vector<DataItem>& items, const LogRow& row);

}  // namespace korvath::datalog
