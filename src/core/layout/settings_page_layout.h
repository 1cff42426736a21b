#pragma once
// Where the controls of a settings page stand, in pixels of the page's client area: two columns
// (x 10-340 and 350-680) with a free y each, half-width slots at x 175 and 515 that put a control
// beside the previous one of their column, a full-width text box, and the selector list with its
// description and picture at the top. The page's widgets only take these rectangles.
//
// A definition is untrusted: every number it gives to the geometry (a block's space, a field's
// width, a group's option count) is bounded here, and each column's free y stays within
// +-kMaxCoordinate, so that no placement's arithmetic can overflow and no page grows absurdly.

#include <vector>

#include "document/control_rect.h"

namespace korvath {

namespace settings_layout {
inline constexpr int kLeftX1 = 10, kLeftX2 = 340;
inline constexpr int kRightX1 = 350, kRightX2 = 680;
inline constexpr int kLeftSlotX = 175, kRightSlotX = 515;
inline constexpr int kFirstRow = 5;
inline constexpr int kRowAfterSelector = 210;
inline constexpr int kFieldWidth = 140;
inline constexpr int kFullWidth = 680;
// A page is at most this many pixels high (some 5,000 rows); a placement adds at most a few
// thousand to a column's free y, far inside int.
inline constexpr int kMaxCoordinate = 100000;
// Options of one radio group placed at most.
inline constexpr int kMaxRadioOptions = 100;

// A pixel number a definition gives (or a column position), within +-kMaxCoordinate.
int BoundPixels(long long value);
}  // namespace settings_layout

struct CaptionedPlacement {
    ControlRect label;
    ControlRect field;  // a combo box's list includes its dropped-down part
};

struct SelectorPlacement {
    CaptionedPlacement list;
    ControlRect description;
    ControlRect picture;
};

struct RadioPlacement {
    std::vector<ControlRect> options;
    ControlRect frame;
};

// A text box one row high shows one line: Enter there ends the edit instead of starting a line
// the box would scroll to, hiding what was typed. The full-width box is many lines high.
bool TextBoxHoldsOneLine(const ControlRect& field);

class SettingsPageLayout {
public:
    // Both columns and the bottom back to the first row: below the selector when the page has one.
    void Reset(bool hasSelector);
    // A block's ySpace (any value), into the column its xPosition uses (left for 0 and 2).
    void AddSpace(int xPosition, long long ySpace);

    CaptionedPlacement PlaceComboBox(int xPosition);
    SelectorPlacement PlaceSelector();
    CaptionedPlacement PlaceEditBox(int xPosition, int width);
    CaptionedPlacement PlaceTextBox(int xPosition, int width);
    ControlRect PlacePushButton(int xPosition);
    ControlRect PlaceCheckBox(int xPosition);
    RadioPlacement PlaceRadioGroup(int xPosition, int optionCount);

    // The lowest bottom of anything placed so far.
    int bottom() const { return bottom_; }
    // The free y of each column.
    int leftY() const { return leftY_; }
    int rightY() const { return rightY_; }

private:
    CaptionedPlacement PlaceField(int xPosition, int width, bool fullWidthAllowed);
    int& ColumnY(int xPosition);
    // Every column move goes through here.
    void SetColumnY(int& column, long long y) { column = settings_layout::BoundPixels(y); }
    void Extend(const ControlRect& r);

    int leftY_ = settings_layout::kFirstRow;
    int rightY_ = settings_layout::kFirstRow;
    int bottom_ = 0;
};

}  // namespace korvath
