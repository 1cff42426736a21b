// korvath-cli definitions [DIR]

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_host.h"
#include "document/definition_listing.h"
#include "document/definition_reader.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"definitions", "[DIR]",
                       "list the definition files of DIR (default: the definition directory of the remembered "
                       "controller) by identity, in the order the transmission-type page lists them",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions&, const std::vector<std::string>& args) {
    if (args.size() > 1 || (args.size() == 1 && args[0].starts_with("--")))
        return UsageError(kCommand, "at most one directory expected");
    std::string directory;
    if (args.empty()) {
        auto settings = OpenSettings();
        directory = ProfileDefinitionDirectory(ProgramDirectory(), *settings);
    } else {
        directory = args[0];
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    // The page keeps the texts as the file aligns them; a script wants the names themselves.
    for (const auto& c : ListDefinitionFiles(directory))
        list.push_back({{"fileName", c.fileName},
                        {"logicalName", TrimText(c.logicalName)},
                        {"transmissionType", TrimText(c.transmissionType)},
                        {"description", TrimText(c.description)}});
    nlohmann::ordered_json out{{"directory", directory}, {"definitions", list}};
    std::printf("%s\n", out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
