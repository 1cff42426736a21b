#include "ui/help/help_layout.h"

#include <algorithm>

namespace korvath::ui {

HelpViewerMargins MeasureHelpViewer(int clientWidth, int clientHeight, const LayoutRect& text, const LayoutRect& button) {
    HelpViewerMargins m;
    m.left = text.x;
    m.top = text.y;
    m.right = clientWidth - (text.x + text.width);
    m.bottom = clientHeight - (text.y + text.height);
    m.buttonOffset = clientHeight - button.y;
    return m;
}

HelpViewerLayout LayOutHelpViewer(int cx, int cy, const HelpViewerMargins& margins, int buttonWidth, int buttonHeight) {
    HelpViewerLayout layout;
    layout.text = {margins.left, margins.top, std::max(0, cx - margins.left - margins.right),
                   std::max(0, cy - margins.top - margins.bottom)};
    layout.button = {(cx - buttonWidth) / 2, cy - margins.buttonOffset, buttonWidth, buttonHeight};
    return layout;
}

}  // namespace korvath::ui
