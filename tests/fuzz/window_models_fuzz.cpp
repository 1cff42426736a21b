// The window models a definition drives, without their widgets: the tuning bar laid out on a graph
// and every box clicked, the dashboard built, fed live readings and torn down, and the settings
// sheet's pages in both modes, each with its selector and variants and every control set up and
// used as its widget would (edit boxes shown and stepped, push buttons run, text boxes read and
// written, check boxes, lists and radio options chosen). What comes out must stay on the page.

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "comm/data_items.h"
#include "definition/element_text_limits.h"
#include "document/tuning_bar_layout.h"
#include "fuzz_document.h"
#include "fuzz_target.h"
#include "graph/graphengine.h"
#include "layout/bound_text.h"
#include "layout/dashboard_layout.h"
#include "layout/dynamic_control_texts.h"
#include "layout/formula_action.h"
#include "layout/global_influence.h"
#include "layout/numeric_setting.h"
#include "layout/option_choice.h"
#include "layout/settings_page_model.h"
#include "layout/settings_sheet_pages.h"

namespace korvath::fuzz {
namespace {

namespace dt = dynamic_texts;

// Key texts a push button or text box reads at most.
constexpr std::size_t kKeyText = 500;
// Far outside anything the layouts place: a coordinate past this went wrong.
constexpr int kPixelLimit = 4 * settings_layout::kMaxCoordinate;

void CheckOnPage(const ControlRect& r) {
    for (int v : {r.left, r.top, r.right, r.bottom}) KORVATH_FUZZ_CHECK(v > -kPixelLimit && v < kPixelLimit);
}

// What a control's "GlobalInfluence" asks of the document after a user action.
void Influence(CQRNDoc& doc, int flags) { doc.NotifyChange(flags & InfluenceFlag::DocumentFlags, nullptr); }

void TuningBar(CQRNDoc& doc) {
    const TuningBarLayout bar = LayOutTuningBar(doc);
    KORVATH_FUZZ_CHECK(static_cast<int>(bar.boxes.size()) <= tuning_bar::kMaxControls);
    KORVATH_FUZZ_CHECK(static_cast<int>(bar.labels.size()) <= tuning_bar::kMaxLabels);
    for (const BarCheckBox& box : bar.boxes) {
        CheckOnPage(box.rect);
        CheckOnPage(box.caption.rect);
        const int clicked = box.checked != 0 ? 0 : 1;
        switch (box.kind) {
            case BarBoxKind::Trace: ApplyTraceBox(doc, box.traces, clicked); break;
            case BarBoxKind::TraceLink: ApplyLinkBox(doc, clicked); break;
            case BarBoxKind::ControlButton:
                if (ApplyControlButton(doc, box.logicalName, clicked)) (void)LayOutTuningBar(doc);
                break;
            default: KORVATH_FUZZ_CHECK(false);
        }
    }
}

// The monitored items' readings as the poller delivers them: display k shows the k-th monitored
// item of a display type.
void Dashboard(CQRNDoc& doc, CGraphEngine& graph) {
    const DashboardLayout dash = LayOutDashboard(doc);
    KORVATH_FUZZ_CHECK(dash.displayCount <= dashboard::kMaxDisplays);
    for (const DashboardCell& cell : dash.cells) CheckOnPage(cell.cell);
    DashboardState state;
    state.SetGraph(&graph);
    state.Build(dash.displayCount);
    KORVATH_FUZZ_CHECK(state.displayCount() == dash.displayCount);
    if (doc.FindSection(live_data::kSection, 0)) {
        std::string label;
        int display = 0;
        for (int next = 0, n = 0; n < live_data::kMaxItems && doc.FindBlock(live_data::kBlockKey, label, next);
             next = 1, ++n) {
            DataItem item;
            if (!ReadDataItem(doc, label, item)) continue;
            for (int raw : {0, 127, 255}) {
                const float value = static_cast<float>(raw) * 0.5f;
                const std::string text = DataItemText(item, raw, value);
                state.OnLiveData(display, text.c_str(), &value);
            }
            ++display;
        }
    }
    const float nowhere = 1e30f, notANumber = std::numeric_limits<float>::quiet_NaN(), middle = 50.0f;
    for (const float* value : {&middle, &nowhere, &notANumber}) {
        state.OnLiveData(live_data::kCrosshairXIndex, nullptr, value);
        state.OnLiveData(live_data::kCrosshairYIndex, nullptr, value);
    }
    state.OnLiveData(state.displayCount(), "past the last display", nullptr);
    state.OnLiveData(live_data::kLinkLostIndex, "", nullptr);
    state.Teardown();
    KORVATH_FUZZ_CHECK(state.displayCount() == 0 && state.title() == dashboard::kTitleEmpty);
}

struct EditBox {
    std::string logicalName;
    NumericSetting setting;
};

struct PushButton {
    EditBox* target = nullptr;
    FormulaButtonSetup setup;
    std::int32_t globalInfluence = 0;
};

struct TextBox {
    TextBinding binding;
    bool bound = false;
    std::int32_t globalInfluence = 0;
};

// One build of a page's controls, then one use of each, as the page's widgets would.
class PageRun {
public:
    PageRun(CQRNDoc& doc, std::string section, std::string pageName)
        : doc_(doc), section_(std::move(section)), pageName_(std::move(pageName)) {}

