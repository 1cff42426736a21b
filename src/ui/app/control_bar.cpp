#include "ui/app/control_bar.h"

#include <QCloseEvent>

namespace korvath::ui {

CControlBar::CControlBar(const QString& title, int barId, CloseRule rule, QWidget* parent)
    : QDockWidget(title, parent), barId_(barId), rule_(rule), content_(new QWidget(this)) {
    setObjectName(QStringLiteral("Bar%1").arg(barId));
    content_->setObjectName(QStringLiteral("BarContent%1").arg(barId));
    setWidget(content_);
    DockWidgetFeatures features = DockWidgetMovable | DockWidgetFloatable;
    if (rule_ == CloseRule::Closable) features |= DockWidgetClosable;
    setFeatures(features);
}

void CControlBar::closeEvent(QCloseEvent* event) {
    if (rule_ == CloseRule::NeverClosed) {
        event->ignore();
        return;
    }
    QDockWidget::closeEvent(event);
}

}  // namespace korvath::ui
