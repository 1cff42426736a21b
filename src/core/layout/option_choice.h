#pragma once
// What clicking a check box or a radio option of a settings page does to the calibration: the
// choice is remembered in the property store under (page section, control name), and the
// "BitValState<n>" list of the control's "UserOption" block is applied.

#include <string_view>

namespace korvath {

class CQRNDoc;

// A check box now in `state` (0 or 1). The block is looked up in the page's own section: the
// occurrence named pageLogicalName, or the first occurrence when the page has no name.
void ApplyCheckBoxChoice(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName,
                         std::string_view logicalName, int state);

// Radio option radioIndex of a group now in `state`; only the option that became checked acts.
// The block is looked up in the page's own section as for a check box: the reader's selection
// may have moved since the page was shown (the tuning bar's rebuild selects its own section).
void ApplyRadioChoice(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName,
                      std::string_view logicalName, int radioIndex, int state);

// Selects the page's section in the reader: the occurrence named pageLogicalName, or the first
// occurrence when the page has no name.
bool SelectPageSection(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName);

}  // namespace korvath
