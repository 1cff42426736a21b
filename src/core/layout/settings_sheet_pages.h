#pragma once
// The pages of the System Settings window and the Initial Setup wizard as the definition lists
// them ("Tab<n>", "Text<n>", "HelpText<n>" of "[ConfigurationDialog]" or "[QuickTuneDialog]"),
// the fallback when the section is missing, the wizard's buttons on each page, and what
// refreshing the settings sheet does for a newly loaded calibration.

#include <optional>
#include <string>
#include <vector>

namespace korvath {

class DefinitionReader;

namespace settings_sheet {
inline constexpr char kSystemSettingsCaption[] = "System Settings";
inline constexpr char kSetupWizardCaption[] = "Initial Setup";
inline constexpr char kConfigurationSection[] = "[ConfigurationDialog]";
inline constexpr char kQuickTuneSection[] = "[QuickTuneDialog]";
inline constexpr char kTransmissionTitle[] = "Transmission Type";
inline constexpr char kTransmissionHelp[] =
    "Scroll through the list to select the correct transmission model.\nWhen you select a transmission, its picture "
    "and description will be shown.";
inline constexpr char kSheetHelp[] =
    "Click on the tab for the category of settings that you want to modify in order to make your changes. You can "
    "also navigate between tabs and their various controls using the \"Tab\" key and between different tabs using "
    "the left and right arrow keys.";
inline constexpr int kMaxPages = 20;
inline constexpr int kBlankTabs = 2;
inline constexpr int kBlankTitleLength = 70;
// The wait after each page while the pages of a loaded calibration are visited.
inline constexpr int kVisitWaitMs = 50;
}  // namespace settings_sheet

enum class SheetMode { SystemSettings = 0, SetupWizard = 1 };

struct SheetPageEntry {
    std::string section;  // "[Name]"; empty: a placeholder tab that cannot be selected
    std::string title;
    std::string helpText;
};

// The pages to add to a sheet that holds `pagesHeld` pages. With pages held the list starts at
// "Tab1" (page 0 stays). Without the dialog section a new sheet gets the transmission-type page
// (and, in System Settings, two blank tabs); a sheet with pages gets only the blank tabs after
// its page 0 (a second transmission-type page would repeat the first). None: nothing changes
// (a one-page sheet whose definition has no dialog section).
std::optional<std::vector<SheetPageEntry>> ReadSheetPages(DefinitionReader& reader, SheetMode mode, int pagesHeld);

struct WizardButtons {
    bool back = false;
    bool next = false;
    bool finish = false;
    bool operator==(const WizardButtons&) const = default;
};
// Next on the first page of several, Back and Finish on the last, Back and Next between; none on
// a single page.
WizardButtons WizardButtonsFor(int pageIndex, int pageCount);

struct SettingsSheetRefresh {
    bool rebuild = false;  // the open sheet rebuilds its pages
    bool open = false;     // System Settings is opened first
    bool visit = false;    // every page is shown in turn, then page 0
};
SettingsSheetRefresh PlanSettingsSheetRefresh(bool sheetOpen, int visitPages, const std::string& transmissionType);

}  // namespace korvath
