#include "ui/tools/crosshair_trail_tool.h"

#include <QAction>
#include <QPainter>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "ui/graph/qrnview.h"
#include "ui/graph/qtcolor.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {

// The crosshair's own line colour: the trail reads as where the crosshair was.
constexpr Color kTrailColor = 0x0000FF;

CrosshairTrailTool::CrosshairTrailTool(CQRNView& view, SettingsStore& settings, ToolsMenu& menu)
    : QObject(&menu), view_(&view), settings_(settings) {
    clock_.start();
    action_ = menu.AddItem(texts::kTrailItem, texts::kTrailStatus, [this] { SetEnabled(action_->isChecked()); });
    action_->setObjectName(QStringLiteral("CrosshairTrail"));
    action_->setCheckable(true);
    enabled_ = settings_.GetInt(settings::kDataLog, settings::kCrosshairTrail, settings::kCrosshairTrailDefault) != 0;
    action_->setChecked(enabled_);
    sampler_.setInterval(kSamplePeriodMs);
    connect(&sampler_, &QTimer::timeout, this, &CrosshairTrailTool::Sample);
    if (enabled_) sampler_.start();
    view.SetUnderCrosshair(this, [this](QPainter& painter) { Paint(painter); });
}

CrosshairTrailTool::~CrosshairTrailTool() {
    if (view_) view_->SetUnderCrosshair(this, nullptr);
}

void CrosshairTrailTool::SetEnabled(bool on) {
    enabled_ = on;
    action_->setChecked(on);
    settings_.SetInt(settings::kDataLog, settings::kCrosshairTrail, on ? 1 : 0);
    trail_.Clear();
    if (on)
        sampler_.start();
    else
        sampler_.stop();
    if (view_) view_->update();
}

void CrosshairTrailTool::Clear() {
    trail_.Clear();
    if (view_) view_->update();
}

void CrosshairTrailTool::Sample() {
    if (!enabled_ || !view_) return;
    const bool before = !trail_.empty();
    const CGraphEngine& graph = view_->graph();
    trail_.Add(NowMs(), graph.CrosshairX(), graph.CrosshairY());
    trail_.Prune(NowMs());
    // A trail fades on its own: the view is drawn again while one is shown, and once more when
    // it has gone.
    if (before || !trail_.empty()) view_->update();
}

void CrosshairTrailTool::Paint(QPainter& painter) {
    if (!enabled_ || trail_.empty() || !view_) return;
    const auto dots = trail_.Dots(NowMs(), view_->graph());
    painter.setRenderHint(QPainter::Antialiasing, true);
    QColor color = ToQColor(kTrailColor);
    for (std::size_t i = 0; i < dots.size(); ++i) {
        color.setAlphaF(dots[i].alpha);
        if (i > 0) {
            painter.setPen(QPen(color, kLineWidth, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(dots[i - 1].x, dots[i - 1].y, dots[i].x, dots[i].y);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPoint(dots[i].x, dots[i].y), kDotRadius, kDotRadius);
    }
}

}  // namespace korvath::ui
