#pragma once
// Dialog templates are laid out in dialog units, which follow the dialog's font: one horizontal
// unit is a quarter of the font's average character width, one vertical unit an eighth of its
// height. Controls are placed with absolute geometry so that the boxes keep their proportions
// with any font and on any screen.

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace korvath::ui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;
    int X(int units) const;
    int Y(int units) const;

    // Average width of the letters A-Z and a-z, in pixels, and the font's height.
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

private:
    int baseX_ = 1;
    int baseY_ = 1;
};

// Gives a dialog the size of its template (in dialog units) and fixes it.
void SetTemplateSize(QWidget* dialog, const DialogUnits& units, int width, int height);

// Places a control at the template position, in dialog units.
void PlaceControl(QWidget* control, const DialogUnits& units, int x, int y, int width, int height);

}  // namespace korvath::ui
