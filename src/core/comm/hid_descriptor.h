#pragma once
// What a HID report descriptor says about the report lengths and numbering.

#include <cstddef>
#include <vector>

namespace korvath {

struct HidReportLayout {
    bool numbered = false;          // the device uses report ids (they lead every report)
    std::size_t inputLength = 65;   // longest input report, with the report id byte
    std::size_t outputLength = 65;  // longest output report, with the report id byte
};

// Lengths from the descriptor's Report Size and Report Count items; 64-byte reports where it
// declares none.
HidReportLayout ParseHidReportDescriptor(const std::vector<unsigned char>& descriptor);

}  // namespace korvath
