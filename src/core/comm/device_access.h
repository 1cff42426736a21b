#pragma once
// Why this user may not open a serial device, and how to mend it: on Linux a serial device
// belongs to a group (dialout on Debian), and only its members may open it.

#include <string>

namespace korvath {

struct DeviceOwnership {
    bool known = false;           // the device could be looked at
    std::string path;
    std::string owner;            // user name (or number)
    std::string group;            // group name (or number)
    bool groupMayReadWrite = false;
    bool userListedInGroup = false;   // the group database names this user as a member
    bool sessionHasGroup = false;     // this process already runs with the group
};

// Looks at path (links followed; path names the device itself) and at the groups of the user running this program.
DeviceOwnership OwnershipOf(const std::string& path);

// The advice that follows the refused open: join the device's group (the usermod command),
// log in again when joined but not yet in this session, or, when the group may not use the
// device either, who may. Empty when nothing is known about the device.
std::string PermissionAdvice(const DeviceOwnership& ownership);

}  // namespace korvath
