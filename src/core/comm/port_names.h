#pragma once
// Which device a COM port number stands for on this system.

#include <string>

namespace korvath {

// "<directory of the settings file>/ports": users and the simulator put COM<n> links there.
std::string PortsDirectoryFor(const std::string& settingsPath);

// The device of COM n: the link portsDirectory/COM<n> when it exists, else COM1-32 ->
// /dev/ttyS0-31, COM33-64 -> /dev/ttyUSB0-31, COM65-96 -> /dev/ttyACM0-31; empty for other numbers.
std::string ComPortDevice(int port, const std::string& portsDirectory);

}  // namespace korvath
