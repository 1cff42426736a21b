#pragma once
// Reads a rich-text (RTF) help file into a RichDocument. The files come from definition
// packages and are untrusted: malformed input yields what could be read, never a crash, a
// hang or a read past the end, and the result stays proportional to the input's size.

#include <string_view>

#include "richtext/rich_text.h"

namespace korvath::richtext {

// Groups nested deeper than this are skipped with everything inside them.
inline constexpr int kMaxRtfGroupDepth = 256;

// Input that does not start with "{\rtf" is taken as plain text, one paragraph a line.
RichDocument ReadRtf(std::string_view input);

}  // namespace korvath::richtext
