#pragma once
// CDashboard: the surface of the "Dashboard" bar. One display per monitored data item of the
// definition's "[DataItems]" (a large value box under a small caption, in one row), registered
// with the controller link's live-data poller while it is built. It shows the poller's values,
// says in the bar's title whether the controller answers, and moves the tuning graph's
// crosshair to the operating point. Cells and state come from the core (LayOutDashboard,
// DashboardState); this class makes and updates the widgets.

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "layout/dashboard_layout.h"

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CDynamicStatic;
class CQRNView;

class CDashboard final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kValueFontPoints = 20.0;
    static constexpr double kCaptionFontPoints = 8.0;

    explicit CDashboard(QWidget* parent = nullptr);
    ~CDashboard() override;

    CQRNDoc* document = nullptr;  // the document whose definition is shown
    // The view whose graph takes the crosshair; may be null.
    void SetTuningView(CQRNView* view);
    CQRNView* tuningView() const { return tuningView_; }

    void CreateFonts();
    // Makes the displays and starts polling; false without a document or "[DataItems]".
    bool BuildDashboard();
    // Stops polling and destroys the displays.
    void TeardownDashboard();
    void OnLiveData(std::int32_t index, const char* text, const float* value);
    void SetConnected(int state);
    // While a data log is replayed the poller's values are not shown (the link stays as it is);
    // the replay shows its own through OnLiveData.
    void SetReplaying(bool replaying) { replaying_ = replaying; }
    bool replaying() const { return replaying_; }

    // The value boxes in display order (each owns its caption as its companion).
    const std::vector<CDynamicStatic*>& displays() const { return displays_; }
    CDynamicStatic* CaptionOf(int display) const;
    const DashboardState& state() const { return state_; }
    std::int32_t pollHandle() const { return pollHandle_; }

private:
    void Show(const DashboardState::Change& change);
    void ShowValue(int display);
    void SetTitle(const QString& title);
    CDynamicStatic* MakeDisplay(const DashboardCell& cell);

    QFont valueFont_;
    QFont captionFont_;
    std::vector<CDynamicStatic*> displays_;
    QPointer<CQRNView> tuningView_;
    std::int32_t pollHandle_ = 0;
    bool replaying_ = false;
    DashboardState state_;
};

}  // namespace korvath::ui
