#pragma once
// A drawing surface that keeps every primitive with its coordinates and the pen, brush and text
// state in force when it was drawn, so that tests can assert on what the graph engine drew.
// Text is measured with a fixed character cell (6 x 12 pixels unless set otherwise).

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "graph/drawsurface.h"

namespace korvath::test {

class RecordingSurface : public DrawSurface {
public:
    enum class Kind { Line, Ellipse, Rectangle, Text };

    struct Op {
        Kind kind = Kind::Line;
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line ends, or box; text position in x1, y1
        Pen pen;
        bool hasBrush = false;
        Color brush = 0;
        bool xorMode = false;
        std::string text;
        Color textColor = 0;
        bool opaque = false;
        Color textBackground = 0;
        HAlign hAlign = HAlign::Left;
        VAlign vAlign = VAlign::Top;
    };

    explicit RecordingSurface(int charWidth = 6, int charHeight = 12)
        : charWidth_(charWidth), charHeight_(charHeight) {}

    void SetPen(const Pen& pen) override { pen_ = pen; }
    void SetBrush(Color color) override {
        hasBrush_ = true;
        brush_ = color;
    }
    void SetNoBrush() override { hasBrush_ = false; }
    bool SetXorMode(bool on) override {
        const bool previous = xor_;
        xor_ = on;
        return previous;
    }
    void DrawLine(int x1, int y1, int x2, int y2) override { Add(Kind::Line, x1, y1, x2, y2); }
    void DrawEllipse(int l, int t, int r, int b) override { Add(Kind::Ellipse, l, t, r, b); }
    void DrawRectangle(int l, int t, int r, int b) override { Add(Kind::Rectangle, l, t, r, b); }
    void SetTextColor(Color color) override { textColor_ = color; }
    void SetTextBackground(bool opaque, Color color) override {
        opaque_ = opaque;
        textBackground_ = color;
    }
    void SetTextAlign(HAlign h, VAlign v) override {
        hAlign_ = h;
        vAlign_ = v;
    }
    void DrawText(int x, int y, std::string_view text) override {
        Op& op = Add(Kind::Text, x, y, x, y);
        op.text.assign(text);
    }
    TextSize MeasureText(std::string_view text) override {
        return {static_cast<int>(text.size()) * charWidth_, charHeight_};
    }

    const std::vector<Op>& ops() const { return ops_; }
    void Clear() { ops_.clear(); }

    std::vector<Op> OfKind(Kind kind) const {
        std::vector<Op> out;
        std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out), [&](const Op& op) { return op.kind == kind; });
        return out;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const Op& op : ops_) {
            if (op.kind == Kind::Text) out.push_back(op.text);
        }
        return out;
    }
    // Lines drawn with a pen of this colour.
    std::vector<Op> LinesIn(Color color) const {
        std::vector<Op> out;
        for (const Op& op : ops_) {
            if (op.kind == Kind::Line && op.pen.color == color) out.push_back(op);
        }
        return out;
    }

private:
    Op& Add(Kind kind, int x1, int y1, int x2, int y2) {
        Op op;
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.pen = pen_;
        op.hasBrush = hasBrush_;
        op.brush = brush_;
        op.xorMode = xor_;
        op.textColor = textColor_;
        op.opaque = opaque_;
        op.textBackground = textBackground_;
        op.hAlign = hAlign_;
        op.vAlign = vAlign_;
        ops_.push_back(std::move(op));
        return ops_.back();
    }

    int charWidth_;
    int charHeight_;
    Pen pen_;
    bool hasBrush_ = false;
    Color brush_ = 0;
    bool xor_ = false;
    Color textColor_ = 0;
    bool opaque_ = false;
    Color textBackground_ = 0;
    HAlign hAlign_ = HAlign::Left;
    VAlign vAlign_ = VAlign::Top;
    std::vector<Op> ops_;
};

// Counts primitives and keeps nothing: for measuring the engine alone.
class CountingSurface : public DrawSurface {
public:
    void SetPen(const Pen&) override {}
    void SetBrush(Color) override {}
    void SetNoBrush() override {}
    bool SetXorMode(bool on) override {
        const bool previous = xor_;
        xor_ = on;
        return previous;
    }
    void DrawLine(int, int, int, int) override { ++primitives; }
    void DrawEllipse(int, int, int, int) override { ++primitives; }
    void DrawRectangle(int, int, int, int) override { ++primitives; }
    void SetTextColor(Color) override {}
    void SetTextBackground(bool, Color) override {}
    void SetTextAlign(HAlign, VAlign) override {}
    void DrawText(int, int, std::string_view) override { ++primitives; }
    TextSize MeasureText(std::string_view text) override { return {static_cast<int>(text.size()) * 6, 12}; }

    std::size_t primitives = 0;

private:
    bool xor_ = false;
};

}  // namespace korvath::test
