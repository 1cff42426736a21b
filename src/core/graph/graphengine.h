#pragma once
// CGraphEngine: the tuning graph without a window. It holds the traces (curves of points with a
// floating-point display value each), lays them out over a common value axis, draws them through
// a DrawSurface, and turns mouse and keyboard input into selections and value changes. Every
// change of a point's value is reported to the owner of the data through a ValueCallback, which
// quantises it to what the controller can store.
//
// Callers draw (which computes the layout) before the first button, move or key event after a
// size change or a change of values: hit testing uses the scales of the last layout.
//
// Draw, DrawCrosshair, DrawCallout and the input operations allocate nothing (the callout's text
// buffer grows only for a text longer than any before it).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graph/color.h"
#include "graph/drawsurface.h"

namespace korvath {

// The receiver of point edits (the document). The engine keeps no record of its units.
class ValueCallback {
public:
    virtual ~ValueCallback() = default;
    // delta == 0 on entry: `proposed` is absolute; store it, return the value the graph shows
    // and set delta to the change applied in the callee's own step units.
    // delta != 0 on entry: ignore `proposed`, move the stored value by delta steps and return
    // the result (delta may be left as it is).
    virtual float OnPointEdited(std::int16_t trace, std::int16_t column, float proposed,
                                std::int16_t& delta) = 0;
    // The callee's stored 16-bit value of a point (shown by the callout).
    virtual std::int16_t StoredPointValue(std::int16_t trace, std::int16_t column) = 0;
};

// Pixel metrics of the layout, in this order.
struct GraphMetrics {
    std::int16_t leftMargin = 5;
    std::int16_t bottomMargin = 5;
    std::int16_t tracePenWidth = 2;
    std::int16_t gridPenWidth = 1;
    std::int16_t markerPenWidth = 1;
    std::int16_t columnLabelGap = 1;
    std::int16_t valueLabelGap = 2;
    std::int16_t markerRadius = 5;
    std::int16_t hitTolerance = 20;
    std::int16_t crosshairRadius = 20;
    std::int16_t crosshairPenWidth = 2;
};

namespace graph {
// Feature flag bits.
constexpr std::uint8_t kFillPanels = 0x01;
constexpr std::uint8_t kVerticalGrid = 0x02;
constexpr std::uint8_t kHorizontalGrid = 0x04;
constexpr std::uint8_t kColumnLabels = 0x08;
constexpr std::uint8_t kValueLabels = 0x10;
constexpr std::uint8_t kCalloutEnabled = 0x20;
constexpr std::uint8_t kCrosshairEnabled = 0x40;

// Modifier bits of OnButtonDown, OnKey and MoveCursor.
constexpr int kShift = 4;
constexpr int kCtrl = 8;

// Key codes handled by OnKey.
constexpr int kKeySpace = 0x20;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyEnd = 0x23;
constexpr int kKeyHome = 0x24;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;

// SetCrosshair: a coordinate that keeps its stored value, and the hidden position.
constexpr float kKeepCoordinate = -1000.0f;
constexpr float kHidden = -1.0f;
// SetTraceLink targets.
constexpr std::int16_t kLinkToSelf = -1;
constexpr std::int16_t kLinkQuery = -2;
// SetLinking query.
constexpr int kLinkingQuery = '?';

constexpr std::size_t kNameLength = 30;
constexpr std::size_t kCalloutFormatLength = 80;
constexpr std::size_t kColumnLabelLength = 6;

// Default trace colours, by trace index modulo 20.
inline constexpr Color kDefaultPalette[20] = {
    0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0xA00000, 0x008000, 0x000080, 0x800080,
    0x008080, 0x808000, 0x4040C0, 0xC0FF00, 0x80FF40, 0xC00080, 0x40C000, 0x8000FF, 0x0080FF, 0xFF8000,
};
}  // namespace graph

class CGraphEngine {
public:
    struct Point {
        float value = 0.0f;
        std::uint8_t selected = 0;
    };

    struct Trace {
        float minimum = 0.0f;
        float maximum = 0.0f;
        std::int16_t link = 0;
        Color color = 0;
        std::uint8_t visible = 0;
        std::uint8_t hasSelection = 0;
        char name[graph::kNameLength + 1] = {};
        char calloutFormat[graph::kCalloutFormatLength + 1] = {};
    };

    // Counts below 1 trace or 2 points give an engine without traces that draws nothing but
    // its axes and ignores every edit.
    CGraphEngine(std::int16_t traceCount = 50, std::int16_t pointCount = 10);

