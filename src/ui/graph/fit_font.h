#pragma once
// Captions and value boxes of the bars have fixed pixel sizes; a text wider than its box is
// shown in a smaller font rather than cut off at both ends.

class QLabel;

namespace korvath::ui {

// Sets the label's font to `pointSize`, or to the largest size down to `minimumPointSize` (in
// half points) at which its text fits the label's width. False when it does not fit even then.
bool FitFontToWidth(QLabel& label, double pointSize, double minimumPointSize);

}  // namespace korvath::ui
