// The controller's memory image built from the calibration, and read back into it.

#include <algorithm>

#include "definition/numeric.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kStoreFormulaError = "Error in store formula";
constexpr const char* kLoadFormulaError = "Error in load formula";
constexpr const char* kTooManyStore = "Too many store formulas (%d) for array size";
constexpr const char* kTooManyLoad = "Too many load formulas (%d) for array size";
constexpr const char* kStoreExceeded = "Store formula array size exceeded";
constexpr const char* kLoadExceeded = "Load formula array size exceeded";
constexpr const char* kOutsideImage =
    "Definition file error:\n\nThe variable listed above lies outside the memory image (%d bytes); the "
    "calibration was not exchanged with it.";

}  // namespace

bool CQRNDoc::ExchangeImage(std::uint8_t* image, std::size_t imageSize, int direction) {
    MessageBatchScope oneBoxPerMessage(*this);
    auto& table = cal_.variables;
    const ImageLayout& l = table.layout;

    auto runFormulas = [&](const std::vector<std::string>& list, const char* tooMany, const char* exceeded,
                           const char* failed) {
        if (list.size() > static_cast<std::size_t>(kMaxFormulas)) {
            ShowMessage(FormatText(tooMany, static_cast<int>(list.size())), exceeded, MessageStyle::IconError);
            return false;
        }
        for (const std::string& statement : list) {
            std::string error;
            if (!ExecuteFormulaStatement(statement, error)) ShowMessage(error, failed, MessageStyle::IconError);
        }
        return true;
    };
    if (direction == 1 && !runFormulas(table.storeFormulas, kTooManyStore, kStoreExceeded, kStoreFormulaError))
        return false;

    // Every byte touched must lie inside both the image and the buffer.
    const std::int64_t limit = std::min<std::int64_t>(l.TotalBlockSize, static_cast<std::int64_t>(imageSize));
    auto inside = [&](std::int64_t offset, int size) { return offset >= 0 && offset + size <= limit; };
    auto refuse = [&](const VariableSlot& slot) {
        ShowMessage(FormatText(kOutsideImage, l.TotalBlockSize), slot.name, MessageStyle::IconExclamation);
        return false;
    };

    for (int i = 0; i < table.count && i < kMaxVariables; ++i) {
        VariableSlot& slot = table.slots[static_cast<std::size_t>(i)];
        if (slot.type == VarType::T8 && slot.location != 0) {
            const int trace = slot.address;
            const int interpolation = l.DynamicInterpolation;
            if (trace < 0 || trace >= kNumTraces || interpolation <= 0) return false;
            const std::int64_t base = static_cast<std::int64_t>(l.DynamicBlockStart) + slot.TableAddress();
            for (int e = 0; e < slot.CellCount(); ++e) {
                const std::int64_t offset = base + static_cast<std::int64_t>(slot.CellStride()) * e;
                if (!inside(offset, 1)) return refuse(slot);
                const int k = e / interpolation;
                const float position = static_cast<float>(e) / static_cast<float>(interpolation);
                std::uint8_t& cell = image[offset];
                if (direction == 1) {
                    const std::int16_t p = PaddedPoint(trace, k, 0);
                    if (e % interpolation == 0)
                        cell = DisplayToRaw(trace, p, TraceFormula::StoreToInt, 0, position);
                    else
                        cell = DisplayToRaw(trace, static_cast<float>((p + PaddedPoint(trace, k + 1, 0)) / 2.0),
                                            TraceFormula::StoreToInt, 0, position);
                } else if (e % interpolation == 0 && k < kPointsPerTrace) {
                    // Cells beyond the tenth point have no point to return to.
                    auto& point = cal_.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(k)];
                    point = TruncToInt16(RawToValue(trace, cell, TraceFormula::IntToStore) + 0.5);
                    point = PaddedPoint(trace, k, 1);
                }
            }
        } else if (slot.location == VarLocation::StaticBlock) {
            const int size = VarType::ImageSize(slot.type);
            if (size == 0) continue;
            if (slot.address >= l.StaticBlockSize) return false;
            const std::int64_t offset = static_cast<std::int64_t>(l.StaticBlockStart) + slot.address;
            if (slot.address < 0 || !inside(offset, size)) return refuse(slot);
            if (direction == 1) {
                std::copy_n(slot.value.begin(), size, image + offset);
            } else {
                slot.value = {};
                std::copy_n(image + offset, size, slot.value.begin());
            }
        }
    }

    if (direction == 0 && !runFormulas(table.loadFormulas, kTooManyLoad, kLoadExceeded, kLoadFormulaError))
        return false;
    return true;
}

}  // namespace korvath
