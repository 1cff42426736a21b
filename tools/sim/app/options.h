#pragma once
// Command line of korvath-sim.

#include <optional>
#include <string>
#include <vector>

#include "engine/controller.h"

namespace korvath::sim::app {

struct Options {
    ControllerConfig controller;
    std::string link;            // --link PATH: symlink to the pty, removed on exit
    unsigned baud = 0;           // --baud N: pace both directions like a serial line; 0 answers at once
    bool stats = false;          // --stats: one JSON line on standard error at exit
    std::string eeprom[2];       // --eeprom FILE, --eeprom2 FILE
    std::string flash_table[2];  // --flash-table FILE, --flash-table2 FILE
    std::string save_on_exit;    // --save-on-exit DIR
    double exit_when_closed = 0; // --exit-when-closed SECONDS: 0 = keep serving
    bool help = false;
};

// Parses argv[1..]. On a usage error returns nothing with the reason in *error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

std::string UsageText();

}  // namespace korvath::sim::app
