// The one walk over "[GraphicalTuning]": trace bindings and the tuning bar's layout.

#include "document/tuning_bar_layout.h"

#include <algorithm>

#include "definition/definition_keys.h"
#include "definition/element_text_limits.h"
#include "document/qrndoc.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
namespace tb = tuning_bar;

constexpr int kMaxChoiceIndex = 99;

constexpr std::int32_t kNoControls = -1;
constexpr std::int32_t kFullCaption = 0;
constexpr std::int32_t kHalfCaption = 1;
constexpr std::int32_t kSecondCaption = 2;

bool ValidTrace(int trace) { return trace >= 0 && trace < kNumTraces; }

// Whether the block's assignment list under `key` matches the calibration (an absent key does not).
bool ListMatches(CQRNDoc& doc, const char* key) {
    std::int32_t match = 0;
    return doc.ApplyAssignments(key, 1, &match) == 1 && match == 1;
}

class BarWalk {
public:
    BarWalk(CQRNDoc& doc, CGraphEngine& graph, TuningBarLayout& layout) : doc_(doc), graph_(graph), out_(layout) {}

    void Element(const std::string& type) {
        DefinitionReader& reader = doc_.reader();
        logicalName_.clear();
        displayName_.clear();
        reader.ReadKeyString(definition_keys::kLogicalName, logicalName_, kLogicalNameLength, 1);
        reader.ReadKeyString(definition_keys::kDisplayName, displayName_, kDisplayNameLength, 1);
        if (type == tb::kTraceType) {
            Trace();
        } else if (type == tb::kTraceLinkButtonType) {
            if (!HasKey(definition_keys::kEnableCondition) || ListMatches(doc_, definition_keys::kEnableCondition)) Button(BarBoxKind::TraceLink);
        } else if (type == tb::kControlButtonType) {
            Button(BarBoxKind::ControlButton);
        } else if (type == tb::kLabelType) {
            Label();
        }
        // Any other element type is skipped.
    }

    int Bottom() const { return std::max(row_.bottom, 0); }

private:
    bool HasKey(const char* key) {
        std::string value;
        return doc_.reader().FindKeyValue(key, value, 1);
    }

    BarHelpTexts ReadTexts() {
        BarHelpTexts t;
        DefinitionReader& reader = doc_.reader();
        reader.ReadKeyString(definition_keys::kHelpText, t.help, kHelpTextLength, 1);
        reader.ReadKeyString(definition_keys::kStatusBarText, t.statusBar, kShortTextLength, 1);
        reader.ReadKeyString(definition_keys::kToolTip, t.toolTip, kShortTextLength, 1);
        return t;
    }

    Color ReadColor(const char* key, Color fallback) {
        std::int32_t value = 0;
        if (doc_.reader().ReadKeyInt(key, value, 1) != 1) return fallback;
        return static_cast<Color>(value) & 0x00FFFFFF;
    }

    // The cursor moves down one row of `height`, `gap` below the previous bottom.
    void NextRow(int gap, int height) {
        row_.top = row_.bottom + gap;
        row_.bottom = row_.top + height;
    }

    int HalfRight() const { return row_.left + tb::kCaptionIndent + (row_.right - row_.left - tb::kCaptionIndent) / 2; }

    BarCaption Caption(int left, int right, Color back, BarHelpTexts texts) const {
        BarCaption c;
        c.rect = {left, row_.top, right, row_.bottom};
        c.text = displayName_;
        c.logicalName = logicalName_;
        c.backColor = back;
        c.texts = std::move(texts);
        return c;
    }

    BarCheckBox& NewBox(int kind) {
        out_.boxes.emplace_back();
        BarCheckBox& box = out_.boxes.back();
        box.kind = kind;
        box.rect = {row_.left, row_.top, row_.left + tb::kBoxWidth, row_.bottom};
        box.logicalName = logicalName_;
        return box;
    }

    static void AddTrace(BarCheckBox& box, int trace) {
        for (std::int16_t& slot : box.traces) {
            if (slot == trace) return;
            if (slot < 0) {
                slot = static_cast<std::int16_t>(trace);
                return;
            }
        }
        // A box with ten traces takes no more.
    }

    void Trace() {
        DefinitionReader& reader = doc_.reader();
        std::int32_t trace = 0;
        reader.ReadKeyInt("TraceNum", trace, 1, 0);
        if (!ValidTrace(trace)) return;
        const Color color = ReadColor("TraceColor", graph::kDefaultPalette[trace % 20]);
        std::int32_t enableButton = kNoControls;
        reader.ReadKeyInt("EnableButton", enableButton, 1, kNoControls);
        std::string callout;
        reader.ReadKeyString("CallOutFmt", callout, kShortTextLength, 1);

        graph_.SetTraceColor(trace, color);
        graph_.SetTraceText(trace, displayName_, callout);
        doc_.ReadTraceBinding(trace);  // also clears the proxy flag
        ++out_.tracesBound;
        TraceBinding& binding = doc_.traceBinding(trace);

        if (enableButton == kFullCaption || enableButton == kHalfCaption) {
            TraceRow(trace, color, enableButton == kFullCaption || ListMatches(doc_, "SingleLabelEnable"));
        } else if (enableButton == kSecondCaption) {
            if (ListMatches(doc_, "ProxyEnable")) {
                graph_.SetTraceVisible(trace, 0);
                binding.ProxyActive = 1;
                return;
            }
            // A row holds one second caption. A trace with no row to share (the first of the bar,
            // or one after a label or a button) or whose row's second caption is taken would have
            // no caption and no way to be shown: it gets a row of its own, full width.
            if (rowBox_ < 0 || out_.boxes[static_cast<std::size_t>(rowBox_)].hasSecondCaption) {
                TraceRow(trace, color, true);
                return;
            }
            BarCheckBox& box = out_.boxes[static_cast<std::size_t>(rowBox_)];
            AddTrace(box, trace);
            graph_.SetTraceVisible(trace, box.checked);
            box.hasSecondCaption = true;
            box.secondCaption = Caption(HalfRight(), row_.right, color, ReadTexts());
        }
        // EnableButton -1, 255 and other values: no controls; the trace keeps its visibility.
    }

