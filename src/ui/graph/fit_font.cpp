#include "ui/graph/fit_font.h"

#include <QFontMetricsF>
#include <QLabel>

namespace korvath::ui {
namespace {
constexpr double kStep = 0.5;
// Room the frame and the text margin take.
constexpr double kPadding = 2.0;
}  // namespace

bool FitFontToWidth(QLabel& label, double pointSize, double minimumPointSize) {
    QFont font = label.font();
    const double room = label.contentsRect().width() - kPadding;
    const auto fits = [&] { return QFontMetricsF(font).horizontalAdvance(label.text()) <= room; };
    double size = pointSize;
    for (; size > minimumPointSize; size -= kStep) {
        font.setPointSizeF(size);
        if (fits()) break;
    }
    font.setPointSizeF(size < minimumPointSize ? minimumPointSize : size);
    if (font != label.font()) label.setFont(font);
    return fits();
}

}  // namespace korvath::ui
