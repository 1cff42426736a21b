#include "comm/serial_devices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace korvath {
namespace {

namespace fs = std::filesystem;

// The first line of a sysfs attribute, without its line end; empty when it cannot be read.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::uint16_t HexAttribute(const fs::path& file) {
    const std::string text = Attribute(file);
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (text.empty() || *end != '\0' || value > 0xFFFF) return 0;
    return static_cast<std::uint16_t>(value);
}

// The USB device above a tty's device: the first ancestor that has a vendor id. The walk stops
// at the sysfs root, so a tree that is not USB ends with nothing.
std::optional<UsbAdapter> UsbAdapterAbove(const fs::path& deviceDir, const fs::path& sysRoot) {
    std::error_code ec;
    fs::path at = fs::canonical(deviceDir, ec);
    if (ec) return std::nullopt;
    const std::string limit = fs::canonical(sysRoot, ec).string();
    if (ec) return std::nullopt;
    for (; at.string().size() > limit.size() && at.has_parent_path(); at = at.parent_path()) {
        if (!fs::exists(at / "idVendor", ec)) continue;
        UsbAdapter usb;
        usb.vendorId = HexAttribute(at / "idVendor");
        usb.productId = HexAttribute(at / "idProduct");
        usb.manufacturer = Attribute(at / "manufacturer");
        usb.product = Attribute(at / "product");
        usb.serial = Attribute(at / "serial");
        return usb;
    }
    return std::nullopt;
}

// tty name -> its /dev/serial/by-id link name.
std::map<std::string, std::string> ByIdNames(const fs::path& byIdDir) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(byIdDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        const fs::path target = fs::read_symlink(it->path(), ec2);
        if (!ec2) names.emplace(target.filename().string(), it->path().filename().string());
    }
    return names;
}

}  // namespace

std::string DeviceRoot() {
    const char* root = std::getenv("KORVATH_DEVICE_ROOT");
    return root && *root ? root : "/";
}

std::string UnderRoot(const std::string& root, const std::string& path) {
    if (root.empty() || root == "/") return path;
    return (fs::path(root) / fs::path(path).relative_path()).string();
}

std::vector<SerialDevice> ListSerialDevices(const std::string& root) {
    const fs::path sysRoot = UnderRoot(root, "/sys");
    const auto byId = ByIdNames(UnderRoot(root, "/dev/serial/by-id"));
    std::vector<SerialDevice> devices;
    std::error_code ec;
    for (fs::directory_iterator it(sysRoot / "class" / "tty", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        // Consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(it->path() / "device", ec2)) continue;
        if (fs::exists(it->path() / "type", ec2) && Attribute(it->path() / "type") == "0") continue;
        SerialDevice device;
        device.name = it->path().filename().string();
        device.path = "/dev/" + device.name;
        device.usb = UsbAdapterAbove(it->path() / "device", sysRoot);
        if (const auto found = byId.find(device.name); found != byId.end()) device.byIdName = found->second;
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.name < b.name; });
    return devices;
}

std::string AdapterIdentity(const SerialDevice& device) {
    if (device.usb && !device.usb->serial.empty()) return device.usb->serial;
    return device.byIdName;
}

std::string AdapterName(const SerialDevice& device) {
    if (device.usb && !device.usb->serial.empty()) {
        std::string name = device.usb->product.empty() ? std::string("USB adapter") : device.usb->product;
        return name + " " + device.usb->serial;
    }
    return device.byIdName;
}

std::string AdapterDescription(const UsbAdapter& usb) {
    std::string text = usb.manufacturer;
    if (!usb.product.empty()) text += (text.empty() ? "" : " ") + usb.product;
    if (!usb.serial.empty()) text += (text.empty() ? "serial " : ", serial ") + usb.serial;
    return text;
}

}  // namespace korvath
