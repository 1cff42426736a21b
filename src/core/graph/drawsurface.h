#pragma once
// The drawing layer the graph engine paints through. It knows nothing of windows: the tuning
// view implements it on an off-screen image, the tests with a recorder.
//
// Rectangles and ellipse boxes are given as (left, top, right, bottom) with the right and bottom
// edges excluded, so a box (x - r, y - r, x + r, y + r) is 2r pixels wide.

#include <string_view>

#include "graph/color.h"

namespace korvath {

enum class PenStyle { Solid, Dot, Dash };
enum class PenCap { Round, Square };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Color color = 0;
    PenCap cap = PenCap::Round;
    bool operator==(const Pen&) const = default;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Bottom };

struct TextSize {
    int width = 0;
    int height = 0;
};

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // Lines and outlines use the pen; ellipses and rectangles are filled with the brush.
    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetBrush(Color color) = 0;
    virtual void SetNoBrush() = 0;
    // Exclusive-or drawing: every pixel drawn is combined with what lies under it. Returns the
    // previous mode.
    virtual bool SetXorMode(bool on) = 0;

    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    virtual void DrawEllipse(int left, int top, int right, int bottom) = 0;
    virtual void DrawRectangle(int left, int top, int right, int bottom) = 0;

    // Text is placed relative to (x, y) by the alignment: Top hangs the text from y, Bottom
    // stands it on y. An opaque background fills the text's box with the background colour.
    virtual void SetTextColor(Color color) = 0;
    virtual void SetTextBackground(bool opaque, Color color) = 0;
    virtual void SetTextAlign(HAlign horizontal, VAlign vertical) = 0;
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    virtual TextSize MeasureText(std::string_view text) = 0;
};

}  // namespace korvath
