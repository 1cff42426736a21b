#pragma once
// What a settings page decides, apart from its widgets: which variant of a repeated section is
// chosen and written, which state each option shows (the calibration beats the stored choice,
// which beats "DefState"), the controls of the section's "UserOption" blocks with their places,
// the transmission-type list and the switch to another definition, and the variant's picture and
// description. The page's widgets show what these return.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "definition/definition_listing.h"
#include "layout/settings_page_layout.h"

namespace korvath {

class CQRNDoc;

namespace settings_page {
inline constexpr char kTransmissionSection[] = "[ApplicationID]";
inline constexpr char kChooseFormat[] = "Choose %.190s:";
inline constexpr char kNoTransmission[] = "None";
// A section header counts at most this many times as a variant.
inline constexpr int kMaxOccurrences = 20;
// Entries of a list or options of a radio group read at most.
inline constexpr int kMaxEntries = 100;
// Blocks of one page turned into controls at most (a bound for untrusted definitions).
inline constexpr int kMaxControls = 200;
}  // namespace settings_page

// One variant of a repeated section.
struct VariantRecord {
    std::string logicalName;
    std::string displayName;
};

struct SelectorResult {
    // Two or more variants: the selector list's entries in file order; otherwise empty.
    std::vector<VariantRecord> variants;
    int chosen = -1;              // the entry selected in the list
    std::string pageLogicalName;  // the chosen occurrence; empty when the section has none named
};

// Finds the section's named occurrences (up to kMaxOccurrences), chooses one (the remembered
// entry when its "BitValFixed" holds, else the first whose list holds, else the remembered one,
// else the first), remembers it and writes its BitValFixed. The chosen occurrence stays selected.
SelectorResult BuildSelector(CQRNDoc& doc, const std::string& section);

// Another variant chosen in the list: remembered, selected, its BitValFixed written, the views
// refreshed and the document marked modified.
void ApplyOccurrenceChoice(CQRNDoc& doc, const std::string& section, const std::string& logicalName);

// The state of the selected block's option: "DefState", replaced by the stored choice, replaced
// by the first state whose "BitValState<n>" list holds in the calibration.
int ResolveState(CQRNDoc& doc, const std::string& section, const std::string& logicalName);

enum class PageControlType { ComboBox, CheckBox, PushButton, RadioButton, EditBox, TextBox };

struct PageControl {
    PageControlType type = PageControlType::CheckBox;
    std::string logicalName;  // the page's logical name when the block has none
    std::string displayName;  // label, button text or frame caption (at most 200 characters)
    std::string helpText;
    int xPosition = 0;
    int globalInfluence = 0;  // combo boxes (the other kinds read it in their own set-up)
    // Combo box: the selected entry; check box: 0 or 1; radio group: the checked option.
    int state = 0;
    std::vector<std::string> entries;  // list entries or radio options
    CaptionedPlacement captioned;      // combo box, edit box, text box
    ControlRect rect;                     // check box, push button
    RadioPlacement radio;              // radio group
};

// Walks the "UserOption" blocks of the page's section (the occurrence named pageLogicalName):
// blocks whose "EnableCondition" does not hold are skipped without taking space; combo boxes and
// check boxes write their resolved state's "BitValState" list. `create` makes each control while
// its block is the reader's selection (edit boxes and push buttons read their own keys from it).
// Returns the number of controls made.
int BuildPageControls(CQRNDoc& doc, const std::string& section, const std::string& pageLogicalName,
                      SettingsPageLayout& layout, const std::function<void(const PageControl&)>& create);

// The label above a selector list.
std::string SelectorLabel(const std::string& title);

// --- the transmission-type page

// The definitions of the document's definition directory that name a transmission type.
std::vector<DefinitionChoice> BuildTransmissionList(const CQRNDoc& doc);

struct TransmissionSync {
    int select = -1;     // the entry to select; -1: leave the list as it is
    bool apply = false;  // the entry only resembles the calibration's: switch to it
};
// The entry of the calibration's LogicalName; else the first whose type starts with the same four
// characters as the calibration's (to be applied); else none.
TransmissionSync SyncTransmissionChoice(const CQRNDoc& doc, const std::vector<DefinitionChoice>& choices);

// Switches the calibration to the chosen definition: its application strings, the definition
// text, the variable table read again (defaults applied as the calibration's flag says), the
// views rebuilt; the document is marked modified. False, with nothing changed, when the file
// cannot be loaded.
bool ApplyTransmissionChoice(CQRNDoc& doc, const DefinitionChoice& choice);

// The transmission-type page closes: once a real transmission is chosen, later reads of the
// declarations keep the calibration's values.
void KeepChosenTransmission(CQRNDoc& doc);

struct PagePicture {
    std::optional<std::string> path;  // the picture inside the program directory; none: no picture
    std::string description;
};
// "DisplayPic" and "Description" of the page's occurrence.
PagePicture ReadPictureAndDescription(CQRNDoc& doc, const std::string& section, const std::string& pageLogicalName);

}  // namespace korvath
