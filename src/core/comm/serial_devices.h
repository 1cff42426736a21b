#pragma once
// The serial devices of this computer as the kernel lists them in sysfs, with the maker, model
// and serial number of the USB adapters among them. Which socket an adapter is plugged into
// decides its device name (ttyUSB0 becomes ttyUSB1); its serial number does not change.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvath {

struct UsbAdapter {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string manufacturer;
    std::string product;
    std::string serial;  // empty when the adapter has none
};

struct SerialDevice {
    std::string name;  // "ttyUSB0"
    std::string path;  // "/dev/ttyUSB0"
    std::optional<UsbAdapter> usb;
    std::string byIdName;  // its name under /dev/serial/by-id; empty when udev made none
};

// The directory that stands for "/" when the serial devices are looked up: "/" unless
// KORVATH_DEVICE_ROOT names another (tests point it at a fake sysfs and /dev tree, so that they
// never meet the real devices of the machine they run on).
std::string DeviceRoot();

// path (absolute) under root: "/dev/ttyUSB0" under "/tmp/x" is "/tmp/x/dev/ttyUSB0".
std::string UnderRoot(const std::string& root, const std::string& path);

// Every tty of root/sys/class/tty that belongs to a device, by name; the placeholders the
// kernel keeps for 8250 ports without hardware (type 0) are left out.
std::vector<SerialDevice> ListSerialDevices(const std::string& root);

// What identifies an adapter wherever it is plugged in: its serial number, else its
// /dev/serial/by-id name; empty for a device that is no USB adapter or has neither.
std::string AdapterIdentity(const SerialDevice& device);

// How the user knows the adapter: "<product> <serial>" (or its by-id name).
std::string AdapterName(const SerialDevice& device);

// "<manufacturer> <product>, serial <serial>": the parts the adapter has; empty for no adapter.
std::string AdapterDescription(const UsbAdapter& usb);

}  // namespace korvath
