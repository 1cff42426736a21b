// korvath-cli diff A B [--text] [--changed-only | --all]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_json.h"
#include "calibration/diff_in_page_words.h"

namespace korvath::cli {
namespace {

using json = nlohmann::ordered_json;

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"diff", "A B [--text] [--changed-only | --all]",
                       "what differs between two calibrations (either format), named as the settings pages and curves show "
                       "it, as JSON or lines of text; "
                       "exit status 0 equal, 1 different, 2 trouble",
                       &Run};
const CommandRegistration kRegistration{kCommand};

// diff's own exit status for "they differ" and "could not compare".
constexpr int kDiffer = 1;
constexpr int kTrouble = 2;

json ItemJson(const DiffItem& item, bool withEqual) {
    json j{{"kind", DiffKindName(item.kind)}};
    if (!item.name.empty()) j["name"] = item.name;
    if (!item.type.empty()) j["type"] = item.type;
    if (item.trace >= 0) {
        j["trace"] = item.trace;
        j["traceName"] = item.traceName;
    }
    if (item.point >= 0) j[item.kind == DiffKind::Definition ? "line" : "point"] = item.point;
    j["a"] = DiffValueJson(item.a);
    j["b"] = DiffValueJson(item.b);
    if (item.kind == DiffKind::TracePoint) {
        j["displayA"] = DiffValueJson(item.displayA);
        j["displayB"] = DiffValueJson(item.displayB);
    }
    if (!item.columnLabel.empty()) j["column"] = item.columnLabel;
    // Where the user meets it; null when no settings page shows it.
    j["page"] = item.page.empty() ? json(nullptr) : json(item.page);
    j["label"] = item.page.empty() ? json(nullptr) : json(item.label);
    j["aText"] = item.aText;
    j["bText"] = item.bText;
    if (withEqual) j["equal"] = item.equal;
    return j;
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool text = false;
    bool all = false;
    for (const auto& a : args) {
        if (a == "--text") {
            text = true;
        } else if (a == "--all") {
            all = true;
        } else if (a == "--changed-only") {
            all = false;
        } else if (a.starts_with("--")) {
            UsageError(kCommand, "unknown option " + a);
            return kTrouble;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        UsageError(kCommand, "two calibration files expected");
        return kTrouble;
    }
    CalibrationSession first(options);
    CalibrationSession second(options);
    if (!first.Open(files[0]) || !second.Open(files[1])) return kTrouble;

    const CalibrationDiff diff = CompareInPageWords(first.doc(), second.doc(), all);
    if (text) {
        std::printf("--- %s\n+++ %s\n%s", files[0].c_str(), files[1].c_str(), DiffText(diff).c_str());
    } else {
        json items = json::array();
        for (const DiffItem& item : diff.items) items.push_back(ItemJson(item, all));
        PrintJson(json{{"a", files[0]}, {"b", files[1]}, {"equal", !diff.differs}, {"items", items}});
    }
    return diff.differs ? kDiffer : kSuccess;
}

}  // namespace
}  // namespace korvath::cli
