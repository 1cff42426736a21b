#pragma once
#include <string>
#include <string_view>

namespace korvath {

// Writes a temporary file beside `path` and renames it over `path`, so a failure at any
// point leaves the previous file as it was. A symbolic link is followed: the file it names is
// replaced and the link stays. A replaced file keeps its mode; a read-only file is refused.
// Returns false (and removes the temporary) when anything fails, with the reason in *why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* why = nullptr);

}  // namespace korvath
