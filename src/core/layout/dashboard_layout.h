#pragma once
// The dashboard without its widgets: the cells that "[DataItems]" gives (one row, one cell per
// monitored item), and the state that the poller's callbacks drive (connected or waiting, which
// display is enabled and what it shows, the title, the crosshair on the tuning graph).
//
// Display numbering: display k shows the poller's monitored item k. The poller polls only the
// two item types ("NumericValue", "EnumeratedText") and numbers only those, so a monitored item
// of another type gets an empty cell here and no display number; both sides count the same items.

#include <cstdint>
#include <string>
#include <vector>

#include "document/tuning_bar_layout.h"
#include "graph/color.h"

namespace korvath {

class CQRNDoc;
class CGraphEngine;

namespace dashboard {

inline constexpr char kTitleEmpty[] = "Dashboard";
inline constexpr char kTitleWaiting[] = "Dashboard - No Communication with Controller";
inline constexpr char kTitleConnected[] = "Dashboard - Connected";
inline constexpr char kNoValueText[] = "--";

inline constexpr int kMaxDisplays = 30;
inline constexpr int kFirstCellLeft = 10;
inline constexpr int kCellTop = 10;
inline constexpr int kCellWidth = 90;
inline constexpr int kCellHeight = 70;
inline constexpr int kCellGap = 10;
inline constexpr int kCaptionHeight = 20;
inline constexpr int kValueInset = 5;

// Text colour of a value whose item has no "DefDisplayColor".
inline constexpr Color kDefaultValueColor = 0x00000000;
inline constexpr Color kValueBackColor = 0x00FFFFFF;

}  // namespace dashboard

struct DashboardCell {
    ControlRect cell;
    bool hasDisplay = false;  // false: a monitored item of another type (an empty cell)
    ControlRect value;            // the value box
    ControlRect caption;          // the caption above it
    std::string logicalName;
    std::string displayName;
    Color valueColor = dashboard::kDefaultValueColor;
    BarHelpTexts texts;
};

struct DashboardLayout {
    bool hasSection = false;
    std::vector<DashboardCell> cells;  // in file order
    int displayCount = 0;
    // Monitored items past the 30th display: no cell.
    int droppedItems = 0;
};

// Reads "[DataItems]" of the document's definition.
DashboardLayout LayOutDashboard(CQRNDoc& doc);

// What the dashboard shows, driven by the build, the poller and the teardown.
class DashboardState {
public:
    // A change the widgets must show.
    struct Change {
        bool title = false;           // the title changed
        bool allDisplays = false;     // every display's enabled state changed (to connected())
        int display = -1;             // this display changed: enabled and a new text
        bool repaintView = false;     // the tuning view must be repainted at once
    };

    // graph: the tuning view's engine that takes the crosshair; may be null.
    void SetGraph(CGraphEngine* graph) { graph_ = graph; }

    // After the displays were made: the waiting state (the title says so, displays disabled).
    Change Build(int displayCount);
    Change Teardown();
    Change SetConnected(int state);
    // The poller's callback.
    Change OnLiveData(std::int32_t index, const char* text, const float* value);

    int connected() const { return connected_; }
    const std::string& title() const { return title_; }
    int displayCount() const { return static_cast<int>(displays_.size()); }
    bool DisplayEnabled(int display) const { return displays_[static_cast<std::size_t>(display)].enabled; }
    const std::string& DisplayText(int display) const { return displays_[static_cast<std::size_t>(display)].text; }
    // Values shown since the build.
    int valuesShown() const { return valuesShown_; }

private:
    struct Display {
        bool enabled = false;
        std::string text = dashboard::kNoValueText;
    };
    Change HideCrosshair(Change change);

    CGraphEngine* graph_ = nullptr;
    int connected_ = 0;
    std::string title_ = dashboard::kTitleEmpty;
    std::vector<Display> displays_;
    int valuesShown_ = 0;
};

}  // namespace korvath
