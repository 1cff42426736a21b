// korvath-cli dump-ram [--port N | --device PATH]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_link.h"
#include "document/diagnostics.h"
#include "document/qrndoc.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"dump-ram", kLinkOptionsUsage,
                       "write the controller's first 256 RAM bytes to RAMDump.txt (in the program directory when "
                       "it is writable, else in ${XDG_DATA_HOME:-~/.local/share}/korvath) and print the file's path",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(kCommand, why);
    if (!rest.empty()) return UsageError(kCommand, "unexpected argument " + rest.front());

    TerminalHost terminal(options.verbose);
    auto settings = OpenSettings();
    CQRNDoc doc(DocumentHost{terminal, terminal, *settings}, ProgramDirectory(), MakeTransport(link, *settings));
    ReportOpenFailure(doc.monitor(), options.command);
    // Identifying first points the document at the connected controller's generic definition,
    // whose memory type sets the RAM address width of the reads.
    doc.IdentifyController(0, 1);
    const RamDumpResult result = doc.DumpControllerRam();
    if (result == RamDumpResult::FileFailed) return kFailure;  // the message names the file and why
    if (result != RamDumpResult::Written) {
        std::fprintf(stderr, "korvath-cli dump-ram: the controller RAM could not be read completely into %s\n",
                     doc.RamDumpPath().c_str());
        return kFailure;
    }
    std::printf("%s\n", doc.RamDumpPath().c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