    void Build(bool hasSelector) {
        SettingsPageLayout layout;
        layout.Reset(hasSelector);
        BuildPageControls(doc_, section_, pageName_, layout, [this](const PageControl& c) { Create(c); });
        KORVATH_FUZZ_CHECK(layout.bottom() < kPixelLimit);
    }

    void Use() {
        for (auto& edit : edits_) {
            NumericSetting& s = edit->setting;
            (void)s.DisplayText(doc_);
            s.Step(doc_, section_, edit->logicalName, 1);
            s.Step(doc_, section_, edit->logicalName, -3);
            if (const int n = s.TakeWheelSteps(-2 * NumericSetting::kWheelStep); n != 0)
                s.Step(doc_, section_, edit->logicalName, n);
            for (const char* typed : {"12.5", "-1e30", "abc", ""})
                if (s.Commit(doc_, section_, edit->logicalName, typed)) Influence(doc_, s.globalInfluence);
            (void)s.DisplayText(doc_);
        }
        for (const PushButton& button : buttons_) {
            if (!button.target) continue;
            const FormulaButtonResult result = RunFormulaAction(doc_, button.target->setting.parser, button.setup);
            if (result.outcome == FormulaButtonResult::Outcome::Accepted)
                button.target->setting.Commit(doc_, section_, button.target->logicalName, result.text);
            Influence(doc_, button.globalInfluence);
        }
        for (const TextBox& box : texts_) {
            if (!box.bound) continue;
            WriteBoundText(doc_, box.binding, "typed: a; b");
            (void)ReadBoundText(doc_, box.binding);
            Influence(doc_, box.globalInfluence);
        }
        for (const PageControl& c : choices_) {
            switch (c.type) {
                case PageControlType::CheckBox:
                    ApplyCheckBoxChoice(doc_, section_, pageName_, c.logicalName, c.state != 0 ? 0 : 1);
                    break;
                case PageControlType::ComboBox:
                    for (int i = 0; i < static_cast<int>(c.entries.size()); ++i)
                        ApplyCheckBoxChoice(doc_, section_, pageName_, c.logicalName, i);
                    Influence(doc_, c.globalInfluence);
                    break;
                case PageControlType::RadioButton:
                    for (int i = 0; i < static_cast<int>(c.entries.size()); ++i) {
                        ApplyRadioChoice(doc_, section_, pageName_, c.logicalName, i, 0);
                        ApplyRadioChoice(doc_, section_, pageName_, c.logicalName, i, 1);
                    }
                    break;
                default: break;
            }
        }
    }

private:
    // Called while the control's block is the reader's selection: the set-ups read their keys here.
    void Create(const PageControl& c) {
        CheckOnPage(c.rect);
        CheckOnPage(c.captioned.label);
        CheckOnPage(c.captioned.field);
        CheckOnPage(c.radio.frame);
        for (const ControlRect& option : c.radio.options) CheckOnPage(option);
        DefinitionReader& reader = doc_.reader();
        switch (c.type) {
            case PageControlType::EditBox: {
                auto edit = std::make_unique<EditBox>();
                edit->logicalName = c.logicalName;
                edit->setting.Setup(doc_, section_, c.logicalName);
                edits_.push_back(std::move(edit));
                break;
            }
            case PageControlType::PushButton: {
                PushButton button;
                std::string target;
                if (reader.ReadKeyString(dt::kTargetLName, target, kLogicalNameLength, 1)) {
                    for (auto& edit : edits_)
                        if (edit->logicalName == target && !button.target) button.target = edit.get();
                    reader.ReadKeyString(dt::kActionFormula, button.setup.actionFormula, kKeyText, 1);
                    reader.ReadKeyString(dt::kRangeFailFmt, button.setup.rangeFailFormat, kKeyText, 1);
                }
                reader.ReadKeyFloat(dt::kMinValue, button.setup.minValue, 1);
                reader.ReadKeyFloat(dt::kMaxValue, button.setup.maxValue, 1);
                reader.ReadKeyInt(dt::kGlobalInfluence, button.globalInfluence, 1);
                buttons_.push_back(std::move(button));
                break;
            }
            case PageControlType::TextBox: {
                TextBox box;
                box.binding = {section_, c.logicalName, {}};
                reader.ReadKeyString(dt::kTargetVar, box.binding.targetVar, kKeyText, 1);
                box.binding.targetVar = std::string(TrimText(box.binding.targetVar));
                reader.ReadKeyInt(dt::kGlobalInfluence, box.globalInfluence, 1);
                box.bound = ReadBoundText(doc_, box.binding).has_value();
                texts_.push_back(std::move(box));
                break;
            }
            default: choices_.push_back(c); break;
        }
    }

