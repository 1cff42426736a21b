#pragma once
// Every top-level window of the program fits the free area of its screen: the main window, the
// help viewer, the dialogs. A window is fitted when it is shown, and again once the window
// manager has put its frame around it (a title bar taller than expected must not push the
// bottom, where the buttons and the status bar are, off the screen).

#include <QObject>
#include <vector>

#include "platform/window_placement.h"

class QWidget;

namespace korvath::ui {

// The screens' free areas in logical pixels that whole device pixels hold, the primary screen
// first.
std::vector<WindowRect> AvailableScreenAreas();

// Installed on the application: fits each top-level window as it is shown.
class ScreenFitFilter final : public QObject {
public:
    explicit ScreenFitFilter(QObject* parent = nullptr) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace korvath::ui
