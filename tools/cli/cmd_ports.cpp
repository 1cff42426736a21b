// korvath-cli ports [--json]

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_json.h"
#include "comm/com_ports.h"
#include "comm/port_names.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"ports", "[--json]",
                       "list the COM ports: the settings folder's ports/ links first, then the serial devices, "
                       "with the USB adapter behind each and whether you may open it",
                       &Run};
const CommandRegistration kRegistration{kCommand};

char HexDigit(unsigned value) { return "0123456789abcdef"[value & 0x0F]; }

std::string Hex4(std::uint16_t value) {
    return {HexDigit(value >> 12u), HexDigit(value >> 8u), HexDigit(value >> 4u), HexDigit(value)};
}

nlohmann::ordered_json PortJson(const ComPort& port) {
    nlohmann::ordered_json usb = nullptr;
    if (port.device.usb) {
        const UsbAdapter& a = *port.device.usb;
        usb = {{"vendorId", Hex4(a.vendorId)},
               {"productId", Hex4(a.productId)},
               {"manufacturer", a.manufacturer},
               {"product", a.product},
               {"serial", a.serial}};
    }
    return {{"name", "COM" + std::to_string(port.number)},
            {"path", port.path},
            {"exists", port.exists},
            {"access", port.access},
            {"usb", usb}};
}

int Run(const GlobalOptions&, const std::vector<std::string>& args) {
    const bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) return UsageError(kCommand, "only --json may be given");
    ComPortSources sources;
    sources.portsDirectory = PortsDirectoryFor(SettingsPathForExecutable(ExecutablePath()));
    sources.deviceRoot = DeviceRoot();
    const std::vector<ComPort> ports = ListComPorts(sources);
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const ComPort& port : ports) list.push_back(PortJson(port));
        PrintJson(list);
        return kSuccess;
    }
    if (ports.empty()) std::printf("no serial ports (and no links in %s)\n", sources.portsDirectory.c_str());
    for (const ComPort& port : ports) {
        const std::string name = "COM" + std::to_string(port.number);
        std::printf("%-6s %s%s\n", name.c_str(), PortDescription(port).c_str(), port.linked ? "  [link]" : "");
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
