#pragma once
// How a trace converts between its stored points, the raw bytes of its controller table and
// the values shown to the user. Filled from the trace's "GraphElement" block each time the
// graphical tuning bar is built; only the conversion tables are saved with the calibration.

#include <array>
#include <cstdint>
#include <string>

namespace korvath {

namespace TraceFormula {
inline constexpr int StoreToInt = 0;  // store value (X) -> raw byte
inline constexpr int IntToStore = 1;  // raw byte (X) -> store value
inline constexpr int DispToInt = 2;   // display value (X) -> raw byte
inline constexpr int IntToDisp = 3;   // raw byte (X) -> display value
inline constexpr int Proxy = 4;       // display value (X) -> raw byte while the proxy is active
inline constexpr int PadEnable = 5;   // per-point offset rule "enable:table:variable i j k"
inline constexpr int Count = 7;
}  // namespace TraceFormula

namespace TraceModes {
inline constexpr std::int32_t None = 0;
inline constexpr std::int32_t Formulas = 1;
inline constexpr std::int32_t Direct = 2;  // raw byte = value (3 is the same)
}  // namespace TraceModes

struct TraceBinding {
    std::int32_t TraceMode = 0;
    std::int32_t ProxyActive = 0;
    std::array<std::string, TraceFormula::Count> formulas;
};

// One entry of a trace's conversion table as the calibration file keeps it.
struct ConversionEntry {
    float display = 0;
    std::int32_t raw = 0;
};
inline constexpr int kConversionEntries = 20;

}  // namespace korvath
