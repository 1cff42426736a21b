#pragma once
// Turning the picture data of an RTF file into files an image reader understands: a device-
// independent bitmap gets the BMP file header it lacks, and a Windows metafile gives up the
// bitmap it carries (the only metafile content the viewer shows).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvath::richtext {

// A BMP file for a packed DIB (info header, colour table, pixels); none when the header is
// not a DIB header or claims more than the data holds.
std::optional<std::vector<std::uint8_t>> BmpFromDib(std::span<const std::uint8_t> dib);

// The largest DIB drawn by a bitmap record of a metafile (with or without its placeable
// header); none when the metafile holds no bitmap.
std::optional<std::vector<std::uint8_t>> DibFromMetafile(std::span<const std::uint8_t> wmf);

}  // namespace korvath::richtext
