// The dashboard's cells from "[DataItems]" and its state under the poller's callbacks.

#include "layout/dashboard_layout.h"

#include <cmath>

#include "comm/data_items.h"
#include "definition/definition_keys.h"
#include "definition/element_text_limits.h"
#include "document/qrndoc.h"
#include "graph/graphengine.h"

namespace korvath {
namespace {
namespace db = dashboard;

bool HasDisplayType(const std::string& label) {
    return label == live_data::kNumericLabel || label == live_data::kEnumeratedLabel;
}

}  // namespace

DashboardLayout LayOutDashboard(CQRNDoc& doc) {
    DashboardLayout layout;
    DefinitionReader& reader = doc.reader();
    if (!reader.FindSection(live_data::kSection, 0)) return layout;
    layout.hasSection = true;
    ControlRect cell{db::kFirstCellLeft, db::kCellTop, db::kFirstCellLeft + db::kCellWidth, db::kCellTop + db::kCellHeight};
    std::string label;
    for (int next = 0; reader.FindBlock(live_data::kBlockKey, label, next); next = 1) {
        std::int32_t monitored = 0;
        reader.ReadKeyInt(live_data::kMonitorStateKey, monitored, 1, 0);
        if (monitored == 0) continue;  // takes no cell
        if (layout.displayCount >= db::kMaxDisplays) {
            ++layout.droppedItems;
            continue;
        }
        DashboardCell c;
        c.cell = cell;
        c.hasDisplay = HasDisplayType(label);
        if (c.hasDisplay) {
            reader.ReadKeyString(definition_keys::kLogicalName, c.logicalName, kLogicalNameLength, 1);
            reader.ReadKeyString(definition_keys::kDisplayName, c.displayName, kDisplayNameLength, 1);
            std::int32_t color = 0;
            if (reader.ReadKeyInt("DefDisplayColor", color, 1) == 1) c.valueColor = static_cast<Color>(color) & 0x00FFFFFF;
            reader.ReadKeyString(definition_keys::kHelpText, c.texts.help, kHelpTextLength, 1);
            reader.ReadKeyString(definition_keys::kStatusBarText, c.texts.statusBar, kShortTextLength, 1);
            reader.ReadKeyString(definition_keys::kToolTip, c.texts.toolTip, kShortTextLength, 1);
            c.value = {cell.left + db::kValueInset, cell.top + db::kCaptionHeight, cell.right - db::kValueInset,
                       cell.bottom};
            c.caption = {cell.left, cell.top, cell.right, cell.top + db::kCaptionHeight};
            ++layout.displayCount;
        }
        layout.cells.push_back(std::move(c));
        cell.left = cell.right + db::kCellGap;
        cell.right = cell.left + db::kCellWidth;
    }
    return layout;
}

DashboardState::Change DashboardState::Build(int displayCount) {
    displays_.assign(static_cast<std::size_t>(displayCount > 0 ? displayCount : 0), Display{});
    valuesShown_ = 0;
    if (displays_.empty()) return {};
    // Marked connected so that the change to waiting shows its title.
    connected_ = 1;
    return SetConnected(0);
}

DashboardState::Change DashboardState::Teardown() {
    displays_.clear();
    // Hides the crosshair; the empty dashboard then reads plainly "Dashboard" whatever the link did.
    Change change = SetConnected(0);
    change.title = title_ != db::kTitleEmpty;
    title_ = db::kTitleEmpty;
    return change;
}

DashboardState::Change DashboardState::SetConnected(int state) {
    Change change;
    if (connected_ == 1 && state == 0) {
        title_ = db::kTitleWaiting;
        change.title = true;
    } else if (connected_ == 0 && state == 1) {
        title_ = db::kTitleConnected;
        change.title = true;
    }
    connected_ = state != 0 ? 1 : 0;
    for (Display& d : displays_) d.enabled = connected_ == 1;
    change.allDisplays = true;
    if (connected_ == 0) change = HideCrosshair(change);
    return change;
}

DashboardState::Change DashboardState::HideCrosshair(Change change) {
    if (graph_ && graph_->SetCrosshair(graph::kHidden, graph::kHidden)) change.repaintView = true;
    return change;
}

DashboardState::Change DashboardState::OnLiveData(std::int32_t index, const char* text, const float* value) {
    if (index == live_data::kLinkLostIndex) return SetConnected(0);
    Change change;
    if (text && index >= 0 && index < displayCount()) {
        if (connected_ == 0) {
            title_ = db::kTitleConnected;
            connected_ = 1;
            change.title = true;
        }
        Display& d = displays_[static_cast<std::size_t>(index)];
        d.enabled = true;
        d.text = text;
        ++valuesShown_;
        change.display = index;
        return change;
    }
    // A coordinate that is not a number (a formula dividing by zero) is not shown.
    if (!value || !graph_ || !std::isfinite(*value)) return change;
    int moved = 0;
    if (index == live_data::kCrosshairXIndex) moved = graph_->SetCrosshair(*value, graph::kKeepCoordinate);
    if (index == live_data::kCrosshairYIndex) moved = graph_->SetCrosshair(graph::kKeepCoordinate, *value);
    change.repaintView = moved != 0;
    return change;
}

}  // namespace korvath
