#include "ui/tools/shift_markers_overlay.h"

#include <QPainter>
#include <QPolygon>

#include "datalog/shift_markers.h"
#include "ui/graph/qrnview.h"

namespace korvath::ui {
namespace {
const QColor kUpshift(0, 150, 0);
const QColor kDownshift(220, 110, 0);
const QColor kUnknownShift(90, 90, 90);
}  // namespace

ShiftMarkersOverlay::ShiftMarkersOverlay(CQRNView& view, QObject* parent) : QObject(parent), view_(&view) {
    view.SetUnderCrosshair(this, [this](QPainter& painter) { Paint(painter); });
}

ShiftMarkersOverlay::~ShiftMarkersOverlay() {
    if (view_) view_->SetUnderCrosshair(this, nullptr);
}

void ShiftMarkersOverlay::Show(std::vector<datalog::ShiftEvent> shifts) {
    shifts_ = std::move(shifts);
    if (view_) view_->update();
}

void ShiftMarkersOverlay::Paint(QPainter& painter) const {
    if (shifts_.empty() || !view_) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    constexpr int s = kMarkerSize;
    for (const auto& marker : datalog::ShiftMarkers(shifts_, view_->graph())) {
        const QPoint at(marker.x, marker.y);
        painter.setPen(QPen(Qt::white, 1));
        switch (marker.direction) {
            case datalog::ShiftDirection::Up:
                painter.setBrush(kUpshift);
                painter.drawPolygon(QPolygon({at + QPoint(0, -s), at + QPoint(s, s), at + QPoint(-s, s)}));
                break;
            case datalog::ShiftDirection::Down:
                painter.setBrush(kDownshift);
                painter.drawPolygon(QPolygon({at + QPoint(0, s), at + QPoint(s, -s), at + QPoint(-s, -s)}));
                break;
            case datalog::ShiftDirection::Unknown:
                painter.setBrush(kUnknownShift);
                painter.drawEllipse(at, s - 1, s - 1);
                break;
        }
    }
}

}  // namespace korvath::ui
