#include "datalog/log_naming.h"

#include <cstdio>

#include "datalog/replay_clock.h"
#include "document/qrndoc.h"
#include "platform/user_folders.h"

namespace korvath::datalog {

std::string DefaultLogDirectory() { return UserDataDirectory() + "/logs"; }

std::string DefaultLogFileName(const std::tm& t) {
    char name[64];
    std::snprintf(name, sizeof name, "drive-%04d-%02d-%02d_%02d-%02d-%02d.csv", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return name;
}

std::string DefinitionOfDocument(const CQRNDoc& doc) {
    const auto& app = doc.calibration().application;
    std::string name = app.DefinitionFileName.empty() ? app.LogicalName : app.DefinitionFileName;
    if (!app.TransmissionType.empty()) name += " (" + app.TransmissionType + ")";
    return name;
}

std::string RowsText(std::uint64_t rows) { return std::to_string(rows) + (rows == 1 ? " row" : " rows"); }

std::string LogStatusText(const std::string& fileName, std::int64_t elapsedMs, std::uint64_t rows, bool linkUp) {
    std::string text = "Data log " + fileName + ": " + ElapsedText(elapsedMs) + ", " + RowsText(rows);
    if (!linkUp) text += ", link lost";
    return text;
}

}  // namespace korvath::datalog
