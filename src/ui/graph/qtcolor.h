#pragma once
// Colours of the core (0x00BBGGRR, red in the low byte, as definition files give them) to and
// from Qt. Every widget that shows a definition's colour converts it here.

#include <QColor>

#include "graph/color.h"

namespace korvath::ui {

inline QColor ToQColor(Color color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

inline Color FromQColor(const QColor& color) {
    return MakeColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                     static_cast<std::uint8_t>(color.blue()));
}

}  // namespace korvath::ui
