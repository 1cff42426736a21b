#include "ui/graph/fit_font.h"

#include <QFontMetricsF>
#include <QLabel>

namespace korvath::ui {
namespace {
constexpr double kStep = 0.5;
// Room the frame and the text margin take.
constexpr double kPadding = 2.0;
}  // namespace

void FitFontToWidth(QLabel& label, double pointSize, double minimumPointSize) {
    QFont font = label.font();
    const double room = label.contentsRect().width() - kPadding;
    double size = pointSize;
    for (; size > minimumPointSize; size -= kStep) {
        font.setPointSizeF(size);
        if (QFontMetricsF(font).horizontalAdvance(label.text()) <= room) break;
    }
    font.setPointSizeF(size < minimumPointSize ? minimumPointSize : size);
    if (font != label.font()) label.setFont(font);
}

}  // namespace korvath::ui
