#pragma once
// The graph engine's drawing surface on a QPainter. Meant for raster targets (QImage, the
// widget's backing store): exclusive-or drawing works only there, and only without
// antialiasing, which Begin switches off.
//
// One surface can serve many paints: pens, brushes and the layouts of short texts are kept
// between them, so that a redraw after every mouse move builds none of them anew once they have
// been seen. Lines that continue one another with the same pen are stroked as one poly-line
// (round ends, mitred joins), which is how a trace is meant to look and saves a cap per vertex.
//
// On a high-DPI image the painter draws in the image's device pixels and the surface scales the
// engine's pixels itself: every line, box and text lands on whole device pixels and a pen of w
// engine pixels is round(w * scale) device pixels wide wherever it is drawn. Scaled by the
// painter instead, a 1-pixel line at a ratio of 1.5 would be one device pixel wide at some
// places and two at others.

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <array>
#include <optional>

#include "graph/drawsurface.h"

class QPainter;

namespace korvath::ui {

class QPainterSurface final : public DrawSurface {
public:
    QPainterSurface() = default;
    explicit QPainterSurface(QPainter& painter) { Begin(painter); }

    // Draws with `painter` until End (or the next Begin). The painter's font measures and
    // draws the text. `scale`: device pixels of the painter to one engine pixel (the screen's
    // device pixel ratio when the painter draws in device pixels; 1 otherwise).
    void Begin(QPainter& painter, qreal scale = 1.0);
    void End();

    void SetPen(const Pen& pen) override;
    void SetBrush(Color color) override;
    void SetNoBrush() override;
    bool SetXorMode(bool on) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawEllipse(int left, int top, int right, int bottom) override;
    void DrawRectangle(int left, int top, int right, int bottom) override;
    void SetTextColor(Color color) override;
    void SetTextBackground(bool opaque, Color color) override;
    void SetTextAlign(HAlign horizontal, VAlign vertical) override;
    void DrawText(int x, int y, std::string_view text) override;
    TextSize MeasureText(std::string_view text) override;

private:
    static constexpr int kPenSlots = 32;
    static constexpr int kBrushSlots = 16;

    struct PenSlot {
        Pen key;
        QPen pen;
    };
    struct BrushSlot {
        Color key = 0;
        QBrush brush;
    };
    // Laid-out short texts (axis labels repeat in every paint): drawing one needs no new layout.
    static constexpr int kTextSlots = 64;
    static constexpr std::size_t kTextKeyLength = 23;
    struct TextSlot {
        char key[kTextKeyLength + 1] = {};
        std::size_t length = 0;
        int width = 0;
        QStaticText text;
    };

    const QPen& CachedPen(const Pen& pen);
    const QBrush& CachedBrush(Color color);
    void ApplyPen();
    void Flush();
    void ApplyBrush();
    const QString& ToText(std::string_view text);
    // The cached layout of a short text, null for a long one.
    TextSlot* CachedText(std::string_view text);
    const QFontMetrics& Metrics();
    // Engine pixels to device pixels: a pen's width, the device position of a line of a pen of
    // `width` engine pixels at engine position `at`, and a box edge.
    int DeviceWidth(int width) const;
    int DeviceLine(int at, int width) const;
    int DeviceEdge(int at) const;
    // The box (left, top, right, bottom), right and bottom excluded, in device pixels.
    QRect DeviceBox(int left, int top, int right, int bottom) const;

    QPainter* painter_ = nullptr;
    qreal scale_ = 1.0;
    bool scaled_ = false;
    static constexpr int kMaxPolyline = 64;
    std::array<QPoint, kMaxPolyline> polyline_{};
    int polylineCount_ = 0;
    std::array<PenSlot, kPenSlots> pens_{};
    int penCount_ = 0;
    int nextPenSlot_ = 0;
    std::array<BrushSlot, kBrushSlots> brushes_{};
    int brushCount_ = 0;
    int nextBrushSlot_ = 0;

    Pen pen_;
    bool hasBrush_ = false;
    Color brush_ = 0;
    bool penApplied_ = false;
    bool brushApplied_ = false;
    bool xor_ = false;

    Color textColor_ = 0;
    bool opaque_ = false;
    Color textBackground_ = 0xFFFFFF;
    HAlign hAlign_ = HAlign::Left;
    VAlign vAlign_ = VAlign::Top;
    std::array<TextSlot, kTextSlots> texts_{};
    int textCount_ = 0;
    int nextTextSlot_ = 0;
    QString text_;
    QFont font_;
    std::optional<QFontMetrics> metrics_;
};

}  // namespace korvath::ui
