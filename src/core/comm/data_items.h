#pragma once
// Live data items: what the "[DataItems]" section of a definition says about each value the
// poller reads from the controller, and how one reading becomes the text of a display.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class MonitorClient;

// The poller's callback: (index, text or null, value or null).
//   index k >= 0   text for the display of monitored item k
//   -1000          the link to the controller was lost (text: empty or the last value)
//   10000 / 10001  crosshair X / Y coordinate in value
using LiveDataReceiver = std::function<void(std::int32_t index, const char* text, const float* value)>;

namespace live_data {

inline constexpr std::int32_t kMaxItems = 20;
inline constexpr std::int32_t kReceiverSlots = 5;
inline constexpr std::int32_t kMaxEnumTexts = 10;
// Monitor or log index of an item that is not monitored (or not logged).
inline constexpr std::int32_t kNoIndex = -100000;
// Receiver indexes besides the monitor indexes.
inline constexpr std::int32_t kLinkLostIndex = -1000;
inline constexpr std::int32_t kCrosshairXIndex = 10000;
inline constexpr std::int32_t kCrosshairYIndex = 10001;
// A display text holds at most this many characters (the display's 50-character buffer).
inline constexpr std::size_t kMaxDisplayText = 49;
// Error texts and enumerated texts are shown with at most this many characters.
inline constexpr std::size_t kMaxShownText = 6;

// Text lengths of the keys as they are read.
inline constexpr std::size_t kMaxLogicalName = 51;
inline constexpr std::size_t kMaxDisplayName = 81;
inline constexpr std::size_t kMaxCrosshairMode = 10;
inline constexpr std::size_t kMaxEnumText = 9;

// Poll periods: the definition's values are kept within these bounds, so that a damaged file
// can neither spin the timer nor stop it.
inline constexpr std::int32_t kMinPeriodMs = 10;
inline constexpr std::int32_t kMaxPeriodMs = 60000;
// "NumTicks" is kept within 1 and this, so that choosing the next item stays a short loop.
inline constexpr std::int32_t kMaxNumTicks = 1000;

inline constexpr char kSection[] = "[DataItems]";
inline constexpr char kBlockKey[] = "DataItem";
inline constexpr char kNumericLabel[] = "NumericValue";
inline constexpr char kEnumeratedLabel[] = "EnumeratedText";
inline constexpr char kDashboardPeriodKey[] = "DashboardUpdatePeriod";
inline constexpr char kDataLogPeriodKey[] = "DataLogUpdatePeriod";
inline constexpr char kMonitorStateKey[] = "DefMonState";
inline constexpr char kLogStateKey[] = "DefLogState";
inline constexpr char kNumTicksKey[] = "NumTicks";
inline constexpr char kMinValueKey[] = "MinValue";
inline constexpr char kMaxValueKey[] = "MaxValue";
inline constexpr char kMaxErrorTextKey[] = "MaxErrorTxt";
inline constexpr char kMinErrorTextKey[] = "MinErrorTxt";
inline constexpr char kDisplayFormulaKey[] = "DisplayFormula";
inline constexpr char kCrosshairModeKey[] = "CrosshairMode";
inline constexpr char kCrosshairFormulaKey[] = "CrosshairFormula";
inline constexpr char kEnumTextKeyFormat[] = "EnumText%d";
inline constexpr char kDefaultMaxErrorText[] = "eH";
inline constexpr char kDefaultMinErrorText[] = "eL";
inline constexpr float kDefaultMinValue = 0.0f;
inline constexpr float kDefaultMaxValue = 255.0f;

}  // namespace live_data

enum class DataItemKind : std::int32_t { Numeric = 0, Enumerated = 1 };

struct DataItem {
    std::string logicalName;
    std::string displayName;
    DataItemKind kind = DataItemKind::Numeric;
    std::int32_t monitorFlag = 0;
    std::int32_t logFlag = 0;
    std::int32_t monitorIndex = live_data::kNoIndex;
    std::int32_t logIndex = live_data::kNoIndex;
    std::int32_t tickLimit = 1;
    std::int32_t tickCounter = 1;
    float minimum = live_data::kDefaultMinValue;
    float maximum = live_data::kDefaultMaxValue;
    std::string crosshairMode;
    std::string minErrorText = live_data::kDefaultMinErrorText;
    std::string maxErrorText = live_data::kDefaultMaxErrorText;
    std::string formula;
    std::string crosshairFormula;
    // The display format as the definition gives it, and whether it passed the check (one
    // floating-point conversion, nothing else); an unusable format shows an empty text.
    std::string displayFormat;
    bool displayFormatUsable = false;
    std::array<std::string, live_data::kMaxEnumTexts> enumTexts{};
    std::int32_t enumTextCount = 0;
};

// Splits a "DisplayFormula" value at its first "=" into the display format (trimmed at the
// right) and the formula (trimmed at both ends). Without "=", or with "=" first, the whole
// value is the formula and there is no format.
void SplitDisplayFormula(std::string_view value, std::string& format, std::string& formula);

// Whether a display format from a definition may be handed to the formatter: exactly one
// floating-point conversion, at most 49 characters, and no width or precision that could
// make the text longer than that.
bool DisplayFormatUsable(std::string_view format);

// Reads the keys of the selected "DataItem" block into item (the label says its kind).
// False when the block describes no item the poller keeps: neither monitored, logged nor
// positioning the crosshair, or a label other than the two item types.
bool ReadDataItem(MonitorClient& source, std::string_view label, DataItem& item);

// The items the poller keeps of the source's "[DataItems]", in file order (at most 20); with no
// section: none, and `hasSection` false.
std::vector<DataItem> ReadDataItems(MonitorClient& source, bool* hasSection = nullptr);

// The display text of a reading: raw is the last RAM value the formula read (1000 when it read
// none), value the converted value. Limits compare the raw value.
std::string DataItemText(const DataItem& item, int raw, float value);

}  // namespace korvath
