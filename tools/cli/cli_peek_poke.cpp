#include "cli_peek_poke.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli_calibration.h"
#include "cli_link.h"
#include "comm/ram_names.h"

namespace korvath::cli {
namespace {

// The monitor's error texts end in a line feed of their own.
void PrintErrorText(const std::string& text) {
    std::fprintf(stderr, "%s", text.c_str());
    if (text.empty() || text.back() != '\n') std::fprintf(stderr, "\n");
}

}  // namespace

int RunByteExchange(const Command& command, const GlobalOptions& options, const std::vector<std::string>& args,
                    bool store) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(command, why);

    char letter = 'e';
    long nvmType = 0;
    long table = 1;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--letter" && i + 1 < rest.size()) {
            const std::string& v = rest[++i];
            if (v.size() != 1 || std::string("eilf").find(v[0]) == std::string::npos)
                return UsageError(command, "--letter takes e, i, l or f");
            letter = v[0];
        } else if (a == "--nvm-type" && i + 1 < rest.size()) {
            if (!ParseCInteger(rest[++i], nvmType)) return UsageError(command, "--nvm-type takes a number");
        } else if (a == "--table" && i + 1 < rest.size()) {
            if (!ParseCInteger(rest[++i], table) || table < 1 || table > 2)
                return UsageError(command, "--table takes 1 or 2");
        } else if (a.starts_with("--")) {
            return UsageError(command, "unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    const std::size_t wanted = store ? 2 : 1;
    if (positional.size() != wanted) return UsageError(command, store ? "ADDRESS and VALUE needed" : "ADDRESS needed");
    long address = 0, value = CTCS_Monitor::kNoValue;
    if (!ParseCInteger(positional[0], address) || address < 0 || address > 0xFFFF)
        return UsageError(command, "ADDRESS must be a number from 0 to 0xFFFF");
    if (store && (!ParseCInteger(positional[1], value) || value < 0 || value > 255))
        return UsageError(command, "VALUE must be a number from 0 to 255");

    CalibrationSession session(options, &link);
    CTCS_Monitor& monitor = *session.doc().monitor();
    // As before every transfer: the controller is identified first, which marks the link
    // connected; without that the non-volatile commands refuse to send anything. The memory
    // type asked for wins over the one of the definition the identification may load.
    session.doc().IdentifyController(0, 1);
    monitor.set_NVM_type(static_cast<std::int32_t>(nvmType));

    std::string errorText;
    bool ok = false;
    std::int32_t shown = 0;
    const bool eeprom = letter == 'e' || letter == 'i';
    // EEPROM bytes: writing is enabled first (the controller ignores stores otherwise), then
    // the table's page is selected through RAM 68, as a calibration transfer does.
    if (eeprom && store && !monitor.enable_EEPROM_write()) return kFailure;
    if (eeprom) {
        std::int32_t page = static_cast<std::int32_t>(table - 1);
        if (!monitor.access_RAM('f', kRamEepromPage, page, errorText)) {
            PrintErrorText(errorText);
            return kFailure;
        }
    }
    if (letter == 'f') {
        std::int32_t v = store ? static_cast<std::int32_t>(value) : CTCS_Monitor::kNoValue;
        ok = monitor.access_RAM('f', static_cast<std::int32_t>(address), v, errorText);
        shown = store ? static_cast<std::int32_t>(value) : v;
    } else if (store) {
        ok = monitor.write_NVM(letter, static_cast<std::int32_t>(address), static_cast<std::int32_t>(value), errorText);
        shown = static_cast<std::int32_t>(value);
    } else {
        std::uint16_t v = 0;
        ok = monitor.read_NVM(letter, static_cast<std::int32_t>(address), v, errorText);
        shown = v;
    }
    if (eeprom && store) monitor.disable_EEPROM_write();
    if (!ok) {
        PrintErrorText(errorText);
        return kFailure;
    }
    nlohmann::ordered_json out{{"letter", std::string(1, letter)}, {"address", address}, {"value", shown}};
    std::printf("%s\n", out.dump().c_str());
    return kSuccess;
}

}  // namespace korvath::cli
