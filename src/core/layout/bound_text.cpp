#include "layout/bound_text.h"

#include "document/qrndoc.h"

namespace korvath {
namespace {
// The property store keeps its entries as ":<section>:<name> <value>; ": a typed ":" or ";"
// would end the entry early or forge another one, so they are kept as spaces there.
std::string PropertySafe(std::string text) {
    for (char& c : text)
        if (c == ':' || c == ';') c = ' ';
    return text;
}

// The slot that holds a STR variable's text, or null (the lookup has reported it).
VariableSlot* TextSlot(CQRNDoc& doc, const std::string& name) {
    const int index = doc.FindStringVariable(name);
    if (index < 0 || index >= kMaxVariables) return nullptr;
    return &doc.variables().slots[static_cast<std::size_t>(index)];
}
}  // namespace

std::optional<std::string> ReadBoundText(CQRNDoc& doc, const TextBinding& binding) {
    if (!binding.targetVar.empty()) {
        const VariableSlot* slot = TextSlot(doc, binding.targetVar);
        if (!slot) return std::nullopt;
        return slot->name;
    }
    std::string text;
    doc.properties().AccessProperty(binding.section, binding.logicalName, text, PropertyMode::Read);
    return text;
}

bool WriteBoundText(CQRNDoc& doc, const TextBinding& binding, const std::string& text) {
    std::string old;
    if (!binding.targetVar.empty()) {
        VariableSlot* slot = TextSlot(doc, binding.targetVar);
        if (!slot) return false;
        old = slot->name;
        slot->name = text;
    } else {
        doc.properties().AccessProperty(binding.section, binding.logicalName, old, PropertyMode::Read);
        std::string value = PropertySafe(text);
        doc.properties().AccessProperty(binding.section, binding.logicalName, value, PropertyMode::Write);
    }
    if (old == (binding.targetVar.empty() ? PropertySafe(text) : text)) return false;
    doc.SetModifiedFlag();
    return true;
}

}  // namespace korvath
