#include "comm/com_ports.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "comm/port_names.h"

namespace korvath {
namespace {

namespace fs = std::filesystem;

constexpr int kHighestComNumber = 256;

bool MayReadAndWrite(const std::string& path) { return ::access(path.c_str(), R_OK | W_OK) == 0; }

// The system's device that a link leads to, by its canonical path.
SerialDevice DeviceAt(const std::vector<SerialDevice>& devices, const std::string& canonical,
                      const std::string& root) {
    for (const SerialDevice& device : devices) {
        std::error_code ec;
        const fs::path real = fs::canonical(UnderRoot(root, device.path), ec);
        if ((!ec && real.string() == canonical) || device.path == canonical) return device;
    }
    return {};
}

}  // namespace

std::vector<ComPort> ListComPorts(const ComPortSources& sources) {
    const std::vector<SerialDevice> devices =
        sources.systemPorts ? ListSerialDevices(sources.deviceRoot) : std::vector<SerialDevice>{};
    std::map<int, ComPort> linked;
    if (!sources.portsDirectory.empty()) {
        std::error_code ec;
        for (fs::directory_iterator it(sources.portsDirectory, ec), end; !ec && it != end; it.increment(ec)) {
            const int n = ComLinkNumber(it->path().filename().string());
            if (n < 1 || n > kHighestComNumber) continue;
            ComPort port;
            port.number = n;
            port.linked = true;
            std::error_code ec2;
            const fs::path device = fs::canonical(it->path(), ec2);
            if (ec2) {
                // A link whose device has gone (a simulator that ended): its target as written.
                port.path = fs::read_symlink(it->path(), ec2).string();
            } else {
                port.path = device.string();
                port.exists = true;
                port.access = MayReadAndWrite(port.path);
                port.device = DeviceAt(devices, port.path, sources.deviceRoot);
            }
            linked[n] = std::move(port);
        }
    }
    std::vector<ComPort> ports;
    for (auto& [n, port] : linked) ports.push_back(std::move(port));
    std::vector<ComPort> system;
    for (const SerialDevice& device : devices) {
        const int n = ComNumberForDevice(device.path);
        if (n == 0) continue;
        ComPort port;
        port.number = n;
        port.path = device.path;
        const std::string node = UnderRoot(sources.deviceRoot, device.path);
        std::error_code ec;
        port.exists = fs::exists(node, ec);
        port.access = port.exists && MayReadAndWrite(node);
        port.device = device;
        system.push_back(std::move(port));
    }
    std::stable_sort(system.begin(), system.end(), [](const ComPort& a, const ComPort& b) { return a.number < b.number; });
    for (ComPort& port : system) ports.push_back(std::move(port));
    return ports;
}

std::string PortDescription(const ComPort& port) {
    const std::string adapter = port.device.usb ? AdapterDescription(*port.device.usb) : std::string();
    std::string text = adapter.empty() ? port.path : adapter + " (" + port.path + ")";
    if (!port.exists) return text + ", missing";
    if (!port.access) text += ", no access";
    return text;
}

std::string AdapterIdentityOfPort(const std::vector<ComPort>& ports, int number) {
    for (const ComPort& port : ports)
        if (port.number == number && port.exists) return AdapterIdentity(port.device);
    return {};
}

std::optional<AdapterMove> FindMovedAdapter(const std::vector<ComPort>& ports, int stored,
                                            const std::string& identity) {
    if (identity.empty()) return std::nullopt;
    if (AdapterIdentityOfPort(ports, stored) == identity) return std::nullopt;
    for (const ComPort& port : ports)
        if (port.exists && port.number != stored && AdapterIdentity(port.device) == identity)
            return AdapterMove{port.number, AdapterName(port.device)};
    return std::nullopt;
}

}  // namespace korvath
