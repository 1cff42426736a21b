#pragma once
// The COM ports of this computer as the user chooses among them: the COM<n> links of the ports
// folder first, then the system's serial devices that have a COM number under the fixed rule.
// Each comes with its device, whether that exists and may be opened by this user, and the USB
// adapter behind it.

#include <optional>
#include <string>
#include <vector>

#include "comm/serial_devices.h"

namespace korvath {

struct ComPortSources {
    std::string portsDirectory;  // the folder of the COM<n> links; empty: none
    std::string deviceRoot = "/";  // see DeviceRoot
    bool systemPorts = true;     // false: only the links
};

struct ComPort {
    int number = 0;
    std::string path;     // the device; a link's target as far as it resolves
    bool linked = false;  // a COM<n> link of the ports folder
    bool exists = false;
    bool access = false;  // this user may read and write it
    SerialDevice device;  // the system's device behind it (name empty when none is known)
};

// Links first (by number), then the system's devices (by number); COM1 to COM256 only.
std::vector<ComPort> ListComPorts(const ComPortSources& sources);

// "<adapter description> (<path>)", or the path alone, followed by ", no access" for a port
// this user may not open and ", missing" for a link whose device has gone.
std::string PortDescription(const ComPort& port);

// The identity (AdapterIdentity) of the adapter on COM number; empty when it is none.
std::string AdapterIdentityOfPort(const std::vector<ComPort>& ports, int number);

struct AdapterMove {
    int port = 0;          // where the adapter is now
    std::string adapter;   // AdapterName of it
};

// The adapter with `identity` is no longer on COM `stored` but on another listed port: that
// port. Nothing when it is still there, is not plugged in, or identity is empty.
std::optional<AdapterMove> FindMovedAdapter(const std::vector<ComPort>& ports, int stored,
                                            const std::string& identity);

}  // namespace korvath
