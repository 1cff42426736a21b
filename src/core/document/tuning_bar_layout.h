#pragma once
// The graphical tuning bar as the definition's "[GraphicalTuning]" section describes it: one walk
// over the section's "GraphElement" blocks that binds every trace (conversion keys, colour, name,
// callout format, link, visibility, proxy flag) and lays out the bar's check boxes, captions and
// group labels in pixels. The bar's widgets only show what this returns; the command-line tool
// and the tests use the same walk for the binding alone.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/control_rect.h"
#include "graph/color.h"

namespace korvath {

class CQRNDoc;

namespace tuning_bar {

inline constexpr char kSection[] = "[GraphicalTuning]";
inline constexpr char kBlockKey[] = "GraphElement";
inline constexpr char kTraceType[] = "Trace";
inline constexpr char kTraceLinkButtonType[] = "TraceLinkButton";
inline constexpr char kControlButtonType[] = "ControlButton";
inline constexpr char kLabelType[] = "Label";
inline constexpr char kBitValStateFormat[] = "BitValState%d";

// The bar holds at most this many check boxes and group labels.
inline constexpr int kMaxControls = 35;
inline constexpr int kMaxLabels = 12;
// Traces one check box shows and hides.
inline constexpr int kMaxTracesPerBox = 10;

// The column and the rows, in pixels.
inline constexpr int kColumnLeft = 5;
inline constexpr int kColumnRight = 130;
inline constexpr int kRowGap = 10;
inline constexpr int kRowHeight = 20;
inline constexpr int kLabelGap = 15;
inline constexpr int kLabelHeight = 16;
inline constexpr int kLabelRise = 5;
inline constexpr int kBoxWidth = 15;
inline constexpr int kCaptionIndent = 18;

// Caption background of a button element without "BackColor".
inline constexpr Color kDefaultButtonBackColor = 0x00D0D0D0;
inline constexpr Color kCaptionTextColor = 0x00000000;

}  // namespace tuning_bar

// The texts a control and its captions register with the main window's control-id pool.
struct BarHelpTexts {
    std::string help;
    std::string statusBar;
    std::string toolTip;
};

struct BarCaption {
    ControlRect rect;
    std::string text;
    std::string logicalName;
    Color backColor = 0;
    BarHelpTexts texts;
};

// Kinds of the bar's check boxes.
namespace BarBoxKind {
inline constexpr int Trace = 4;
inline constexpr int ControlButton = 6;
inline constexpr int TraceLink = 7;
}  // namespace BarBoxKind

struct BarCheckBox {
    int kind = BarBoxKind::Trace;
    ControlRect rect;
    std::string logicalName;
    int checked = 0;
    BarHelpTexts texts;
    // Traces a trace box shows and hides; -1: free slot.
    std::array<std::int16_t, tuning_bar::kMaxTracesPerBox> traces;
    BarCaption caption;
    // The second caption of a shared row (a trace with EnableButton 2).
    bool hasSecondCaption = false;
    BarCaption secondCaption;

    BarCheckBox() { traces.fill(-1); }
};

struct TuningBarLayout {
    bool hasSection = false;
    int tracesBound = 0;
    std::vector<BarCheckBox> boxes;  // in creation order
    std::vector<BarCaption> labels;  // the "Label" elements
    // Elements that found the bar full (check boxes past kMaxControls, labels past kMaxLabels).
    int droppedBoxes = 0;
    int droppedLabels = 0;
    // The lowest row's bottom: the bar's surface is at least this high.
    int bottom = 0;
};

// Walks "[GraphicalTuning]" of the document's definition: binds each trace on the document's
// graph and returns the bar's layout. Without a graph the traces are not bound and the layout
// is empty; without the section hasSection is false.
TuningBarLayout LayOutTuningBar(CQRNDoc& doc);

// What a click on one of the bar's check boxes does to the calibration and the graph:
// a trace box shows or hides its traces and keeps that in the calibration; the link box switches
// trace linking; a control button applies its "BitValState<state>" list (true: the bar must be
// built again, as conditions may depend on the changed bits).
void ApplyTraceBox(CQRNDoc& doc, const std::array<std::int16_t, tuning_bar::kMaxTracesPerBox>& traces, int state);
void ApplyLinkBox(CQRNDoc& doc, int state);
bool ApplyControlButton(CQRNDoc& doc, const std::string& logicalName, int state);

}  // namespace korvath
