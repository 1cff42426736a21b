#pragma once
// One CSV field as spreadsheets read it: quoted when it holds a comma, a quote, a line break or
// edge spaces (which spreadsheets would otherwise trim), quotes doubled.

#include <string>
#include <string_view>

namespace korvath {

void AppendCsvField(std::string& out, std::string_view field);

}  // namespace korvath
