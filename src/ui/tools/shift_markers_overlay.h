#pragma once
// The replayed log's shifts drawn on the curves under the crosshair: a triangle pointing up for
// an upshift, down for a downshift, each in a colour of its own (a dot when the gears' order is
// unknown).

#include <QObject>
#include <QPointer>
#include <vector>

#include "datalog/shift_events.h"

class QPainter;

namespace korvath::ui {

class CQRNView;

class ShiftMarkersOverlay final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMarkerSize = 5;

    ShiftMarkersOverlay(CQRNView& view, QObject* parent);
    ~ShiftMarkersOverlay() override;

    void Show(std::vector<datalog::ShiftEvent> shifts);
    void Clear() { Show({}); }
    const std::vector<datalog::ShiftEvent>& shifts() const { return shifts_; }

private:
    void Paint(QPainter& painter) const;

    QPointer<CQRNView> view_;
    std::vector<datalog::ShiftEvent> shifts_;
};

}  // namespace korvath::ui
