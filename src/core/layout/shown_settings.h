#pragma once
// Every setting the settings pages show, in the pages' own words: the page's title, the control's
// caption, and its value as the control shows it (check boxes on or off, lists and radio groups
// by the chosen text, edit boxes through their display format with its unit, text boxes by their
// text), with what of the calibration each one shows. The calibration report lists them; a
// comparison names a difference by the setting that shows it.

#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class CQRNDoc;

namespace shown_settings {
inline constexpr char kOn[] = "on";
inline constexpr char kOff[] = "off";
// Sources that are application strings carry this prefix ("application.TransmissionType");
// property keys begin with ":"; anything else is a variable's name.
inline constexpr char kApplicationPrefix[] = "application.";
}  // namespace shown_settings

struct ShownSetting {
    std::string page;     // the page's title ("Shift Program")
    std::string caption;  // the control's caption, without its "&" marks and final ":"
    std::string value;    // as the control shows it
    // What the control shows: variable names, property keys (":[Section]:Name") and
    // application strings (kApplicationPrefix + field).
    std::vector<std::string> sources;
};

// Builds every page of the System Settings sheet as the sheet does and reads its controls. Like
// opening the pages, this writes what the pages settle (the chosen variant, resolved states,
// numbers within their limits) into the calibration: give it a copy of one that must stay as it is.
std::vector<ShownSetting> ReadShownSettings(CQRNDoc& doc);

// The setting that shows `source`, null when none does. When several do, the one that shows the
// fewest other things (it is about this value), the first of them on a tie.
const ShownSetting* FindShownSetting(const std::vector<ShownSetting>& settings, std::string_view source);
// The setting of that page with that caption, null when there is none.
const ShownSetting* FindShownSetting(const std::vector<ShownSetting>& settings, std::string_view page,
                                     std::string_view caption);

// A caption as a reader sees it: "&&" is "&", a single "&" (the keyboard mark) goes, and so does
// a final ":" and the blanks around it.
std::string PlainCaption(std::string_view caption);

}  // namespace korvath
