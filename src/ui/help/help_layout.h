#pragma once
// Where the help viewer puts its text and its "Done" button when it is resized: the text keeps
// the distances to the four edges that the template gave it, and the button keeps its size,
// stays centred and keeps its distance from the bottom. Plain arithmetic, no widgets.

namespace korvath::ui {

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct HelpViewerMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int buttonOffset = 0;  // from the top of "Done" to the bottom of the client area
};

// Taken once from the template's layout in a client area of clientWidth x clientHeight.
HelpViewerMargins MeasureHelpViewer(int clientWidth, int clientHeight, const LayoutRect& text, const LayoutRect& button);

struct HelpViewerLayout {
    LayoutRect text;
    LayoutRect button;
};

// The layout for a client area of cx x cy; a text area squeezed below nothing gets size 0.
HelpViewerLayout LayOutHelpViewer(int cx, int cy, const HelpViewerMargins& margins, int buttonWidth, int buttonHeight);

}  // namespace korvath::ui
