// korvath-cli identify [--port N | --device PATH]

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_calibration.h"
#include "cli_host.h"
#include "cli_link.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"identify", kLinkOptionsUsage,
                       "ask the connected controller for its versions and print them as JSON (exit 1 when none answers)",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(kCommand, why);
    if (!rest.empty()) return UsageError(kCommand, "unexpected argument " + rest.front());

    // A new calibration holds the controller last identified on this computer; the query
    // compares the answer with it.
    CalibrationSession session(options, &link);
    CQRNDoc& doc = session.doc();
    const HardwareBlock& hw = doc.calibration().hardware;
    auto product = static_cast<std::uint16_t>(hw.Get(HardwareField::DeviceType));
    auto hardware = static_cast<std::uint16_t>(hw.Get(HardwareField::HardwareVersion));
    auto major = static_cast<std::uint16_t>(hw.Get(HardwareField::FirmwareVersion));
    auto minor = static_cast<std::uint16_t>(hw.Get(HardwareField::FirmwareVersionMinor));
    const std::int32_t flags = doc.monitor()->query_versions(&product, &hardware, &major, &minor);
    if (flags == 0) {
        std::fprintf(stderr, "korvath-cli identify: no controller answered\n");
        return kFailure;
    }
    nlohmann::ordered_json out{{"flags", flags},
                               {"productId", product},
                               {"hardwareVersion", hardware},
                               {"firmwareMajor", major},
                               {"firmwareMinor", minor}};
    std::printf("%s\n", out.dump().c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