    virtual int DrawCallout(DrawSurface& surface);
    virtual int DrawCrosshair(DrawSurface& surface);
    // The rectangle DrawCrosshair paints in (left, top, right, bottom, exclusive), with room for
    // its pens; false when the crosshair is hidden. A view repaints only this where it was and
    // where it is.
    bool CrosshairBounds(int& left, int& top, int& right, int& bottom) const;
    virtual ~CGraphEngine();

    CGraphEngine(const CGraphEngine&) = delete;
    CGraphEngine& operator=(const CGraphEngine&) = delete;

    // --- set-up and data -------------------------------------------------------------------
    void SetPlotRect(std::int16_t left, std::int16_t top, std::int16_t width, std::int16_t height,
                     const GraphMetrics* metrics = nullptr);
    void MeasureColumnLabels(DrawSurface& surface);
    // `callback` may be null (values then move in whole units of their own, 0 ... 32767).
    void SetValueCallback(ValueCallback* callback) { callback_ = callback; }

    void SetTraceValues(int trace, const float* values);
    void SetPointValue(int trace, int column, float value);
    void UpdateTraceRange(int trace);
    int SetTraceVisible(int trace, int flag);
    void SetTraceColor(int trace, Color color);
    void SetTraceText(int trace, std::string_view name, std::string_view calloutFormat);
    int SetTraceLink(int trace, int target);
    int SetLinking(int flag);
    void GetSize(std::int16_t& traceCount, std::int16_t& pointCount) const;
    Color GetBackgroundColor() const { return backgroundColor_; }

    // --- read-only overlay curves (another calibration to compare with) ----------------------
    // An overlay is drawn dashed in its trace's colour behind every editable trace and counts
    // into the value axis; it is never hit, selected or edited. Null values remove it.
    void SetOverlayValues(int trace, const float* values);
    void ClearOverlays();
    bool HasOverlay(int trace) const;
    float OverlayValue(int trace, int column) const;

    // --- drawing ---------------------------------------------------------------------------
    void Draw(DrawSurface& surface);
    int SetCrosshair(float x, float y);
    void RequestCallout(int trace, int column);
    // No callout until an input asks for one again (every input clears it first; the mouse
    // leaving the view does too).
    void ClearCallout() { calloutTrace_ = calloutColumn_ = -1; }
    // What the status bar says of a point while it is dragged or stepped: the trace, the column
    // and the value as shown and as stored ("1-2 Up, column 5: 23.5 (stored 376)").
    std::string PointStatusText(int trace, int column) const;

    // --- input -----------------------------------------------------------------------------
    int OnButtonDown(int modifiers, int x, int y);
    int OnMouseMove(int held, int x, int y);
    int OnButtonUp();
    void OnKey(int key, int count, int modifiers);
    void MoveCursor(int step, int modifiers);
    float ChangePointValue(int trace, int column, float value, std::int16_t& delta);

    // --- selection -------------------------------------------------------------------------
    void SetPointSelected(int trace, int column, int flag);
    void ClearSelection();

    // --- state, for the view, the bar and the tests ----------------------------------------
    std::int16_t TraceCount() const { return traceCount_; }
    std::int16_t PointCount() const { return pointCount_; }
    const Point& PointAt(int trace, int column) const { return points_[Index(trace, column)]; }
    const Trace& TraceAt(int trace) const { return traces_[static_cast<std::size_t>(trace)]; }
    const char* ColumnLabel(int column) const { return labels_[static_cast<std::size_t>(column)].text; }
    const GraphMetrics& Metrics() const { return metrics_; }
    std::uint8_t FeatureFlags() const { return featureFlags_; }
    void SetFeatureFlags(std::uint8_t flags) { featureFlags_ = flags; }

    float XScale() const { return xScale_; }
    float YScale() const { return yScale_; }
    std::int16_t GridStep() const { return gridStep_; }
    std::int16_t ValueLabelWidth() const { return valueLabelWidth_; }
    std::int16_t ColumnLabelWidth() const { return columnLabelWidth_; }
    std::int16_t ColumnLabelHeight() const { return columnLabelHeight_; }
    std::int32_t AxisMinimum() const { return axisMinimum_; }
    std::int32_t AxisMaximum() const { return axisMaximum_; }
    std::int16_t OriginX() const { return originX_; }
    std::int16_t OriginY() const { return originY_; }
    std::int16_t DragColumn() const { return dragColumn_; }
    float DragValue() const { return dragValue_; }
    std::int16_t ActiveTrace() const { return activeTrace_; }
    std::int16_t CursorColumn() const { return cursorColumn_; }
    bool MultipleSelection() const { return multipleSelection_ != 0; }
    std::int16_t CalloutTrace() const { return calloutTrace_; }
    std::int16_t CalloutColumn() const { return calloutColumn_; }
    float CrosshairX() const { return crosshairX_; }
    float CrosshairY() const { return crosshairY_; }

