#include "layout/shown_settings.h"

#include <algorithm>
#include <cctype>

#include "definition/definition_keys.h"
#include "definition/definition_reader.h"
#include "document/qrndoc.h"
#include "layout/bound_text.h"
#include "layout/dynamic_control_texts.h"
#include "layout/numeric_setting.h"
#include "layout/settings_page_model.h"
#include "layout/settings_sheet_pages.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

namespace ss = shown_settings;

constexpr const char* kBitValFixed = "BitValFixed";
constexpr std::size_t kMaxTargetVarLength = 80;

// Built by appending: GCC 12 at -O3 warns wrongly about ":" + std::string.
std::string PropertyKey(std::string_view section, std::string_view name) {
    std::string key(1, ':');
    key.append(section).append(1, ':').append(name);
    return key;
}

void AddUnique(std::vector<std::string>& sources, std::string source) {
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(std::move(source));
}

// The variables an assignment list or a formula names: each "@Name" ("@ Name" too).
void AddNamedVariables(std::string_view text, std::vector<std::string>& sources) {
    for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
        std::size_t begin = at + 1;
        while (begin < text.size() && text[begin] == ' ') ++begin;
        std::size_t end = begin;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
        if (end > begin) AddUnique(sources, std::string(text.substr(begin, end - begin)));
    }
}

// The variables of "BitValState0" ... of the selected block, one list per state.
void AddStateVariables(DefinitionReader& reader, std::size_t states, std::vector<std::string>& sources) {
    std::string list;
    for (std::size_t i = 0; i < std::max<std::size_t>(states, 2); ++i)
        if (reader.FindKeyValue(FormatText(dynamic_texts::kBitValStateFormat, static_cast<int>(i)), list, 1))
            AddNamedVariables(list, sources);
}

std::string EntryText(const std::vector<std::string>& entries, int state) {
    return state >= 0 && state < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(state)]
                                                                   : std::string();
}

class PageReader {
public:
    PageReader(CQRNDoc& doc, std::vector<ShownSetting>& out) : doc_(doc), out_(out) {}

    void Read(const SheetPageEntry& page) {
        page_ = &page;
        std::string pageLogicalName;
        if (page.section == settings_page::kTransmissionSection) {
            AddTransmission();
        } else {
            pageLogicalName = AddSelector();
        }
        SettingsPageLayout layout;
        BuildPageControls(doc_, page.section, pageLogicalName, layout, [&](const PageControl& c) { Add(c); });
    }

private:
    ShownSetting& Start(std::string_view caption) {
        ShownSetting& s = out_.emplace_back();
        s.page = page_->title;
        s.caption = PlainCaption(caption);
        return s;
    }

    void AddTransmission() {
        const ApplicationStrings& app = doc_.calibration().application;
        ShownSetting& s = Start(SelectorLabel(page_->title));
        s.value = app.TransmissionType.empty() ? settings_page::kNoTransmission : app.TransmissionType;
        for (const char* field : {"TransmissionType", "LogicalName", "DefinitionFileName", "Description"})
            s.sources.push_back(std::string(ss::kApplicationPrefix) + field);
    }

    // The variant list of a repeated section; returns the chosen variant's logical name.
    std::string AddSelector() {
        const SelectorResult selector = BuildSelector(doc_, page_->section);
        if (selector.variants.empty()) return selector.pageLogicalName;
        ShownSetting& s = Start(SelectorLabel(page_->title));
        s.value = selector.variants[static_cast<std::size_t>(selector.chosen)].displayName;
        DefinitionReader& reader = doc_.reader();
        std::string fixed;
        for (const VariantRecord& variant : selector.variants)
            if (reader.FindSectionWithLogicalName(page_->section, variant.logicalName) &&
                reader.FindKeyValue(kBitValFixed, fixed, 0))
                AddNamedVariables(fixed, s.sources);
        AddUnique(s.sources, PropertyKey(page_->section, definition_keys::kLogicalName));
        return selector.pageLogicalName;
    }

    void Add(const PageControl& c) {
        DefinitionReader& reader = doc_.reader();
        const std::string remembered = PropertyKey(page_->section, c.logicalName);
        switch (c.type) {
            case PageControlType::PushButton: return;  // it acts; it shows no value
            case PageControlType::CheckBox:
            case PageControlType::ComboBox:
            case PageControlType::RadioButton: {
                ShownSetting& s = Start(c.displayName);
                s.value = c.type == PageControlType::CheckBox ? (c.state ? ss::kOn : ss::kOff) : EntryText(c.entries, c.state);
                AddStateVariables(reader, c.entries.size(), s.sources);
                s.sources.push_back(remembered);
                return;
            }
            case PageControlType::EditBox: {
                NumericSetting setting;
                setting.Setup(doc_, page_->section, c.logicalName);
                ShownSetting& s = Start(c.displayName.empty() ? SelectorLabel(page_->title) : c.displayName);
                s.value = setting.DisplayText(doc_);
                if (setting.HasTargetVariable()) {
                    for (const std::string& target : setting.targetName)
                        if (target.size() >= NumericSetting::kMinTargetNameLength) AddUnique(s.sources, target);
                } else {
                    s.sources.push_back(remembered);
                }
                return;
            }
            case PageControlType::TextBox: {
                std::string targetVar;
                reader.ReadKeyString(dynamic_texts::kTargetVar, targetVar, kMaxTargetVarLength, 1);
                targetVar = std::string(TrimText(targetVar));
                ShownSetting& s = Start(c.displayName.empty() ? SelectorLabel(page_->title) : c.displayName);
                s.value = ReadBoundText(doc_, {page_->section, c.logicalName, targetVar}).value_or(std::string());
                s.sources.push_back(targetVar.empty() ? remembered : targetVar);
                return;
            }
        }
    }

    CQRNDoc& doc_;
    std::vector<ShownSetting>& out_;
    const SheetPageEntry* page_ = nullptr;
};

}  // namespace

std::vector<ShownSetting> ReadShownSettings(CQRNDoc& doc) {
    std::vector<ShownSetting> settings;
    const auto pages = ReadSheetPages(doc.reader(), SheetMode::SystemSettings, 0);
    if (!pages) return settings;
    PageReader reader(doc, settings);
    for (const SheetPageEntry& page : *pages)
        if (!page.section.empty()) reader.Read(page);
    return settings;
}

const ShownSetting* FindShownSetting(const std::vector<ShownSetting>& settings, std::string_view source) {
    const ShownSetting* best = nullptr;
    for (const ShownSetting& s : settings) {
        if (std::find(s.sources.begin(), s.sources.end(), source) == s.sources.end()) continue;
        if (!best || s.sources.size() < best->sources.size()) best = &s;
    }
    return best;
}

const ShownSetting* FindShownSetting(const std::vector<ShownSetting>& settings, std::string_view page,
                                     std::string_view caption) {
    for (const ShownSetting& s : settings)
        if (s.page == page && s.caption == caption) return &s;
    return nullptr;
}

std::string PlainCaption(std::string_view caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            plain += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            plain += '&';
            ++i;
        }
    }
    std::string_view trimmed = TrimText(plain);
    if (trimmed.ends_with(':')) trimmed = TrimText(trimmed.substr(0, trimmed.size() - 1));
    return std::string(trimmed);
}

}  // namespace korvath
