#pragma once
// CLegendButton: a check box of the graphical tuning bar. A trace box shows and hides the traces
// bound to it, the link box switches trace linking, a control button sets configuration bits of
// the calibration (and has the bar built again). Its captions (the row's caption and the second
// caption of a shared row) are owned as companion1 and companion2; clicking them toggles the box.

#include <array>
#include <cstdint>

#include "document/tuning_bar_layout.h"
#include "ui/dynui/dynamicbutton.h"

namespace korvath {
class CGraphEngine;
}

namespace korvath::ui {

class CDynamicDialogBar;

class CLegendButton final : public CDynamicCheckBox {
    Q_OBJECT
public:
    CLegendButton(CDynamicDialogBar* bar, QWidget* parent);

    CGraphEngine* graph = nullptr;
    std::array<std::int16_t, tuning_bar::kMaxTracesPerBox> traces;

    // Adds `trace` to the first free slot (a box with ten traces ignores further ones). False
    // without a graph or for a trace the graph does not have.
    bool BindTrace(CGraphEngine* engine, int trace);
    void OnClicked() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CDynamicDialogBar* bar_;
};

}  // namespace korvath::ui
