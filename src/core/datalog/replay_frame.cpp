#include "datalog/replay_frame.h"

namespace korvath::datalog {

bool CheckReplayable(const LogLayout& log, const std::string& logName, const std::string& definition,
                     const std::vector<DataItem>& items, std::string& message) {
    if (log.definition != definition) {
        message = "The data log " + logName + " was recorded with the definition \"" + log.definition +
                  "\"; the calibration open now uses \"" + definition +
                  "\". Open a calibration of that definition to replay it.";
        return false;
    }
    const LogLayout now = LayOutLog(items, definition);
    if (now.HeaderRow() != log.HeaderRow()) {
        message = "The data log " + logName + " was recorded with the definition \"" + log.definition +
                  "\", but its columns are not that definition's data items now.";
        return false;
    }
    return true;
}

ReplayFrame FrameOfRow(const LogLayout& log, const std::vector<DataItem>& items, const LogRow& row) {
    ReplayFrame frame;
    frame.linkLost = row.linkLost;
    if (frame.linkLost || row.cells.size() != log.ColumnCount()) return frame;
    std::size_t column = 0;
    for (const DataItem& item : items) {
        if (!IsLoggedItem(item)) continue;
        if (column >= log.items.size()) break;
        const std::string& cell = row.cells[1 + column];
        if (item.monitorIndex != live_data::kNoIndex && !cell.empty())
            frame.texts.emplace_back(item.monitorIndex, DisplayTextOfCell(item, cell, row.cells[log.RawColumn(column)]));
        ++column;
    }
    frame.crosshairX = row.crosshairX;
    frame.crosshairY = row.crosshairY;
    return frame;
}

}  // namespace korvath::datalog
