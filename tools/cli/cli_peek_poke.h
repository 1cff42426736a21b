#pragma once
// The single byte exchanges of peek and poke.

#include <string>
#include <vector>

#include "cli_command.h"

namespace korvath::cli {

// store false: read one byte (peek); true: store one (poke).
int RunByteExchange(const Command& command, const GlobalOptions& options, const std::vector<std::string>& args,
                    bool store);

}  // namespace korvath::cli
