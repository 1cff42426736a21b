#pragma once
// Which device a COM port number stands for on this system.

#include <string>

namespace korvath {

// "<directory of the settings file>/ports": users and the simulator put COM<n> links there.
std::string PortsDirectoryFor(const std::string& settingsPath);

// The device of COM n: the link portsDirectory/COM<n> when it exists, else COM1-32 ->
// /dev/ttyS0-31, COM33-64 -> /dev/ttyUSB0-31, COM65-96 -> /dev/ttyACM0-31; empty for other numbers.
std::string ComPortDevice(int port, const std::string& portsDirectory);

// The n of a ports-folder link named "COM<n>" (exactly that spelling); -1 for other names.
int ComLinkNumber(const std::string& fileName);

// The COM number of a device under the fixed rule; 0 when the device has none.
int ComNumberForDevice(const std::string& devicePath);

}  // namespace korvath
