#include "ui/graph/qrnview.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWheelEvent>
#include <QtMath>
#include <cstdlib>

#include "document/qrndoc.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {
// The plot rectangle keeps 20 pixels left and top, 30 right and 20 bottom.
constexpr int kPlotLeft = 20;
constexpr int kPlotTop = 20;
constexpr int kPlotWidthLess = 50;
constexpr int kPlotHeightLess = 40;
}  // namespace

int EngineModifiers(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? graph::kShift : 0) | (modifiers & Qt::ControlModifier ? graph::kCtrl : 0);
}

int EngineKeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Space: return graph::kKeySpace;
        case Qt::Key_PageUp: return graph::kKeyPageUp;
        case Qt::Key_PageDown: return graph::kKeyPageDown;
        case Qt::Key_End: return graph::kKeyEnd;
        case Qt::Key_Home: return graph::kKeyHome;
        case Qt::Key_Left: return graph::kKeyLeft;
        case Qt::Key_Up: return graph::kKeyUp;
        case Qt::Key_Right: return graph::kKeyRight;
        case Qt::Key_Down: return graph::kKeyDown;
        default: return 0;
    }
}

CQRNView::CQRNView(CQRNDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), graph_(std::make_unique<CGraphEngine>(kNumTraces, kPointsPerTrace)) {
    setObjectName(QStringLiteral("TuningView"));
    // The view paints every pixel itself from its image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::WheelFocus);
    setMouseTracking(true);

    {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter painter(&scratch);
        painter.setFont(font());
        surface_.Begin(painter);
        graph_->MeasureColumnLabels(surface_);
        surface_.End();
    }
    graph_->SetValueCallback(&doc_);
    doc_.SetGraph(graph_.get());
    doc_.PushTracesToGraph();
    doc_.SetShowConverted(true);
}

CQRNView::~CQRNView() {
    // The document outlives the view: it must not keep pointing at the engine.
    if (doc_.graph() == graph_.get()) doc_.SetGraph(nullptr);
}

void CQRNView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int cx = width();
    const int cy = height();
    MakeImage();
    graph_->SetPlotRect(static_cast<std::int16_t>(kPlotLeft), static_cast<std::int16_t>(kPlotTop),
                        static_cast<std::int16_t>(cx - kPlotWidthLess), static_cast<std::int16_t>(cy - kPlotHeightLess));
    clientRect_ = QRect(0, 0, cx, cy);
    if (minTrackSize_) minTrackSize_(kMinTrackWidth, kMinTrackHeight);
}

void CQRNView::MakeImage() {
    // One image pixel to a screen pixel, so that lines and text are as sharp as the screen.
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(qMax(1, qRound(width() * ratio)), qMax(1, qRound(height() * ratio)), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(palette().color(QPalette::Base));
}

void CQRNView::Compose() {
    // The window moved to a screen of another pixel ratio: no size event tells.
    if (image_.devicePixelRatio() != devicePixelRatioF()) MakeImage();
    const qreal ratio = image_.devicePixelRatio();
    // Drawn in device pixels: the surface puts every line on whole pixels of the screen.
    if (under_.size() != image_.size() || under_.format() != image_.format()) under_ = QImage(image_.size(), image_.format());
    {
        QPainter painter(&under_);
        painter.setFont(font());
        painter.fillRect(under_.rect(), ToQColor(graph_->GetBackgroundColor()));
        surface_.Begin(painter, ratio);
        graph_->Draw(surface_);
        // What lies under the crosshair is drawn in the view's own pixels.
        painter.save();
        painter.scale(ratio, ratio);
        for (const auto& [owner, draw] : underCrosshair_) draw(painter);
        painter.restore();
        surface_.End();
    }
    image_.setDevicePixelRatio(1.0);
    {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, under_);
    }
    image_.setDevicePixelRatio(ratio);
    DrawOverlay();
}

void CQRNView::DrawOverlay() {
    const qreal ratio = image_.devicePixelRatio();
    image_.setDevicePixelRatio(1.0);
    {
        QPainter painter(&image_);
        painter.setFont(font());
        surface_.Begin(painter, ratio);
        graph_->DrawCrosshair(surface_);
        graph_->DrawCallout(surface_);
        surface_.End();
    }
    image_.setDevicePixelRatio(ratio);
    crosshairRect_ = CrosshairRect();
}

QRect CQRNView::CrosshairRect() const {
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!graph_->CrosshairBounds(left, top, right, bottom)) return {};
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(rect());
}

void CQRNView::RepaintCrosshair() {
    // Nothing drawn yet, or a new screen's pixel ratio: the whole view.
    if (under_.isNull() || under_.size() != image_.size() || image_.devicePixelRatio() != devicePixelRatioF()) {
        Redraw();
        return;
    }
    const QRect before = crosshairRect_;
    const QRect after = CrosshairRect();
    const QRegion dirty = QRegion(before) + QRegion(after);
    if (dirty.isEmpty()) return;
    {
        // What the crosshair leaves, as it was under it.
        const qreal ratio = image_.devicePixelRatio();
        image_.setDevicePixelRatio(1.0);
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : dirty) {
            const QRect device(QPoint(qFloor(r.left() * ratio), qFloor(r.top() * ratio)),
                               QPoint(qCeil((r.right() + 1) * ratio) - 1, qCeil((r.bottom() + 1) * ratio) - 1));
            painter.drawImage(device, under_, device);
        }
        painter.end();
        image_.setDevicePixelRatio(ratio);
    }
    DrawOverlay();
    crosshairOnly_ = true;
    repaint(dirty);
    crosshairOnly_ = false;
}

