#pragma once
// The controller link for korvath-cli subcommands: the --port N / --device PATH options, the
// transport they choose, and a stand-in for the document on the monitor's other side.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli_host.h"
#include "comm/serialport.h"
#include "comm/vuz_monitor.h"
#include "platform/settings_store.h"

namespace korvath::cli {

inline constexpr char kLinkOptionsUsage[] = "[--port N | --device PATH]";

struct LinkOptions {
    int port = 0;        // --port N: this COM number instead of the stored one
    std::string device;  // --device PATH: this tty, bypassing the COM number and USB
};

// Takes --port and --device out of args. False (with why) on a bad or doubled option.
bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& link, std::string& why);

// The byte transport the options choose: USB first, then the COM port, unless a device is named.
// It carries the trace of --trace, and says on standard error when the remembered adapter is
// found under another COM number.
std::unique_ptr<CSerialPort> MakeTransport(const LinkOptions& link, SettingsStore& settings);

// The trace every transport made from now on writes to (--trace FILE); null: none.
void SetCommandTrace(LinkTrace* trace);

// Prints why the monitor's link did not open, as "[korvath-cli <command>] <why>" on standard
// error; nothing when it opened. Every subcommand with a link says it this way.
bool ReportOpenFailure(const CTCS_Monitor* monitor, const std::string& command);

// Parses a C integer (decimal, 0x hexadecimal, leading-zero octal) that fills the whole text.
bool ParseCInteger(const std::string& text, long& value);

}  // namespace korvath::cli
