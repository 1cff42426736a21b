#pragma once
// The text behind a free-text box of a settings page: the text of a STR variable when the box
// names one ("TargetVar"), otherwise the property (page section, control name).

#include <optional>
#include <string>
#include <string_view>

namespace korvath {

class CQRNDoc;

struct TextBinding {
    std::string section;
    std::string logicalName;
    std::string targetVar;  // empty: the property store
};

// The bound text (empty when the property has no entry); none when TargetVar names no STR
// variable (the lookup has reported it).
std::optional<std::string> ReadBoundText(CQRNDoc& doc, const TextBinding& binding);

// Writes `text`; the document is marked modified when it differs from what was held. A TargetVar
// that names no STR variable writes nothing. In the property store the text is kept escaped, whole
// (EscapePropertyText). Returns whether the stored text changed.
bool WriteBoundText(CQRNDoc& doc, const TextBinding& binding, const std::string& text);

}  // namespace korvath
