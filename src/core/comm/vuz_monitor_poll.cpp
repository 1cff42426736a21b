// CTCS_Monitor: the live-data items and the poll timer. Every tick keeps the link (reopening
// the port and identifying the controller while it is lost) and evaluates one due item.

#include <algorithm>
#include <cctype>

#include "comm/monitor_client.h"
#include "comm/poll_observer.h"
#include "comm/vuz_monitor.h"

namespace korvath {

std::int32_t CTCS_Monitor::load_data_items(MonitorClient* document, LiveDataReceiver receiver) {
    itemCount_ = monitorItemCount_ = logItemCount_ = pollCursor_ = 0;
    if (!document) return 0;
    if (!document->FindSection(live_data::kSection, 0)) return 0;
    document_ = document;

    dashboardPeriod_ = kDefaultDashboardPeriodMs;
    dataLogPeriod_ = kDefaultDataLogPeriodMs;
    document->ReadKeyInt(live_data::kDashboardPeriodKey, dashboardPeriod_, 0, kDefaultDashboardPeriodMs);
    document->ReadKeyInt(live_data::kDataLogPeriodKey, dataLogPeriod_, 0, kDefaultDataLogPeriodMs);
    dashboardPeriod_ = std::clamp(dashboardPeriod_, live_data::kMinPeriodMs, live_data::kMaxPeriodMs);
    dataLogPeriod_ = std::clamp(dataLogPeriod_, live_data::kMinPeriodMs, live_data::kMaxPeriodMs);

    // The period keys are read first: reading the items moves the reader's cursors on.
    for (DataItem& item : ReadDataItems(*document)) {
        if (item.monitorIndex != live_data::kNoIndex) ++monitorItemCount_;
        if (item.logIndex != live_data::kNoIndex) ++logItemCount_;
        items_[static_cast<std::size_t>(itemCount_++)] = std::move(item);
    }

    receivers_[1] = std::move(receiver);
    if (!connected_)
        RestartTimer(kLinkLostPeriodMs);
    else
        RestartTimer(static_cast<unsigned>(logItemCount_ > 0 ? dataLogPeriod_ : dashboardPeriod_));
    if (observer_) observer_->OnItemsChanged();
    return 1;
}

void CTCS_Monitor::unload_data_items(std::int32_t handle) {
    if (handle >= 0 && handle < live_data::kReceiverSlots) receivers_[static_cast<std::size_t>(handle)] = nullptr;
    itemCount_ = monitorItemCount_ = logItemCount_ = 0;
    pollCursor_ = 0;
    RestartTimer(kLinkLostPeriodMs);
    if (observer_) observer_->OnItemsChanged();
}

void CTCS_Monitor::mark_link_lost() {
    for (std::int32_t i = 0; i < itemCount_; ++i) {
        DataItem& item = items_[static_cast<std::size_t>(i)];
        item.tickCounter = item.tickLimit;
    }
    pollCursor_ = itemCount_ > 0 ? itemCount_ - 1 : 0;
    set_connected(0);
}

void CTCS_Monitor::Deliver(std::int32_t index, const char* text, const float* value) {
    // A copy: the receiver may unregister itself while it runs.
    LiveDataReceiver receiver = receivers_[1];
    if (receiver) receiver(index, text, value);
}

std::int32_t CTCS_Monitor::NextDueItem() {
    if (pollCursor_ < 0 || pollCursor_ >= itemCount_) pollCursor_ = 0;
    const std::int32_t start = pollCursor_;
    for (;;) {
        DataItem& item = items_[static_cast<std::size_t>(pollCursor_)];
        if (++item.tickCounter >= item.tickLimit) return pollCursor_;
        if (itemCount_ == 1) {
            pollCursor_ = start;
            return -1;
        }
        AdvanceCursor();
    }
}

void CTCS_Monitor::poll() {
    if (polling_) return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(polling_);

    if (!connected_) {
        purge();
        std::string ignored;
        reopen(ignored);
        purge();
        if (!document_ || !document_->IdentifyController(0, 1)) return;
    }
    // Without a receiver or items the tick only checks that the controller still answers.
    if (!receivers_[1] || itemCount_ == 0) {
        if (document_) document_->IdentifyController(0, 1);
        return;
    }
    const std::int32_t due = NextDueItem();
    if (due < 0) return;
    PollItem(items_[static_cast<std::size_t>(due)]);
}

void CTCS_Monitor::PollItem(DataItem& item) {
    item.tickCounter = 0;
    std::int32_t index = item.monitorIndex;
    std::string text;

    std::string formula = item.formula;
    std::vector<int> ramValues;
    const int raw = document_ ? document_->SubstituteItemReferences(formula, ramValues) : kNoValue;
    float value = 0.0f;
    if (raw == kNoValue) {
        index = live_data::kLinkLostIndex;
        mark_link_lost();
    } else {
        int errorPosition = 0;
        std::string errorText;
        value = static_cast<float>(evaluator_.Evaluate(formula, 1.0, errorPosition, errorText, 1));
        text = DataItemText(item, raw, value);
    }
    if (observer_ && raw != kNoValue)
        observer_->OnItemRead(static_cast<std::int32_t>(&item - items_.data()), {raw, ramValues, value, text});
    if (index > live_data::kNoIndex) Deliver(index, text.c_str(), nullptr);
    if (index == live_data::kLinkLostIndex) return;

    if (!item.crosshairMode.empty()) {
        std::string crosshair = item.crosshairFormula;
        const int raw2 = document_ ? document_->SubstituteItemReferences(crosshair, ramValues) : kNoValue;
        if (raw2 == kNoValue) {
            mark_link_lost();
            Deliver(live_data::kLinkLostIndex, text.c_str(), nullptr);
            return;
        }
        int errorPosition = 0;
        std::string errorText;
        const auto coordinate = static_cast<float>(FormulaParser::WithoutZeroStandIn(
            evaluator_.Evaluate(crosshair, static_cast<double>(value), errorPosition, errorText, 1)));
        const char axis = static_cast<char>(std::toupper(static_cast<unsigned char>(item.crosshairMode[0])));
        if (observer_ && (axis == 'X' || axis == 'Y')) observer_->OnCrosshair(axis, coordinate);
        if (axis == 'X') Deliver(live_data::kCrosshairXIndex, nullptr, &coordinate);
        if (axis == 'Y') Deliver(live_data::kCrosshairYIndex, nullptr, &coordinate);
    }
    // A receiver may have unloaded the items meanwhile.
    if (itemCount_ > 0) AdvanceCursor();
}

void CTCS_Monitor::AdvanceCursor() {
    pollCursor_ = pollCursor_ + 1 < itemCount_ ? pollCursor_ + 1 : 0;
    if (pollCursor_ == 0 && observer_) observer_->OnRoundComplete();
}

}  // namespace korvath