    // Pixel position of a column and of a value in the last layout (truncated, never rounded).
    int ColumnToX(int column) const;
    int ValueToY(float value) const;
    // Where the crosshair's centre lies for (x column units, y value units) in the last layout.
    void CrosshairCentre(float x, float y, int& cx, int& cy) const;

private:
    struct Label {
        char text[graph::kColumnLabelLength + 1] = {};
    };

    std::size_t Index(int trace, int column) const {
        return static_cast<std::size_t>(trace) * static_cast<std::size_t>(pointCount_) +
               static_cast<std::size_t>(column);
    }
    Point& PointRef(int trace, int column) { return points_[Index(trace, column)]; }
    bool ValidTrace(int trace) const { return trace >= 0 && trace < traceCount_; }
    bool ValidColumn(int column) const { return column >= 0 && column < pointCount_; }
    bool Visible(int trace) const { return ValidTrace(trace) && traces_[static_cast<std::size_t>(trace)].visible; }

    // Layout (graphlayout.cpp).
    void ComputeLayout(DrawSurface& surface);
    int NearestColumn(int x) const;
    bool ColumnHit(int column, int x) const;
    int ClosestTrace(int column, int dy) const;

    // Drawing (graphdrawing.cpp).
    void DrawAxes(DrawSurface& surface);
    void DrawTrace(DrawSurface& surface, int trace);
    void DrawMarker(DrawSurface& surface, int trace, int x, int y);
    // Overlays (graphoverlaycurves.cpp).
    void DrawOverlays(DrawSurface& surface);
    void WidenRangeByOverlays(bool& any, float& minimum, float& maximum) const;

    // Selection (graphengine.cpp).
    void Normalize(int anchor, bool shift);

    ValueCallback* callback_ = nullptr;
    std::int16_t traceCount_ = 0;
    std::int16_t pointCount_ = 0;
    std::int16_t plotLeft_ = 0;
    std::int16_t plotTop_ = 0;
    std::int16_t plotWidth_ = 0;
    std::int16_t plotHeight_ = 0;
    std::vector<Point> points_;
    std::vector<Trace> traces_;
    std::vector<Label> labels_;
    std::int16_t gridDensity_ = 8;
    std::int16_t columnLabelStep_ = 1;
    std::uint8_t featureFlags_ = 0xFF;
    Color labelTextColor_ = 0xFFFFFF;
    Color panelColor_ = 0x000000;
    Color gridColor_ = 0xD0D0D0;
    Color markerFillColor_ = 0x0080FF;
    Color backgroundColor_ = 0xFFFFFF;
    Color calloutTextColor_ = 0x000000;
    Color calloutBackgroundColor_ = 0x00FFFF;
    Color crosshairLineColor_ = 0x0000FF;
    float xScale_ = 0.0f;
    float yScale_ = 0.0f;
    std::int16_t gridStep_ = 1;
    std::int16_t valueLabelWidth_ = 0;
    std::int16_t columnLabelWidth_ = 0;
    std::int16_t columnLabelHeight_ = 0;
    std::int32_t axisMinimum_ = 0;
    std::int32_t axisMaximum_ = 1;
    std::int16_t originX_ = 0;
    std::int16_t originY_ = 0;
    std::int16_t dragColumn_ = -1;
    float dragValue_ = 0.0f;
    std::int16_t dragOffset_ = 0;
    std::int16_t activeTrace_ = -1;
    std::int16_t cursorColumn_ = -1;
    std::uint8_t linking_ = 0;
    std::uint8_t multipleSelection_ = 0;
    std::int16_t calloutTrace_ = -1;
    std::int16_t calloutColumn_ = -1;
    float crosshairX_ = -1.0f;
    float crosshairY_ = -1.0f;
    GraphMetrics metrics_;
    struct Overlay {
        std::uint8_t shown = 0;
        float minimum = 0.0f;
        float maximum = 0.0f;
    };
    std::vector<Overlay> overlays_;       // one per trace
    std::vector<float> overlayValues_;    // trace-major, like points_
    // The callout text; grown (rarely) when a text is longer than any before it.
    std::vector<char> calloutText_;
};

}  // namespace korvath
