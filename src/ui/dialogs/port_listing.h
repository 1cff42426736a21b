#pragma once
// Which COM ports this computer has. The user picks a COM number; the link opens the device
// that the number stands for (a COM<n> link in the ports folder, else the fixed rule
// COM1-32 = /dev/ttyS0-31, COM33-64 = /dev/ttyUSB0-31, COM65-96 = /dev/ttyACM0-31). The
// list therefore holds the system's serial ports that have a COM number under the fixed rule,
// and the COM<n> links of the ports folder whose device exists (pseudo-terminals, such as the
// simulator's, are reached only that way).

#include <string>
#include <vector>

#include "comm/com_ports.h"

namespace korvath::ui {

inline constexpr int kHighestComPort = 256;

struct PortListOptions {
    std::string portsDirectory;  // the folder of the COM<n> links; empty: none
    bool systemPorts = true;     // false: only the links (tests)
    std::string deviceRoot = DeviceRoot();
    ComPortSources sources() const { return {portsDirectory, deviceRoot, systemPorts}; }
};

// Ports found by opening every possible device. Only needed where the system keeps no list of
// its serial ports; this one does, so nothing is probed and the list stays empty.
bool ListPortsByProbing(std::vector<int>& numbers);

// The ports the system lists and the linked ports whose device exists, with a description that
// names the device and the USB adapter behind it, and marks a port this user may not open
// (PortDescription). Returns false when nothing could be listed (no ports folder asked for and
// the system's list switched off).
bool ListPortsBySetupLibrary(std::vector<int>& numbers, std::vector<std::string>& names,
                             const PortListOptions& options);

// One entry of the port list: its text and the COM number it stands for (0: none).
struct PortEntry {
    std::string text;
    int port = 0;
};

// "NONE <will select later>" first, then each COM number from 0 to 256 in ascending order:
// "COM%d <%s>" with the first description listed for it, else "COM%d" when it was only probed.
std::vector<PortEntry> BuildPortEntries(const std::vector<int>& probed, const std::vector<int>& numbers,
                                        const std::vector<std::string>& names);

}  // namespace korvath::ui
