#pragma once
// A fake sysfs and /dev tree that stands for "/" (KORVATH_DEVICE_ROOT), so that tests of the
// port listing never meet the real devices of the machine they run on: a 16550 port ttyS0, a
// placeholder ttyS1 without hardware, a console tty0, and USB adapters added by AddUsbAdapter.

#include <filesystem>
#include <fstream>
#include <string>

namespace korvath::testing {

class FakeSysfs {
public:
    explicit FakeSysfs(std::string root) : root_(std::move(root)) {
        AddPlatformPort("ttyS0", "4");
        AddPlatformPort("ttyS1", "0");
        std::filesystem::create_directories(root_ + "/sys/class/tty/tty0");
    }

    const std::string& root() const { return root_; }

    // A USB serial adapter on tty (ttyUSB<n> or ttyACM<n>); an empty serial leaves the
    // attribute out, as adapters without one do. byId: its /dev/serial/by-id name, or none.
    void AddUsbAdapter(const std::string& tty, const std::string& usbPath, const std::string& vendor,
                       const std::string& product, const std::string& manufacturer, const std::string& productName,
                       const std::string& serial, const std::string& byId = {}) {
        const std::string device = root_ + "/sys/devices/pci0000:00/usb1/" + usbPath;
        Put(device + "/idVendor", vendor);
        Put(device + "/idProduct", product);
        Put(device + "/manufacturer", manufacturer);
        Put(device + "/product", productName);
        if (!serial.empty()) Put(device + "/serial", serial);
        const std::string port = device + "/" + usbPath + ":1.0/" + tty;
        std::filesystem::create_directories(port);
        Link(root_ + "/sys/class/tty/" + tty, port);
        Put(root_ + "/dev/" + tty, "");
        if (!byId.empty()) {
            std::filesystem::create_directories(root_ + "/dev/serial/by-id");
            std::filesystem::create_symlink("../../" + tty, root_ + "/dev/serial/by-id/" + byId);
        }
    }

    // The adapter was unplugged: its tty and device node are gone.
    void Remove(const std::string& tty) {
        std::filesystem::remove_all(root_ + "/sys/class/tty/" + tty);
        std::filesystem::remove(root_ + "/dev/" + tty);
    }

private:
    static void Put(const std::string& file, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << text << (text.empty() ? "" : "\n");
    }
    // root/sys/class/tty/<tty>/device -> the device's folder, as the kernel links it.
    void Link(const std::string& classDir, const std::string& deviceDir) {
        std::filesystem::create_directories(classDir);
        std::filesystem::create_symlink(deviceDir, classDir + "/device");
    }
    void AddPlatformPort(const std::string& tty, const std::string& type) {
        const std::string device = root_ + "/sys/devices/pnp0/00:0" + tty.substr(4);
        std::filesystem::create_directories(device);
        Link(root_ + "/sys/class/tty/" + tty, device);
        Put(root_ + "/sys/class/tty/" + tty + "/type", type);
        Put(root_ + "/dev/" + tty, "");
    }

    std::string root_;
};

}  // namespace korvath::testing
