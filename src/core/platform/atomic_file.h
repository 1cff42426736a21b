#pragma once
#include <string>
#include <string_view>

namespace korvath {

// Writes a temporary file beside `path` and renames it over `path`, so a failure at any
// point leaves the previous file as it was. Returns false (and removes the temporary)
// when anything fails.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace korvath
