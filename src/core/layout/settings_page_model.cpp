#include "layout/settings_page_model.h"

#include <cstring>

#include "definition/definition_keys.h"
#include "layout/dynamic_control_texts.h"
#include "definition/element_text_limits.h"
#include "layout/option_choice.h"
#include "document/qrndoc.h"
#include "platform/printf_format.h"
#include "platform/program_relative_path.h"

namespace korvath {
namespace {
namespace sp = settings_page;
namespace dt = dynamic_texts;

constexpr const char* kLogicalName = definition_keys::kLogicalName;
constexpr const char* kDisplayName = definition_keys::kDisplayName;
constexpr const char* kBitValFixed = "BitValFixed";
constexpr const char* kDisplayPic = "DisplayPic";
constexpr const char* kDescription = "Description";
constexpr const char* kXPosition = "xPosition";
constexpr const char* kYSpace = "ySpace";
constexpr const char* kEnableCondition = definition_keys::kEnableCondition;
constexpr const char* kHelpText = definition_keys::kHelpText;
constexpr const char* kDefState = "DefState";
constexpr const char* kListTextFormat = "ListTxt%d";
constexpr const char* kOptionTextFormat = "TxtState%d";
constexpr std::size_t kLabelLength = 200;
constexpr std::size_t kDescriptionLength = 300;

// A value-reference list that holds in the calibration, tested without writing; a missing key
// does not hold.
bool Holds(CQRNDoc& doc, const char* key, int inBlock) {
    std::int32_t match = 0;
    return doc.ApplyAssignments(key, inBlock, &match) == 1 && match == 1;
}

void ApplyState(CQRNDoc& doc, int state) { doc.ApplyAssignments(FormatText(dt::kBitValStateFormat, state), 1); }

std::vector<std::string> ReadNumberedTexts(DefinitionReader& reader, const char* format) {
    std::vector<std::string> texts;
    std::string text;
    for (int i = 0; i < sp::kMaxEntries && reader.ReadKeyString(FormatText(format, i), text, kDisplayNameLength, 1); ++i)
        texts.push_back(text);
    return texts;
}

void RememberAndApply(CQRNDoc& doc, const std::string& section, std::string logicalName) {
    doc.properties().AccessProperty(section, kLogicalName, logicalName, PropertyMode::Write);
    if (doc.reader().FindSectionWithLogicalName(section, logicalName)) doc.ApplyAssignments(kBitValFixed, 0);
}

}  // namespace

SelectorResult BuildSelector(CQRNDoc& doc, const std::string& section) {
    SelectorResult result;
    DefinitionReader& reader = doc.reader();
    std::vector<VariantRecord> found;
    for (int i = 0; i < sp::kMaxOccurrences; ++i) {
        VariantRecord record;
        if (!reader.FindSectionNames(section, i > 0, record.logicalName, record.displayName)) break;
        found.push_back(std::move(record));
    }
    if (found.empty()) return result;
    if (found.size() == 1) {
        result.pageLogicalName = found[0].logicalName;
        RememberAndApply(doc, section, result.pageLogicalName);
        return result;
    }
    std::string remembered;
    doc.properties().AccessProperty(section, kLogicalName, remembered, PropertyMode::Read);
    int firstHolding = -1, firstRemembered = -1, chosen = -1;
    for (int i = 0; i < static_cast<int>(found.size()); ++i) {
        const bool isRemembered = found[static_cast<std::size_t>(i)].logicalName == remembered;
        if (isRemembered && firstRemembered < 0) firstRemembered = i;
        const bool holds = reader.FindSectionWithLogicalName(section, found[static_cast<std::size_t>(i)].logicalName) &&
                           Holds(doc, kBitValFixed, 0);
        if (holds && isRemembered) {
            chosen = i;
            break;
        }
        if (holds && firstHolding < 0) firstHolding = i;
    }
    if (chosen < 0) chosen = firstHolding >= 0 ? firstHolding : (firstRemembered >= 0 ? firstRemembered : 0);
    result.chosen = chosen;
    result.pageLogicalName = found[static_cast<std::size_t>(chosen)].logicalName;
    result.variants = std::move(found);
    RememberAndApply(doc, section, result.pageLogicalName);
    return result;
}

void ApplyOccurrenceChoice(CQRNDoc& doc, const std::string& section, const std::string& logicalName) {
    RememberAndApply(doc, section, logicalName);
    doc.RefreshViews(0);
    doc.SetModifiedFlag();
}

int ResolveState(CQRNDoc& doc, const std::string& section, const std::string& logicalName) {
    std::int32_t state = 0;
    doc.reader().ReadKeyInt(kDefState, state, 1, 0);
    doc.properties().AccessIntProperty(section, logicalName, state, PropertyMode::Read);
    doc.FindMatchingChoice(dt::kBitValStateFormat, 1, state);
    return state;
}

int BuildPageControls(CQRNDoc& doc, const std::string& section, const std::string& pageLogicalName,
                      SettingsPageLayout& layout, const std::function<void(const PageControl&)>& create) {
    if (!SelectPageSection(doc, section, pageLogicalName)) return 0;
    DefinitionReader& reader = doc.reader();
    int made = 0;
    std::string label;
    for (int next = 0; made < sp::kMaxControls && reader.FindBlock(dt::kUserOption, label, next); next = 1) {
        PageControl c;
        reader.ReadKeyString(kLogicalName, c.logicalName, kLogicalNameLength, 1);
        if (c.logicalName.empty()) c.logicalName = pageLogicalName;
        reader.ReadKeyString(kDisplayName, c.displayName, kDisplayNameLength, 1);
        if (c.displayName.size() > kLabelLength) c.displayName.resize(kLabelLength);
        std::int32_t xPosition = 0, ySpace = 0;
        reader.ReadKeyInt(kXPosition, xPosition, 1, 0);
        reader.ReadKeyInt(kYSpace, ySpace, 1, 0);
        c.xPosition = xPosition;
        std::string condition;
        if (reader.FindKeyValue(kEnableCondition, condition, 1) && !Holds(doc, kEnableCondition, 1)) continue;
        layout.AddSpace(xPosition, ySpace);
        reader.ReadKeyString(kHelpText, c.helpText, kHelpTextLength, 1);
        if (label == "ComboBox") {
            c.type = PageControlType::ComboBox;
            c.captioned = layout.PlaceComboBox(xPosition);
            c.entries = ReadNumberedTexts(reader, kListTextFormat);
            reader.ReadKeyInt(dt::kGlobalInfluence, c.globalInfluence, 1, 0);
            c.state = ResolveState(doc, section, c.logicalName);
            if (c.state < 0 || c.state >= static_cast<int>(c.entries.size())) c.state = 0;
            ApplyState(doc, c.state);
        } else if (label == "CheckBox") {
            c.type = PageControlType::CheckBox;
            c.rect = layout.PlaceCheckBox(xPosition);
            c.state = ResolveState(doc, section, c.logicalName);
            if (c.state != 0 && c.state != 1) c.state = 0;
            ApplyState(doc, c.state);
        } else if (label == "PushButton") {
            c.type = PageControlType::PushButton;
            c.rect = layout.PlacePushButton(xPosition);
        } else if (label == "RadioButton") {
            c.type = PageControlType::RadioButton;
            const int state = ResolveState(doc, section, c.logicalName);
            c.entries = ReadNumberedTexts(reader, kOptionTextFormat);
            const int n = static_cast<int>(c.entries.size());
            // A state naming no option (negative or too large) checks the first; nothing is written.
            c.state = state >= 0 && state < n ? state : 0;
            c.radio = layout.PlaceRadioGroup(xPosition, n);
        } else if (label == "EditBox") {
            c.type = PageControlType::EditBox;
            c.captioned = layout.PlaceEditBox(xPosition, settings_layout::kFieldWidth);
        } else if (label == "TextBox") {
            c.type = PageControlType::TextBox;
            c.captioned = layout.PlaceTextBox(xPosition, settings_layout::kFieldWidth);
        } else {
            continue;  // only its space counts
        }
        create(c);
        ++made;
    }
    return made;
}

std::string SelectorLabel(const std::string& title) { return FormatText(sp::kChooseFormat, title.c_str()); }

std::vector<DefinitionChoice> BuildTransmissionList(const CQRNDoc& doc) {
    std::vector<DefinitionChoice> choices = ListDefinitionFiles(DefinitionSearchDirectories(doc.definitionDirectory()));
    // The quick scan keeps the blanks of aligned columns ("LogicalName      KV4"); the loaded
    // definition's strings have none, and the list is compared with them.
    for (DefinitionChoice& choice : choices) {
        choice.logicalName = std::string(TrimText(choice.logicalName));
        choice.transmissionType = std::string(TrimText(choice.transmissionType));
        choice.description = std::string(TrimText(choice.description));
    }
    return choices;
}

TransmissionSync SyncTransmissionChoice(const CQRNDoc& doc, const std::vector<DefinitionChoice>& choices) {
    const ApplicationStrings& app = doc.calibration().application;
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].logicalName == app.LogicalName) return {static_cast<int>(i), false};
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (std::strncmp(choices[i].transmissionType.c_str(), app.TransmissionType.c_str(), 4) == 0)
            return {static_cast<int>(i), true};
    return {};
}

