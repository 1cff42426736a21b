// korvath-cli poke ADDRESS VALUE [--letter e|i|l|f] [--table 1|2] [--nvm-type N] [--port N | --device PATH]

#include "cli_command.h"
#include "cli_peek_poke.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"poke", "ADDRESS VALUE [--letter e|i|l|f] [--table 1|2] [--nvm-type N] [--port N | --device PATH]",
                       "store one controller byte (verified for EEPROM and non-volatile bytes) and print it as JSON",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    return RunByteExchange(kCommand, options, args, true);
}

}  // namespace
}  // namespace korvath::cli
