#pragma once
// The single-byte code pages that \ansicpg and \'hh refer to.

#include <cstdint>

namespace korvath::richtext {

// The Unicode character for a byte of the code page. Windows-1252 is the default; code pages
// this reader does not know are read as 1252 (their ASCII half is the same).
char32_t DecodeCodePageByte(int codePage, std::uint8_t byte);

}  // namespace korvath::richtext
