// korvath-cli identify [--port N | --device PATH]

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
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

    TerminalHost terminal(options.verbose);
    auto settings = OpenSettings();
    CliMonitorClient client(terminal, VersionsFromSettings(*settings));
    auto transport = MakeTransport(link, *settings);
    CSerialPort* port = transport.get();
    CTCS_Monitor monitor(std::move(transport), nullptr);
    monitor.set_document(&client);
    client.Attach(&monitor);

    if (!client.IdentifyController(0, 1)) {
        if (!port->last_open_error().empty())
            std::fprintf(stderr, "%s\n", MessageLine(port->last_open_error(), "korvath-cli identify").c_str());
        std::fprintf(stderr, "korvath-cli identify: no controller answered\n");
        return kFailure;
    }
    const ControllerVersions& v = client.versions();
    nlohmann::ordered_json out{{"flags", client.last_flags()},
                               {"productId", v.productId},
                               {"hardwareVersion", v.hardwareVersion},
                               {"firmwareMajor", v.firmwareMajor},
                               {"firmwareMinor", v.firmwareMinor}};
    std::printf("%s\n", out.dump().c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
