#include "ui/dialogs/dialog_layout.h"

#include <QFontMetrics>
#include <QWidget>

namespace korvath::ui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    // The classic dialog base unit: the mean advance of the 52 letters, rounded.
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int total = fm.horizontalAdvance(letters);
    baseX_ = std::max(1, (total / 26 + 1) / 2);
    baseY_ = std::max(1, fm.height());
}

int DialogUnits::X(int units) const { return (units * baseX_ + 2) / 4; }
int DialogUnits::Y(int units) const { return (units * baseY_ + 4) / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    const int left = X(x);
    const int top = Y(y);
    return {left, top, X(x + width) - left, Y(y + height) - top};
}

QSize DialogUnits::Size(int width, int height) const { return {X(width), Y(height)}; }

void SetTemplateSize(QWidget* dialog, const DialogUnits& units, int width, int height) {
    dialog->setFixedSize(units.Size(width, height));
}

void PlaceControl(QWidget* control, const DialogUnits& units, int x, int y, int width, int height) {
    control->setGeometry(units.Rect(x, y, width, height));
}

}  // namespace korvath::ui