bool ApplyTransmissionChoice(CQRNDoc& doc, const DefinitionChoice& choice) {
    // The strings name the new definition only once its text is in.
    const std::string path = choice.directory.empty() ? DefinitionFilePath(doc.definitionDirectory(), choice.fileName)
                                                      : choice.directory + "/" + choice.fileName;
    if (!doc.LoadDefinitionFile(path)) return false;
    ApplicationStrings& app = doc.calibration().application;
    app.LogicalName = choice.logicalName;
    app.TransmissionType = choice.transmissionType;
    app.Description = choice.description;
    app.DefinitionFileName = choice.fileName;
    doc.ResetVariableTable(0);
    doc.ReadApplicationID();
    doc.ReadDeclarations(doc.calibration().hardware.Get(HardwareField::ApplyDefaultsFlag));
    doc.RefreshViews(1);
    doc.SetModifiedFlag();
    return true;
}

void KeepChosenTransmission(CQRNDoc& doc) {
    const ApplicationStrings& app = doc.calibration().application;
    if (!app.LogicalName.empty() && app.TransmissionType != sp::kNoTransmission)
        doc.calibration().hardware.Set(HardwareField::ApplyDefaultsFlag, 0);
}

PagePicture ReadPictureAndDescription(CQRNDoc& doc, const std::string& section, const std::string& pageLogicalName) {
    PagePicture result;
    if (!SelectPageSection(doc, section, pageLogicalName)) return result;
    DefinitionReader& reader = doc.reader();
    std::string picture;
    reader.ReadKeyString(kDisplayPic, picture, kMaxProgramPathLength, 0);
    reader.ReadKeyString(kDescription, result.description, kDescriptionLength, 0);
    if (!picture.empty()) result.path = ResolveProgramRelativePath(doc.programDirectory(), picture);
    return result;
}

}  // namespace korvath
