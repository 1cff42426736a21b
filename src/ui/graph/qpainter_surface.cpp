#include "ui/graph/qpainter_surface.h"

#include <QPainter>
#include <algorithm>

#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {

Qt::PenStyle QtPenStyle(PenStyle style) {
    switch (style) {
        case PenStyle::Dot: return Qt::DotLine;
        case PenStyle::Dash: return Qt::DashLine;
        case PenStyle::Solid: break;
    }
    return Qt::SolidLine;
}

QPen MakePen(const Pen& pen) {
    QPen result(QBrush(ToQColor(pen.color)), pen.width, QtPenStyle(pen.style),
                pen.cap == PenCap::Square ? Qt::SquareCap : Qt::RoundCap, Qt::MiterJoin);
    return result;
}

}  // namespace

void QPainterSurface::Begin(QPainter& painter) {
    painter_ = &painter;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    xor_ = false;
    polylineCount_ = 0;
    penApplied_ = false;
    brushApplied_ = false;
    if (!metrics_ || painter.font() != font_) {
        font_ = painter.font();
        metrics_.emplace(font_);
        textCount_ = 0;
        nextTextSlot_ = 0;
    }
}

void QPainterSurface::End() {
    Flush();
    painter_ = nullptr;
}

void QPainterSurface::Flush() {
    if (polylineCount_ == 0) return;
    ApplyPen();
    painter_->drawPolyline(polyline_.data(), polylineCount_);
    polylineCount_ = 0;
}

const QPen& QPainterSurface::CachedPen(const Pen& pen) {
    for (int i = 0; i < penCount_; ++i) {
        if (pens_[static_cast<std::size_t>(i)].key == pen) return pens_[static_cast<std::size_t>(i)].pen;
    }
    // More pens than slots only when a definition colours many traces differently; the oldest
    // slot is reused then.
    PenSlot& slot = pens_[static_cast<std::size_t>(nextPenSlot_)];
    nextPenSlot_ = (nextPenSlot_ + 1) % kPenSlots;
    penCount_ = std::min(penCount_ + 1, kPenSlots);
    slot.key = pen;
    slot.pen = MakePen(pen);
    return slot.pen;
}

const QBrush& QPainterSurface::CachedBrush(Color color) {
    for (int i = 0; i < brushCount_; ++i) {
        if (brushes_[static_cast<std::size_t>(i)].key == color) return brushes_[static_cast<std::size_t>(i)].brush;
    }
    BrushSlot& slot = brushes_[static_cast<std::size_t>(nextBrushSlot_)];
    nextBrushSlot_ = (nextBrushSlot_ + 1) % kBrushSlots;
    brushCount_ = std::min(brushCount_ + 1, kBrushSlots);
    slot.key = color;
    slot.brush = QBrush(ToQColor(color));
    return slot.brush;
}

void QPainterSurface::ApplyPen() {
    if (penApplied_) return;
    painter_->setPen(CachedPen(pen_));
    penApplied_ = true;
}

void QPainterSurface::ApplyBrush() {
    if (brushApplied_) return;
    if (hasBrush_) {
        painter_->setBrush(CachedBrush(brush_));
    } else {
        painter_->setBrush(Qt::NoBrush);
    }
    brushApplied_ = true;
}

void QPainterSurface::SetPen(const Pen& pen) {
    if (pen == pen_) return;
    Flush();
    pen_ = pen;
    penApplied_ = false;
}

void QPainterSurface::SetBrush(Color color) {
    if (hasBrush_ && brush_ == color && brushApplied_) return;
    hasBrush_ = true;
    brush_ = color;
    brushApplied_ = false;
}

void QPainterSurface::SetNoBrush() {
    if (!hasBrush_ && brushApplied_) return;
    hasBrush_ = false;
    brushApplied_ = false;
}

bool QPainterSurface::SetXorMode(bool on) {
    Flush();
    const bool previous = xor_;
    xor_ = on;
    if (painter_ != nullptr) {
        painter_->setCompositionMode(on ? QPainter::RasterOp_SourceXorDestination
                                        : QPainter::CompositionMode_SourceOver);
    }
    return previous;
}

void QPainterSurface::DrawLine(int x1, int y1, int x2, int y2) {
    if (painter_ == nullptr) return;
    const QPoint from(x1, y1);
    if (polylineCount_ > 0 && polylineCount_ < kMaxPolyline && polyline_[static_cast<std::size_t>(polylineCount_ - 1)] == from) {
        polyline_[static_cast<std::size_t>(polylineCount_++)] = QPoint(x2, y2);
        return;
    }
    Flush();
    polyline_[0] = from;
    polyline_[1] = QPoint(x2, y2);
    polylineCount_ = 2;
}

