#pragma once
// The fading trail of the operating point on the curves: the crosshair's positions of the last
// few seconds, sampled whatever moves it (the live data or a replay), drawn under the crosshair.
// Switched on and off in the Tools menu; the choice is kept in the settings file.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "datalog/crosshair_trail.h"

class QAction;
class QPainter;

namespace korvath {
class SettingsStore;
}

namespace korvath::ui {

class CQRNView;
class ToolsMenu;

class CrosshairTrailTool final : public QObject {
    Q_OBJECT
public:
    static constexpr int kSamplePeriodMs = 100;
    static constexpr int kDotRadius = 3;
    static constexpr int kLineWidth = 3;

    CrosshairTrailTool(CQRNView& view, SettingsStore& settings, ToolsMenu& menu);
    ~CrosshairTrailTool() override;

    void SetEnabled(bool on);
    bool enabled() const { return enabled_; }
    // Forgets the positions so far (a replay starts or ends: they belong to another drive).
    void Clear();
    // Takes the crosshair's position now (the timer does this every 100 ms).
    void Sample();
    const datalog::CrosshairTrail& trail() const { return trail_; }
    QAction* action() const { return action_; }

private:
    void Paint(QPainter& painter);
    std::int64_t NowMs() const { return clock_.elapsed(); }

    // The frame takes the view down before its menus' tools.
    QPointer<CQRNView> view_;
    SettingsStore& settings_;
    datalog::CrosshairTrail trail_;
    QElapsedTimer clock_;
    QTimer sampler_;
    QAction* action_ = nullptr;
    bool enabled_ = true;
};

}  // namespace korvath::ui
