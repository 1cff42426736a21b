#include "ui/app/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace korvath::ui {
namespace {

// How long a window may wait for its frame: 20 checks 50 ms apart.
constexpr int kFrameCheckMs = 50;
constexpr int kFrameChecks = 20;

WindowRect ToWindowRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect ToQRect(const WindowRect& r) { return {r.x, r.y, r.width, r.height}; }

WindowRect AreaOf(const QScreen* screen) {
    return WithinDevicePixels(ToWindowRect(screen->availableGeometry()), screen->devicePixelRatio());
}

void FitWindow(QPointer<QWidget> window, int checksLeft) {
    if (!window || !window->isVisible() || window->isMaximized() || window->isMinimized() || window->isFullScreen())
        return;
    const QRect client = window->geometry();
    const QRect frame = window->frameGeometry();
    const FrameMargins margins{client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                               frame.bottom() - client.bottom()};
    const WindowRect place = PullOntoScreen(ToWindowRect(client), {client.width(), client.height()},
                                            {window->minimumWidth(), window->minimumHeight()}, AvailableScreenAreas(),
                                            margins);
    if (ToQRect(place) != client) window->setGeometry(ToQRect(place));
    // Not framed yet (or never: no window manager): look again when the frame may have come.
    if (frame == client && checksLeft > 0)
        QTimer::singleShot(kFrameCheckMs, window, [window, checksLeft] { FitWindow(window, checksLeft - 1); });
}

}  // namespace

std::vector<WindowRect> AvailableScreenAreas() {
    std::vector<WindowRect> areas;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) areas.push_back(AreaOf(primary));
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary) areas.push_back(AreaOf(screen));
    return areas;
}

bool ScreenFitFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        // Menus, tooltips and popups place themselves.
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            QTimer::singleShot(0, widget, [window = QPointer<QWidget>(widget)] { FitWindow(window, kFrameChecks); });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvath::ui
