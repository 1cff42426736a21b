#include "datalog/data_log_recorder.h"

#include "comm/vuz_monitor.h"
#include "datalog/csv_text.h"

namespace korvath::datalog {

std::int64_t SteadyNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

DataLogRecorder::~DataLogRecorder() { Stop(); }

bool DataLogRecorder::Start(CTCS_Monitor& monitor, const std::string& path, std::string definition,
                            std::string& why) {
    Stop();
    error_.clear();
    std::vector<DataItem> all;
    for (std::int32_t i = 0; i < monitor.item_count(); ++i) all.push_back(monitor.data_item(i));
    LogLayout layout = LayOutLog(all, std::move(definition));
    if (layout.items.empty()) {
        why = "the definition has no monitored or logged data items";
        return false;
    }
    if (!writer_.Open(path, why)) return false;
    monitor_ = &monitor;
    if (!MapItems(layout)) {  // cannot differ: made from the same items
        writer_.Close();
        monitor_ = nullptr;
        why = "the data items could not be mapped";
        return false;
    }
    layout_ = std::move(layout);
    path_ = path;
    rows_ = 0;
    startMs_ = clock_();
    linkUp_ = monitor.is_connected() != 0;
    cells_.assign(layout_.ColumnCount(), std::string());
    record_.clear();
    AppendCsvRecord(record_, layout_.HeaderRow());
    AppendCsvRecord(record_, layout_.UnitsRow());
    if (!writer_.Append(record_, startMs_) || !writer_.Flush(startMs_)) {
        why = writer_.error();
        writer_.Close();
        monitor_ = nullptr;
        return false;
    }
    ClearValues();
    monitor.set_poll_observer(this);
    return true;
}

bool DataLogRecorder::MapItems(const LogLayout& expected) {
    std::vector<DataItem> all;
    for (std::int32_t i = 0; i < monitor_->item_count(); ++i) all.push_back(monitor_->data_item(i));
    const LogLayout now = LayOutLog(all, expected.definition);
    if (now.HeaderRow() != expected.HeaderRow()) return false;
    items_.clear();
    columnOfItem_.assign(all.size(), -1);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!IsLoggedItem(all[i])) continue;
        columnOfItem_[i] = static_cast<int>(items_.size());
        items_.push_back(all[i]);
    }
    return true;
}

bool DataLogRecorder::Stop() {
    if (!monitor_) return error_.empty();
    if (monitor_->poll_observer() == this) monitor_->set_poll_observer(nullptr);
    monitor_ = nullptr;
    stoppedElapsedMs_ = clock_() - startMs_;
    if (!writer_.Close() && error_.empty()) error_ = writer_.error();
    return error_.empty();
}

void DataLogRecorder::Tick() {
    if (running() && writer_.pendingBytes() > 0) writer_.Append({}, clock_());
}

void DataLogRecorder::ClearValues() {
    for (auto& cell : cells_) cell.clear();
    anyReading_ = false;
}

void DataLogRecorder::OnItemRead(std::int32_t item, const ItemReading& reading) {
    if (item < 0 || static_cast<std::size_t>(item) >= columnOfItem_.size()) return;
    const int column = columnOfItem_[static_cast<std::size_t>(item)];
    if (column < 0) return;
    const auto c = static_cast<std::size_t>(column);
    cells_[1 + c] = ValueCell(items_[c], layout_.items[c], reading.raw, reading.value, reading.text);
    cells_[layout_.RawColumn(c)] = RawCell(reading.raw, reading.ramValues);
    anyReading_ = true;
}

void DataLogRecorder::OnCrosshair(char axis, float coordinate) {
    cells_[axis == 'X' ? layout_.CrosshairXColumn() : layout_.CrosshairYColumn()] =
        FormatDecimal(static_cast<double>(coordinate), -1);
    anyReading_ = true;
}

void DataLogRecorder::OnLinkState(bool connected) {
    linkUp_ = connected;
    if (connected) return;
    // What was read of the broken round is not a round; the lost link is a row of its own.
    ClearValues();
    WriteRow(true);
    if (running()) writer_.Flush(clock_());
}

void DataLogRecorder::OnRoundComplete() {
    if (anyReading_) WriteRow(false);
    anyReading_ = false;
}

void DataLogRecorder::OnItemsChanged() {
    if (!running() || monitor_->item_count() == 0) return;  // unloaded: rows come again after the reload
    // The dashboard is rebuilt after a calibration was read: the same items carry on.
    if (!MapItems(layout_)) Fail("the definition's data items changed");
    ClearValues();
}

void DataLogRecorder::WriteRow(bool linkLost) {
    if (!running()) return;
    const std::int64_t now = clock_();
    cells_[0] = std::to_string(now - startMs_);
    cells_[layout_.LinkColumn()] = linkLost ? kLinkLostMark : "";
    record_.clear();
    AppendCsvRecord(record_, cells_);
    if (!writer_.Append(record_, now)) {
        Fail(writer_.error());
        return;
    }
    ++rows_;
    cells_[layout_.LinkColumn()].clear();
}

void DataLogRecorder::Fail(const std::string& why) {
    error_ = why.empty() ? std::string("the file could not be written") : why;
    if (monitor_ && monitor_->poll_observer() == this) monitor_->set_poll_observer(nullptr);
    monitor_ = nullptr;
    stoppedElapsedMs_ = clock_() - startMs_;
    writer_.Close();
}

}  // namespace korvath::datalog
