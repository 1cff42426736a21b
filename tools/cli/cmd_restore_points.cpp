// korvath-cli restore-points [--json]

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calibration/restore_points.h"
#include "cli_command.h"
#include "cli_json.h"
#include "document/restore_point_sink.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"restore-points", "[--json]",
                       "list the restore points that reads and writes kept, newest first (korvath-cli restore ID "
                       "writes one back)",
                       &Run};
const CommandRegistration kRegistration{kCommand};

nlohmann::ordered_json PointJson(const RestorePointInfo& p) {
    nlohmann::ordered_json controller{{"deviceType", p.controller.deviceType},
                                      {"hardwareVersion", p.controller.hardwareVersion},
                                      {"firmwareVersion", p.controller.firmwareVersion},
                                      {"firmwareVersionMinor", p.controller.firmwareVersionMinor}};
    return {{"id", p.id},
            {"path", p.path},
            {"time", p.time},
            {"reason", std::string(RestoreReasonKey(p.reason))},
            {"table", p.table},
            {"controller", controller},
            {"definition", p.definition},
            {"complete", p.complete()}};
}

int Run(const GlobalOptions&, const std::vector<std::string>& args) {
    const bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) return UsageError(kCommand, "only --json may be given");
    const RestorePointStore store;
    const std::vector<RestorePointInfo> points = store.List();
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const auto& p : points) list.push_back(PointJson(p));
        PrintJson(list);
        return kSuccess;
    }
    if (points.empty()) std::printf("no restore points in %s\n", store.directory().c_str());
    for (const auto& p : points) {
        std::printf("%s  %s  controller %d/%d/%d.%d  table %d  %s  %s  %s%s\n", p.id.c_str(), p.time.c_str(),
                    p.controller.deviceType, p.controller.hardwareVersion, p.controller.firmwareVersion,
                    p.controller.firmwareVersionMinor, p.table, std::string(RestoreReasonKey(p.reason)).c_str(),
                    p.definition.c_str(), p.transmission.c_str(), p.complete() ? "" : "  (incomplete)");
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
