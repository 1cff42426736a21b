// korvath-cli peek ADDRESS [--letter e|i|l|f] [--table 1|2] [--nvm-type N] [--port N | --device PATH]

#include "cli_command.h"
#include "cli_peek_poke.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"peek", "ADDRESS [--letter e|i|l|f] [--table 1|2] [--nvm-type N] [--port N | --device PATH]",
                       "read one controller byte (EEPROM, non-volatile or RAM) and print it as JSON", &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    return RunByteExchange(kCommand, options, args, false);
}

}  // namespace
}  // namespace korvath::cli
