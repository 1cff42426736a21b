#include "layout/option_choice.h"

#include "layout/dynamic_control_texts.h"
#include "document/qrndoc.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

void ApplyState(CQRNDoc& doc, int state) {
    doc.ApplyAssignments(FormatText(dynamic_texts::kBitValStateFormat, state), 1);
}

}  // namespace

void ApplyCheckBoxChoice(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName,
                         std::string_view logicalName, int state) {
    std::int32_t stored = state;
    doc.properties().AccessIntProperty(section, logicalName, stored, PropertyMode::Write);
    if (!SelectPageSection(doc, section, pageLogicalName)) return;
    if (!doc.reader().FindBlockWithLogicalName(dynamic_texts::kUserOption, logicalName)) return;
    ApplyState(doc, state);
}

void ApplyRadioChoice(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName,
                      std::string_view logicalName, int radioIndex, int state) {
    if (state != 1 || radioIndex < 0) return;
    std::int32_t stored = radioIndex;
    doc.properties().AccessIntProperty(section, logicalName, stored, PropertyMode::Write);
    if (!SelectPageSection(doc, section, pageLogicalName)) return;
    if (!doc.reader().FindBlockWithLogicalName(dynamic_texts::kUserOption, logicalName)) return;
    ApplyState(doc, radioIndex);
}

bool SelectPageSection(CQRNDoc& doc, std::string_view section, std::string_view pageLogicalName) {
    DefinitionReader& reader = doc.reader();
    // Looking a section up by an empty name would stop at once with the reader's search position
    // at the start of the text, and the block search would then run over earlier sections too.
    return pageLogicalName.empty() ? reader.FindSection(section, 0)
                                   : reader.FindSectionWithLogicalName(section, pageLogicalName);
}

}  // namespace korvath