    // A row of the trace's own: its check box, shown as the calibration keeps the trace, and a
    // caption of the full or the left half width.
    void TraceRow(int trace, Color color, bool full) {
        const ViewStateBlock& saved = doc_.calibration().viewState;
        if (static_cast<int>(out_.boxes.size()) >= tb::kMaxControls) {
            // No room for a box: the trace is shown as the calibration keeps it.
            ++out_.droppedBoxes;
            graph_.SetTraceVisible(trace, saved.TraceVisible(trace) ? 1 : 0);
            rowBox_ = -1;
            return;
        }
        NextRow(tb::kRowGap, tb::kRowHeight);
        BarCheckBox& box = NewBox(BarBoxKind::Trace);
        AddTrace(box, trace);
        box.checked = saved.TraceVisible(trace) ? 1 : 0;
        graph_.SetTraceVisible(trace, box.checked);
        box.texts = ReadTexts();
        box.caption = Caption(row_.left + tb::kCaptionIndent, full ? row_.right : HalfRight(), color, box.texts);
        rowBox_ = static_cast<int>(out_.boxes.size()) - 1;
    }

    void Button(int kind) {
        if (static_cast<int>(out_.boxes.size()) >= tb::kMaxControls) {
            ++out_.droppedBoxes;
            return;
        }
        const Color back = ReadColor("BackColor", tb::kDefaultButtonBackColor);
        NextRow(tb::kRowGap, tb::kRowHeight);
        BarCheckBox& box = NewBox(kind);
        if (kind == BarBoxKind::TraceLink) {
            box.checked = doc_.calibration().viewState.TraceLinking() != 0 ? 1 : 0;
            graph_.SetLinking(box.checked);
        } else {
            std::int32_t state = 0;
            if (!doc_.FindMatchingChoice(tb::kBitValStateFormat, 1, state)) state = 0;
            box.checked = state != 0 ? 1 : 0;
        }
        box.texts = ReadTexts();
        box.caption = Caption(row_.left + tb::kCaptionIndent, row_.right, back, box.texts);
        rowBox_ = -1;
    }

    void Label() {
        if (static_cast<int>(out_.labels.size()) >= tb::kMaxLabels) {
            ++out_.droppedLabels;
            return;
        }
        NextRow(tb::kLabelGap, tb::kLabelHeight);
        BarCaption c = Caption(row_.left, row_.right, 0, {});
        out_.labels.push_back(std::move(c));
        row_.bottom -= tb::kLabelRise;
        rowBox_ = -1;
    }

    CQRNDoc& doc_;
    CGraphEngine& graph_;
    TuningBarLayout& out_;
    std::string logicalName_;
    std::string displayName_;
    ControlRect row_{tb::kColumnLeft, 0, tb::kColumnRight, 5};
    // The trace box of the latest row, which a trace with EnableButton 2 joins; -1: none.
    int rowBox_ = -1;
};

}  // namespace

TuningBarLayout LayOutTuningBar(CQRNDoc& doc) {
    // One box per distinct binding message, however many traces repeat it.
    CQRNDoc::MessageBatchScope oneBoxPerMessage(doc);
    TuningBarLayout layout;
    CGraphEngine* graph = doc.graph();
    DefinitionReader& reader = doc.reader();
    if (!reader.FindSection(tb::kSection, 0)) return layout;
    layout.hasSection = true;
    if (!graph) return layout;
    BarWalk walk(doc, *graph, layout);
    std::string type;
    for (int next = 0; reader.FindBlock(tb::kBlockKey, type, next); next = 1) walk.Element(type);
    layout.bottom = walk.Bottom();
    return layout;
}

int CQRNDoc::BindGraphicalTuningTraces() { return LayOutTuningBar(*this).tracesBound; }

void ApplyTraceBox(CQRNDoc& doc, const std::array<std::int16_t, tuning_bar::kMaxTracesPerBox>& traces, int state) {
    CGraphEngine* graph = doc.graph();
    for (std::int16_t t : traces) {
        if (!ValidTrace(t)) continue;
        if (graph) graph->SetTraceVisible(t, state);
        doc.calibration().viewState.SetTraceVisible(t, state != 0);
    }
    doc.SetModifiedFlag();
}

void ApplyLinkBox(CQRNDoc& doc, int state) {
    doc.calibration().viewState.SetTraceLinking(state != 0 ? 1 : 0);
    doc.SetModifiedFlag();
    if (CGraphEngine* graph = doc.graph()) graph->SetLinking(state != 0 ? 1 : 0);
}

bool ApplyControlButton(CQRNDoc& doc, const std::string& logicalName, int state) {
    DefinitionReader& reader = doc.reader();
    if (!reader.FindSection(tb::kSection, 0)) return false;
    std::string type;
    for (int next = 0; reader.FindBlock(tb::kBlockKey, type, next); next = 1) {
        if (type != tb::kControlButtonType) continue;
        std::string name;
        reader.ReadKeyString(definition_keys::kLogicalName, name, kLogicalNameLength, 1);
        if (name != logicalName) continue;
        doc.ApplyAssignments(FormatChecked(tb::kBitValStateFormat, std::clamp(state, 0, kMaxChoiceIndex)), 1);
        return true;
    }
    return false;
}

}  // namespace korvath