void CQRNView::paintEvent(QPaintEvent*) {
    ++paintCount_;
    if (image_.isNull()) return;
    // The painter keeps to the region asked for; a crosshair move has its image ready.
    if (!crosshairOnly_) Compose();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(clientRect_.topLeft(), image_);
}

QImage CQRNView::ComposedImage() {
    if (image_.isNull()) return {};
    Compose();
    return image_;
}

void CQRNView::RepaintNow() {
    repaint();
    Q_EMIT redrawn();
}

void CQRNView::Redraw() { RepaintNow(); }

void CQRNView::SetUnderCrosshair(const void* owner, std::function<void(QPainter&)> draw) {
    std::erase_if(underCrosshair_, [owner](const auto& entry) { return entry.first == owner; });
    if (draw) underCrosshair_.emplace_back(owner, std::move(draw));
    update();
}

void CQRNView::LoseCapture() { capture_ = false; }

void CQRNView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    capture_ = true;
    Q_EMIT editBegins();
    const QPoint p = event->position().toPoint();
    graph_->OnButtonDown(EngineModifiers(event->modifiers()), p.x(), p.y());
    RepaintNow();
    QWidget::mousePressEvent(event);
}

void CQRNView::mouseMoveEvent(QMouseEvent* event) {
    const bool held = event->buttons() & Qt::LeftButton;
    // A drag that lost the capture (a box opened, another window took the mouse) is over.
    if (held && !capture_) return;
    const QPoint p = event->position().toPoint();
    graph_->OnMouseMove(held ? 1 : 0, p.x(), p.y());
    RepaintNow();
    if (held && graph_->DragColumn() >= 0)
        Q_EMIT editStatus(QString::fromStdString(graph_->PointStatusText(graph_->ActiveTrace(), graph_->DragColumn())));
    QWidget::mouseMoveEvent(event);
}

void CQRNView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (!capture_) return;
    capture_ = false;
    const int trace = graph_->ActiveTrace();
    const int column = graph_->DragColumn();
    graph_->OnButtonUp();
    RepaintNow();
    Q_EMIT editEnds(EditKind::Drag, trace, column);
    QWidget::mouseReleaseEvent(event);
}

void CQRNView::keyPressEvent(QKeyEvent* event) {
    if (const int code = EngineKeyCode(event->key())) {
        if (code == graph::kKeyUp || code == graph::kKeyDown) {
            StepValues(code, qMax(1, event->count()), event->modifiers());
        } else {
            graph_->OnKey(code, qMax(1, event->count()), EngineModifiers(event->modifiers()));
            RepaintNow();
        }
    }
    QWidget::keyPressEvent(event);
}

void CQRNView::wheelEvent(QWheelEvent* event) {
    int delta = event->angleDelta().y();
    // Some platforms turn Shift+wheel into a sideways scroll.
    if (delta == 0 && (event->modifiers() & Qt::ShiftModifier)) delta = event->angleDelta().x();
    wheelRemainder_ += delta;
    if (std::abs(wheelRemainder_) >= kWheelDelta) {
        const int steps = wheelRemainder_ / kWheelDelta;
        wheelRemainder_ %= kWheelDelta;
        StepValues(graph::kKeyUp, steps, event->modifiers());
    }
    QWidget::wheelEvent(event);
}

void CQRNView::StepValues(int key, int count, Qt::KeyboardModifiers modifiers) {
    Q_EMIT editBegins();
    graph_->OnKey(key, count, EngineModifiers(modifiers));
    RepaintNow();
    Q_EMIT editEnds(EditKind::Step, graph_->ActiveTrace(), graph_->CursorColumn());
    const std::string status = graph_->PointStatusText(graph_->ActiveTrace(), graph_->CursorColumn());
    if (!status.empty()) Q_EMIT editStatus(QString::fromStdString(status));
}

void CQRNView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // A hover callout goes with the mouse.
    if (graph_->CalloutTrace() >= 0 && !capture_) {
        graph_->ClearCallout();
        update();
    }
}

void CQRNView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    wheelRemainder_ = 0;
}

bool CQRNView::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) LoseCapture();
    return QWidget::event(event);
}

bool CQRNView::PrintTo(QPrinter& printer) {
    const QImage image = ComposedImage();
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    if (!image.isNull()) {
        // The page shows the screen's image, scaled to the printable area with its proportions
        // kept, from the top-left corner.
        const QRect page = painter.viewport();
        const QSize logical = image.deviceIndependentSize().toSize();
        QSize target = logical.scaled(page.size(), Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        // Thin lines and small text of a graph do not survive lossy compression in a PDF.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QRect(page.topLeft(), target), image);
    }
    return painter.end();
}

bool CQRNView::FilePrint(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    return PrintTo(printer);
}

void CQRNView::FilePrintPreview(QPrinter& printer) {
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintTo(*p); });
    preview.exec();
}

}  // namespace korvath::ui
