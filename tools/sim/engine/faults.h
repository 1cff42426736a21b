#pragma once
// Faults the simulated controller can be told to show, so that the tool's error paths can be
// exercised: "--fault NAME[:ARG]" on the command line, FaultSpec in-process.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvath::sim {

enum class FaultKind {
    BadEcho,       // bad-echo[:N]       the next N command letters (default 1) are echoed as 'x'
    LowercaseHex,  // lowercase-hex      value digits are sent in lower case
    SilentAfter,   // silent-after:N     nothing is sent any more once N bytes have been received
    DropByte,      // drop-byte:N        the N-th byte to be sent (counting from 1) is not sent
    DelayMs,       // delay-ms:N         every byte goes out N ms later than it would
    BadChecksum,   // bad-checksum[:N]   the next N block packets (default all) fail their checksum
    BurnFail,      // burn-fail:BLOCK    a burn that covers flash block BLOCK fails verification there
    NoConfirm,     // no-confirm[:N]     the next N 'c' confirmations (default all) are withheld
    UnplugAfter,   // unplug-after:N     the controller is unplugged once N bytes have been received
};

struct FaultSpec {
    FaultKind kind;
    // The argument; for the kinds whose argument is a count and optional, kEvery means "always".
    std::uint64_t arg = 0;

    static constexpr std::uint64_t kEvery = UINT64_MAX;
};

// Parses "NAME[:ARG]". On failure returns nothing and puts the reason in *error.
std::optional<FaultSpec> ParseFault(std::string_view text, std::string* error);

// The name of a fault kind as written on the command line ("bad-echo", ...).
const char* FaultName(FaultKind kind);

// One line per fault: "  name[:ARG]   what it does", for --help.
std::string FaultHelp();

}  // namespace korvath::sim
