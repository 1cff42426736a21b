// Reading one "DataItem" block and turning a reading into the text of its display.

#include "comm/data_items.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "comm/monitor_client.h"
#include "definition/definition_keys.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr std::string_view kSpaces = " \t\r\n\v\f";

std::string_view TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(kSpaces);
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view TrimBoth(std::string_view text) {
    const auto start = text.find_first_not_of(kSpaces);
    if (start == std::string_view::npos) return {};
    return TrimRight(text.substr(start));
}

static_assert(kMaxFormatField <= live_data::kMaxDisplayText, "a display format's field fits the display");

std::string FirstChars(const std::string& text, std::size_t count) { return text.substr(0, count); }

}  // namespace

void SplitDisplayFormula(std::string_view value, std::string& format, std::string& formula) {
    const auto equals = value.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        format.clear();
        formula = std::string(TrimBoth(value));
        return;
    }
    format = std::string(TrimRight(value.substr(0, equals)));
    formula = std::string(TrimBoth(value.substr(equals + 1)));
}

bool DisplayFormatUsable(std::string_view format) {
    return FormatTakesExactly(format, {FormatArg::Double}, live_data::kMaxDisplayText);
}

bool ReadDataItem(MonitorClient& source, std::string_view label, DataItem& item) {
    using namespace live_data;
    item = DataItem{};
    source.ReadKeyString(definition_keys::kLogicalName, item.logicalName, kMaxLogicalName, 1, "");
    source.ReadKeyString(definition_keys::kDisplayName, item.displayName, kMaxDisplayName, 1, "");
    source.ReadKeyInt(kMonitorStateKey, item.monitorFlag, 1, 0);
    source.ReadKeyInt(kLogStateKey, item.logFlag, 1, 0);
    source.ReadKeyInt(kNumTicksKey, item.tickLimit, 1, 1);
    item.tickLimit = std::clamp(item.tickLimit, 1, kMaxNumTicks);
    item.tickCounter = item.tickLimit;  // due at its first visit
    source.ReadKeyFloat(kMinValueKey, item.minimum, 1, kDefaultMinValue);
    source.ReadKeyFloat(kMaxValueKey, item.maximum, 1, kDefaultMaxValue);
    source.FindKeyValue(kMaxErrorTextKey, item.maxErrorText, 1, kDefaultMaxErrorText);
    source.FindKeyValue(kMinErrorTextKey, item.minErrorText, 1, kDefaultMinErrorText);
    std::string displayFormula;
    source.FindKeyValue(kDisplayFormulaKey, displayFormula, 1, "");
    source.ReadKeyString(kCrosshairModeKey, item.crosshairMode, kMaxCrosshairMode, 1, "");
    source.FindKeyValue(kCrosshairFormulaKey, item.crosshairFormula, 1, "");

    if (item.monitorFlag == 0 && item.logFlag == 0 && item.crosshairMode.empty()) return false;
    // Only the two item types have a display; any other label is not polled at all, so that
    // the monitor indexes stay those of the dashboard's displays.
    if (label == kNumericLabel) {
        item.kind = DataItemKind::Numeric;
    } else if (label == kEnumeratedLabel) {
        item.kind = DataItemKind::Enumerated;
        for (int i = 0; i < kMaxEnumTexts; ++i) {
            char key[24];
            std::snprintf(key, sizeof key, kEnumTextKeyFormat, i);
            if (!source.ReadKeyString(key, item.enumTexts[static_cast<std::size_t>(i)], kMaxEnumText, 1, nullptr))
                break;
            item.enumTextCount = i + 1;
        }
    } else {
        return false;
    }
    SplitDisplayFormula(displayFormula, item.displayFormat, item.formula);
    item.displayFormatUsable = DisplayFormatUsable(item.displayFormat);
    return true;
}

std::string DataItemText(const DataItem& item, int raw, float value) {
    using namespace live_data;
    if (static_cast<float>(raw) < item.minimum) return FirstChars(item.minErrorText, kMaxShownText);
    if (static_cast<float>(raw) > item.maximum) return FirstChars(item.maxErrorText, kMaxShownText);
    if (item.kind == DataItemKind::Numeric) {
        if (!item.displayFormatUsable) return {};
        std::string text = FormatChecked(item.displayFormat.c_str(), static_cast<double>(value));
        if (text.size() > kMaxDisplayText) text.resize(kMaxDisplayText);
        return text;
    }
    // Enumerated: the text of the value, truncated toward zero. A value without a text (below
    // 0, beyond the last text given, or not a number) shows the number itself, so that an
    // unexpected state of the controller is seen rather than hidden.
    if (!std::isfinite(value)) return {};
    const double whole = std::trunc(static_cast<double>(value));
    if (whole >= 0 && whole < item.enumTextCount) return FirstChars(item.enumTexts[static_cast<std::size_t>(whole)], kMaxShownText);
    if (whole > -100000.0 && whole < 1000000.0) return FirstChars(std::to_string(static_cast<long>(whole)), kMaxShownText);
    return {};
}

std::vector<DataItem> ReadDataItems(MonitorClient& source, bool* hasSection) {
    std::vector<DataItem> items;
    const bool found = source.FindSection(live_data::kSection, 0);
    if (hasSection) *hasSection = found;
    if (!found) return items;
    std::int32_t monitored = 0, logged = 0;
    std::string label;
    DataItem item;
    for (int next = 0; items.size() < live_data::kMaxItems && source.FindBlock(live_data::kBlockKey, label, next);
         next = 1) {
        if (!ReadDataItem(source, label, item)) continue;
        item.monitorIndex = item.monitorFlag != 0 ? monitored++ : live_data::kNoIndex;
        item.logIndex = item.logFlag != 0 ? logged++ : live_data::kNoIndex;
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace korvath
