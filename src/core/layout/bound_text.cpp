#include "layout/bound_text.h"

#include "document/qrndoc.h"

namespace korvath {
namespace {
// The slot that holds a STR variable's text, or null (the lookup has reported it).
VariableSlot* TextSlot(CQRNDoc& doc, const std::string& name) {
    const int index = doc.FindStringVariable(name);
    if (index < 0 || index >= kMaxVariables) return nullptr;
    return &doc.variables().slots[static_cast<std::size_t>(index)];
}

// The text of the property entry, unescaped; empty when there is none.
std::string StoredProperty(CQRNDoc& doc, const TextBinding& binding) {
    std::string stored;
    doc.properties().AccessProperty(binding.section, binding.logicalName, stored, PropertyMode::Read);
    return UnescapePropertyText(stored);
}

}  // namespace

std::optional<std::string> ReadBoundText(CQRNDoc& doc, const TextBinding& binding) {
    if (!binding.targetVar.empty()) {
        const VariableSlot* slot = TextSlot(doc, binding.targetVar);
        if (!slot) return std::nullopt;
        return slot->name;
    }
    return StoredProperty(doc, binding);
}

bool WriteBoundText(CQRNDoc& doc, const TextBinding& binding, const std::string& text) {
    std::string old;
    if (!binding.targetVar.empty()) {
        VariableSlot* slot = TextSlot(doc, binding.targetVar);
        if (!slot) return false;
        old = slot->name;
        slot->name = text;
    } else {
        old = StoredProperty(doc, binding);
        // Written twice: the store cuts a newly appended value short, but replaces an entry's whole.
        const std::string stored = EscapePropertyText(text);
        for (int pass = 0; pass < 2; ++pass) {
            std::string value = stored;
            doc.properties().AccessProperty(binding.section, binding.logicalName, value, PropertyMode::Write);
        }
    }
    if (old == text) return false;
    doc.SetModifiedFlag();
    return true;
}

}  // namespace korvath
