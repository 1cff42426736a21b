#pragma once
// Save dialogs' filters ("PNG Picture (*.png);;SVG Drawing (*.svg)"): a name typed without an
// extension gets the one of the filter the user chose, as desktop programs do.

#include <string>
#include <string_view>

namespace korvath {

// The extension of a filter's first pattern, with its dot (".png" of "PNG Picture (*.png)");
// empty when the filter has no "*.ext" pattern.
std::string FilterExtension(std::string_view filter);

// `path` with the filter's extension added when its file name has none.
std::string WithFilterExtension(const std::string& path, std::string_view filter);

}  // namespace korvath
