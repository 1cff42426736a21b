#include "ui/graph/qpainter_surface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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

int RoundHalfUp(qreal v) { return static_cast<int>(std::floor(v + 0.5)); }

QPen MakePen(const Pen& pen) {
    QPen result(QBrush(ToQColor(pen.color)), pen.width, QtPenStyle(pen.style),
                pen.cap == PenCap::Square ? Qt::SquareCap : Qt::RoundCap, Qt::MiterJoin);
    return result;
}

}  // namespace

void QPainterSurface::Begin(QPainter& painter, qreal scale) {
    painter_ = &painter;
    if (scale <= 0) scale = 1.0;
    if (scale != scale_) {
        // Laid-out texts are prepared for one scale.
        scale_ = scale;
        textCount_ = 0;
        nextTextSlot_ = 0;
    }
    scaled_ = scale_ != 1.0;
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

int QPainterSurface::DeviceWidth(int width) const {
    if (width <= 0) return width;  // a cosmetic pen stays one device pixel
    return std::max(1, RoundHalfUp(width * scale_));
}

int QPainterSurface::DeviceLine(int at, int width) const {
    // An integer line of width w covers [at - w/2, at - w/2 + w); its device line of width W is
    // centred on the scaled centre of that span and placed the way the raster draws one.
    const int w = std::max(1, width);
    const int deviceWidth = std::max(1, DeviceWidth(width));
    const qreal centre = scale_ * (at - w / 2 + w / 2.0);
    return RoundHalfUp(centre - deviceWidth / 2.0) + deviceWidth / 2;
}

int QPainterSurface::DeviceEdge(int at) const { return RoundHalfUp(at * scale_); }

void QPainterSurface::Flush() {
    if (polylineCount_ == 0) return;
    ApplyPen();
    if (scaled_) {
        for (int i = 0; i < polylineCount_; ++i) {
            QPoint& p = polyline_[static_cast<std::size_t>(i)];
            p = QPoint(DeviceLine(p.x(), pen_.width), DeviceLine(p.y(), pen_.width));
        }
    }
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
    Pen device = pen_;
    device.width = DeviceWidth(pen_.width);
    painter_->setPen(CachedPen(device));
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
        const int grow = DeviceWidth(pen_.width) / 2;
        painter_->setPen(Qt::NoPen);
        penApplied_ = false;
        ApplyBrush();
        const QRect box = DeviceBox(left, top, right, bottom);
        painter_->drawEllipse(box.adjusted(-grow, -grow, grow, grow));
        return;
    }
    ApplyPen();
    ApplyBrush();
    painter_->drawEllipse(DeviceBox(left, top, right, bottom).adjusted(0, 0, -1, -1));
}

QRect QPainterSurface::DeviceBox(int left, int top, int right, int bottom) const {
    if (!scaled_) return {left, top, right - left, bottom - top};
    const int x = DeviceEdge(left);
    const int y = DeviceEdge(top);
    return {x, y, DeviceEdge(right) - x, DeviceEdge(bottom) - y};
}

void QPainterSurface::DrawRectangle(int left, int top, int right, int bottom) {
    if (painter_ == nullptr) return;
    Flush();
    ApplyPen();
    ApplyBrush();
    painter_->drawRect(DeviceBox(left, top, right, bottom).adjusted(0, 0, -1, -1));
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
    slot.text.prepare(QTransform::fromScale(scale_, scale_), font_);
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
    if (opaque_) painter_->fillRect(DeviceBox(left, top, left + width, top + metrics.height()), CachedBrush(textBackground_));
    painter_->setPen(CachedPen(Pen{PenStyle::Solid, 1, textColor_, PenCap::Round}));
    penApplied_ = false;
    // The glyphs are scaled by the painter, from a corner on a whole device pixel.
    QPointF corner(left, top);
    if (scaled_) {
        painter_->setTransform(QTransform::fromScale(scale_, scale_));
        corner = QPointF(DeviceEdge(left) / scale_, DeviceEdge(top) / scale_);
    }
    if (slot != nullptr) {
        // A static text is placed by its top-left corner.
        painter_->drawStaticText(corner, slot->text);
    } else {
        painter_->drawText(corner + QPointF(0, metrics.ascent()), string);
    }
    if (scaled_) painter_->setTransform(QTransform());
}

}  // namespace korvath::ui