    CQRNDoc& doc_;
    std::string section_;
    std::string pageName_;
    std::vector<std::unique_ptr<EditBox>> edits_;  // push buttons point at them
    std::vector<PushButton> buttons_;
    std::vector<TextBox> texts_;
    std::vector<PageControl> choices_;
};

void SettingsPage(CQRNDoc& doc, const std::string& section) {
    if (section == settings_page::kTransmissionSection) {
        const std::vector<DefinitionChoice> choices = BuildTransmissionList(doc);
        (void)SyncTransmissionChoice(doc, choices);
        KeepChosenTransmission(doc);
        return;
    }
    const SelectorResult selector = BuildSelector(doc, section);
    const bool hasSelector = !selector.variants.empty();
    PageRun first(doc, section, selector.pageLogicalName);
    first.Build(hasSelector);
    (void)ReadPictureAndDescription(doc, section, selector.pageLogicalName);
    first.Use();
    // Every other variant chosen in the list: the page builds its controls again for it.
    for (int i = 0; i < static_cast<int>(selector.variants.size()); ++i) {
        if (i == selector.chosen) continue;
        const std::string& name = selector.variants[static_cast<std::size_t>(i)].logicalName;
        ApplyOccurrenceChoice(doc, section, name);
        (void)ReadPictureAndDescription(doc, section, name);
        PageRun variant(doc, section, name);
        variant.Build(true);
        variant.Use();
    }
}

void SettingsSheet(CQRNDoc& doc, SheetMode mode) {
    const auto pages = ReadSheetPages(doc.reader(), mode, 0);
    (void)ReadSheetPages(doc.reader(), mode, 1);  // a rebuild after the first page
    if (!pages) return;
    for (const SheetPageEntry& page : *pages)
        if (!page.section.empty()) SettingsPage(doc, page.section);
}

}  // namespace
}  // namespace korvath::fuzz

KORVATH_FUZZ_TARGET(window_models)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    static fuzz::FuzzDocument f;
    f.Renew();
    CQRNDoc& doc = f.doc;
    CGraphEngine graph;
    doc.SetGraph(&graph);
    doc.reader().SetText(std::string(fuzz::AsText(data, size)));
    doc.ReadApplicationID();
    doc.ResetVariableTable(0);
    doc.ReadDeclarations(1);
    fuzz::TuningBar(doc);
    fuzz::Dashboard(doc, graph);
    for (SheetMode mode : {SheetMode::SystemSettings, SheetMode::SetupWizard}) fuzz::SettingsSheet(doc, mode);
    doc.SetGraph(nullptr);
    return 0;
}
