#pragma once
// The widget geometry of a rectangle the core laid out.

#include <QRect>

#include "document/control_rect.h"

namespace korvath::ui {

inline QRect ToQRect(const ControlRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace korvath::ui
