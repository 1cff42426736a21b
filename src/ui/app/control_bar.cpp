#include "ui/app/control_bar.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace korvath::ui {

CControlBar::CControlBar(const QString& title, int barId, CloseRule rule, QWidget* parent)
    : QDockWidget(title, parent), barId_(barId), rule_(rule), content_(new QWidget(this)) {
    setObjectName(QStringLiteral("Bar%1").arg(barId));
    content_->setObjectName(QStringLiteral("BarContent%1").arg(barId));
    setWidget(content_);
    UpdateFeatures(false);
    connect(this, &QDockWidget::topLevelChanged, this, &CControlBar::UpdateFeatures);
}

void CControlBar::UpdateFeatures(bool floating) {
    DockWidgetFeatures features = DockWidgetMovable | DockWidgetFloatable | DockWidgetClosable;
    // The floating graph bar has no close button.
    if (floating && rule_ == CloseRule::RefuseWhileFloating) features &= ~DockWidgetClosable;
    setFeatures(features);
}

void CControlBar::closeEvent(QCloseEvent* event) {
    if (isFloating()) {
        if (rule_ == CloseRule::RefuseWhileFloating) {
            event->ignore();
            return;
        }
        if (rule_ == CloseRule::TeardownWhileFloating && teardown_) teardown_();
    }
    QDockWidget::closeEvent(event);
}

}  // namespace korvath::ui