void QPainterSurface::DrawEllipse(int left, int top, int right, int bottom) {
    if (painter_ == nullptr) return;
    Flush();
    if (xor_ && hasBrush_) {
        // Outline and fill drawn one over the other would cancel where they overlap; in
        // exclusive-or mode the ellipse is one filled shape out to the pen's outer edge.
        const int grow = pen_.width / 2;
        painter_->setPen(Qt::NoPen);
        penApplied_ = false;
        ApplyBrush();
        painter_->drawEllipse(QRect(left - grow, top - grow, right - left + 2 * grow, bottom - top + 2 * grow));
        return;
    }
    ApplyPen();
    ApplyBrush();
    painter_->drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QPainterSurface::DrawRectangle(int left, int top, int right, int bottom) {
    if (painter_ == nullptr) return;
    Flush();
    ApplyPen();
    ApplyBrush();
    painter_->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QPainterSurface::SetTextColor(Color color) { textColor_ = color; }

void QPainterSurface::SetTextBackground(bool opaque, Color color) {
    opaque_ = opaque;
    textBackground_ = color;
}

void QPainterSurface::SetTextAlign(HAlign horizontal, VAlign vertical) {
    hAlign_ = horizontal;
    vAlign_ = vertical;
}

const QString& QPainterSurface::ToText(std::string_view text) {
    // Definition texts are single-byte; the buffer keeps its capacity between calls.
    text_.resize(static_cast<qsizetype>(text.size()));
    QChar* out = text_.data();
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = QChar(static_cast<unsigned char>(text[i]));
    return text_;
}

const QFontMetrics& QPainterSurface::Metrics() {
    if (!metrics_) metrics_.emplace(font_);
    return *metrics_;
}

QPainterSurface::TextSlot* QPainterSurface::CachedText(std::string_view text) {
    if (text.size() > kTextKeyLength) return nullptr;
    for (int i = 0; i < textCount_; ++i) {
        TextSlot& slot = texts_[static_cast<std::size_t>(i)];
        if (slot.length == text.size() && text.compare(0, text.size(), slot.key, slot.length) == 0) return &slot;
    }
    TextSlot& slot = texts_[static_cast<std::size_t>(nextTextSlot_)];
    nextTextSlot_ = (nextTextSlot_ + 1) % kTextSlots;
    textCount_ = std::min(textCount_ + 1, kTextSlots);
    text.copy(slot.key, text.size());
    slot.key[text.size()] = '\0';
    slot.length = text.size();
    const QString& string = ToText(text);
    slot.width = Metrics().horizontalAdvance(string);
    slot.text = QStaticText(string);
    slot.text.setTextFormat(Qt::PlainText);
    slot.text.prepare(QTransform(), font_);
    return &slot;
}

TextSize QPainterSurface::MeasureText(std::string_view text) {
    const QFontMetrics& metrics = Metrics();
    if (const TextSlot* slot = CachedText(text)) return {slot->width, metrics.height()};
    return {metrics.horizontalAdvance(ToText(text)), metrics.height()};
}

void QPainterSurface::DrawText(int x, int y, std::string_view text) {
    if (painter_ == nullptr || text.empty()) return;
    Flush();
    const QFontMetrics& metrics = Metrics();
    TextSlot* slot = CachedText(text);
    const QString& string = slot != nullptr ? text_ : ToText(text);
    int width = 0;
    if (hAlign_ != HAlign::Left || opaque_) width = slot != nullptr ? slot->width : metrics.horizontalAdvance(string);
    int left = x;
    if (hAlign_ == HAlign::Center) left = x - width / 2;
    if (hAlign_ == HAlign::Right) left = x - width;
    const int top = vAlign_ == VAlign::Top ? y : y - metrics.height();
    if (opaque_) painter_->fillRect(QRect(left, top, width, metrics.height()), CachedBrush(textBackground_));
    painter_->setPen(CachedPen(Pen{PenStyle::Solid, 1, textColor_, PenCap::Round}));
    penApplied_ = false;
    if (slot != nullptr) {
        // A static text is placed by its top-left corner.
        painter_->drawStaticText(left, top, slot->text);
    } else {
        painter_->drawText(left, top + metrics.ascent(), string);
    }
}

}  // namespace korvath::ui
