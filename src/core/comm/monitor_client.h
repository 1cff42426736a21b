#pragma once
// What the controller link needs from the document that owns it. The document implements this
// interface; comm/ never sees the document itself.

#include <string_view>

namespace korvath {

class MonitorClient {
public:
    virtual ~MonitorClient() = default;

    // Modal message box (styles and results of platform/message_style.h).
    virtual int ShowMessage(std::string_view text, std::string_view caption, unsigned style) = 0;

    // Called by CTCS_Monitor::set_connected on every change of the connected flag.
    virtual void ShowConnectionStatus(int connected) = 0;

    // Asks the controller for its versions (through CTCS_Monitor::query_versions), re-targets the
    // calibration when they changed, and marks the link connected on success. The link timer
    // calls it while the link is lost and while no live-data items are registered.
    virtual bool IdentifyController(int declarationsMode, int notify) = 0;
};

}  // namespace korvath
