#include "layout/settings_page_layout.h"

#include <algorithm>

namespace korvath {
namespace L = settings_layout;

namespace {
constexpr int kRowHeight = 20;
constexpr int kFieldRowAdvance = 60;
constexpr int kComboListDrop = 195;
constexpr int kButtonHeight = 25;
constexpr int kCheckAdvance = 25;
constexpr int kFullWidthFieldHeight = 300;
constexpr int kRadioInset = 15;
constexpr int kRadioStep = 25;

bool UsesLeftColumn(int xPosition) { return xPosition == 0 || xPosition == 2; }
}  // namespace

int settings_layout::BoundPixels(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -kMaxCoordinate, kMaxCoordinate));
}

void SettingsPageLayout::Reset(bool hasSelector) {
    leftY_ = rightY_ = hasSelector ? L::kRowAfterSelector : L::kFirstRow;
    // The page ends where its new controls end: a variant with fewer options leaves no empty
    // space below them. The kept selector, its description and picture end above the first row.
    bottom_ = hasSelector ? L::kRowAfterSelector : 0;
}

int& SettingsPageLayout::ColumnY(int xPosition) { return UsesLeftColumn(xPosition) ? leftY_ : rightY_; }

void SettingsPageLayout::AddSpace(int xPosition, long long ySpace) {
    int& column = ColumnY(xPosition);
    SetColumnY(column, column + static_cast<long long>(L::BoundPixels(ySpace)));
}

void SettingsPageLayout::Extend(const ControlRect& r) { bottom_ = std::max(bottom_, r.bottom); }

CaptionedPlacement SettingsPageLayout::PlaceComboBox(int xPosition) {
    const bool left = xPosition == 0;
    int& y = left ? leftY_ : rightY_;
    const int x1 = left ? L::kLeftX1 : L::kRightX1;
    const int x2 = left ? L::kLeftX2 : L::kRightX2;
    CaptionedPlacement p{{x1, y, x2, y + kRowHeight}, {x1, y + kRowHeight, x2, y + kComboListDrop}};
    Extend({x1, y, x2, y + kFieldRowAdvance});
    SetColumnY(y, y + kFieldRowAdvance);
    return p;
}

SelectorPlacement SettingsPageLayout::PlaceSelector() {
    const int y = leftY_;
    SelectorPlacement p;
    p.list = PlaceComboBox(0);
    p.description = {L::kLeftX1, y + 60, L::kLeftX2, y + 200};
    p.picture = {L::kRightX1, rightY_, L::kRightX2, rightY_ + 200};
    SetColumnY(rightY_, rightY_ + 205);
    SetColumnY(leftY_, y + 145 + 60);
    Extend(p.description);
    Extend(p.picture);
    return p;
}

CaptionedPlacement SettingsPageLayout::PlaceField(int xPosition, int width, bool fullWidthAllowed) {
    int x = L::kRightX1, y = rightY_;
    int fieldHeight = kRowHeight;
    width = std::clamp(width, 0, L::kFullWidth);
    switch (xPosition) {
        case 0: x = L::kLeftX1, y = leftY_; break;
        case 2: x = L::kLeftSlotX, y = leftY_ - kFieldRowAdvance; break;
        case 3: x = L::kRightSlotX, y = rightY_ - kFieldRowAdvance; break;
        case 4:
            if (!fullWidthAllowed) break;
            // A box across both columns starts below both, so that it covers neither.
            x = L::kLeftX1, y = std::max(leftY_, rightY_), width = L::kFullWidth;
            fieldHeight = kFullWidthFieldHeight;
            break;
        default: break;
    }
    CaptionedPlacement p{{x, y, x + width, y + kRowHeight},
                         {x, y + kRowHeight, x + width, y + kRowHeight + fieldHeight}};
    if (xPosition == 4 && fullWidthAllowed) {
        // Both columns continue below it, as they do below a row of fields.
        SetColumnY(leftY_, p.field.bottom + (kFieldRowAdvance - 2 * kRowHeight));
        rightY_ = leftY_;
    } else {
        SetColumnY(ColumnY(xPosition), y + kFieldRowAdvance);
    }
    Extend(p.field);
    return p;
}

CaptionedPlacement SettingsPageLayout::PlaceEditBox(int xPosition, int width) { return PlaceField(xPosition, width, false); }

bool TextBoxHoldsOneLine(const ControlRect& field) { return field.height() <= kRowHeight; }

CaptionedPlacement SettingsPageLayout::PlaceTextBox(int xPosition, int width) { return PlaceField(xPosition, width, true); }

ControlRect SettingsPageLayout::PlacePushButton(int xPosition) {
    int x = L::kRightX1, y = rightY_;
    switch (xPosition) {
        case 0: x = L::kLeftX1, y = leftY_; break;
        case 2: x = L::kLeftSlotX, y = leftY_ - 20; break;
        case 3: x = L::kRightSlotX, y = rightY_ - 20; break;
        default: break;
    }
    const ControlRect r{x, y, x + L::kFieldWidth, y + kButtonHeight};
    SetColumnY(ColumnY(xPosition), y + kButtonHeight);
    Extend(r);
    return r;
}

ControlRect SettingsPageLayout::PlaceCheckBox(int xPosition) {
    ControlRect r;
    switch (xPosition) {
        case 0: r = {L::kLeftX1, leftY_, L::kLeftX2, leftY_ + kRowHeight}; break;
        // Beside the previous control of the column, in its half slot up to the column's edge.
        case 2: r = {L::kLeftSlotX, leftY_ - kCheckAdvance, L::kLeftX2, leftY_ - kCheckAdvance + kRowHeight}; break;
        case 3: r = {L::kRightSlotX, rightY_ - kCheckAdvance, L::kRightX2, rightY_ - kCheckAdvance + kRowHeight}; break;
        default: r = {L::kRightX1, rightY_, L::kRightX2, rightY_ + kRowHeight}; break;
    }
    SetColumnY(ColumnY(xPosition), r.top + kCheckAdvance);
    Extend(r);
    return r;
}

RadioPlacement SettingsPageLayout::PlaceRadioGroup(int xPosition, int optionCount) {
    // 2 and 3 keep their column and use its half slot.
    int x1 = L::kRightX1, x2 = L::kRightX2;
    if (xPosition == 0) x1 = L::kLeftX1, x2 = L::kLeftX2;
    if (xPosition == 2) x1 = L::kLeftSlotX, x2 = L::kLeftX2;
    if (xPosition == 3) x1 = L::kRightSlotX, x2 = L::kRightX2;
    int& column = ColumnY(xPosition);
    const int c = column;
    const int n = std::clamp(optionCount, 0, L::kMaxRadioOptions);
    RadioPlacement p;
    p.options.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        p.options.push_back({x1 + kRadioInset, c + 25 + kRadioStep * i, x2 - kRadioInset, c + 45 + kRadioStep * i});
    p.frame = {x1, c + 5, x2, c + 30 + kRadioStep * n};
    SetColumnY(column, c + 45 + kRadioStep * n);
    Extend(p.frame);
    return p;
}

}  // namespace korvath
