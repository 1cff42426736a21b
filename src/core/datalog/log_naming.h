#pragma once
// Where logs go, what they are called, whom they belong to, and what the status bar says while
// one is recorded.

#include <cstdint>
#include <ctime>
#include <string>

namespace korvath {
class CQRNDoc;
}

namespace korvath::datalog {

// ${XDG_DATA_HOME:-~/.local/share}/korvath/logs
std::string DefaultLogDirectory();
// "drive-2026-12-10_01-30-00.csv" for that local time.
std::string DefaultLogFileName(const std::tm& localTime);
// The definition a log is recorded with: its file name and transmission type, as
// "KV4.def (KV4 Four-Speed)".
std::string DefinitionOfDocument(const CQRNDoc& doc);
// "1 row", "1234 rows".
std::string RowsText(std::uint64_t rows);
// "Data log drive-....csv: 0:01:23, 1234 rows" and ", link lost" while the link is down.
std::string LogStatusText(const std::string& fileName, std::int64_t elapsedMs, std::uint64_t rows, bool linkUp);

}  // namespace korvath::datalog
