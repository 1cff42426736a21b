#include "layout/settings_sheet_pages.h"

#include "definition/definition_reader.h"
#include "layout/settings_page_model.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
namespace ss = settings_sheet;
constexpr std::size_t kSectionNameLength = 80;
constexpr std::size_t kTitleLength = 200;
constexpr std::size_t kHelpLength = 1000;

std::vector<SheetPageEntry> BlankTabs() {
    return std::vector<SheetPageEntry>(ss::kBlankTabs, SheetPageEntry{{}, std::string(ss::kBlankTitleLength, ' '), {}});
}
}  // namespace

std::optional<std::vector<SheetPageEntry>> ReadSheetPages(DefinitionReader& reader, SheetMode mode, int pagesHeld) {
    const char* header = mode == SheetMode::SetupWizard ? ss::kQuickTuneSection : ss::kConfigurationSection;
    std::vector<SheetPageEntry> pages;
    if (!reader.FindSection(header, 0)) {
        if (pagesHeld == 1) return std::nullopt;
        if (pagesHeld == 0)
            pages.push_back({settings_page::kTransmissionSection, ss::kTransmissionTitle, ss::kTransmissionHelp});
        if (mode == SheetMode::SystemSettings)
            for (SheetPageEntry& blank : BlankTabs()) pages.push_back(std::move(blank));
        return pages;
    }
    for (int n = pagesHeld > 0 ? 1 : 0; n < ss::kMaxPages; ++n) {
        std::string name;
        if (!reader.ReadKeyString(FormatText("Tab%d", n), name, kSectionNameLength, 0)) break;
        SheetPageEntry page;
        page.section = "[" + name + "]";
        reader.ReadKeyString(FormatText("Text%d", n), page.title, kTitleLength, 0);
        reader.ReadKeyString(FormatText("HelpText%d", n), page.helpText, kHelpLength, 0);
        pages.push_back(std::move(page));
    }
    return pages;
}

WizardButtons WizardButtonsFor(int pageIndex, int pageCount) {
    if (pageIndex <= 0) return {false, pageCount > 1, false};
    if (pageIndex >= pageCount - 1) return {true, false, true};
    return {true, true, false};
}

SettingsSheetRefresh PlanSettingsSheetRefresh(bool sheetOpen, int visitPages, const std::string& transmissionType) {
    const bool visit = visitPages == 1 && transmissionType != settings_page::kNoTransmission;
    return {sheetOpen, !sheetOpen && visit, visit};
}

}  // namespace korvath
