#include "app/options.h"

#include <cerrno>
#include <cstdlib>

namespace korvath::sim::app {
namespace {

// A C integer: decimal, 0x hexadecimal or leading-zero octal, within [0, max].
bool ParseUnsigned(const std::string& text, unsigned long max, unsigned long* out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value > max) return false;
    *out = value;
    return true;
}

bool ParseDigit(const std::string& text, int* out) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return false;
    *out = text[0] - '0';
    return true;
}

}  // namespace

std::string UsageText() {
    return "usage: korvath-sim [options]\n"
           "Serves a simulated transmission controller on a pseudo-terminal; the first line on\n"
           "standard output is \"PTY <path>\".\n"
           "\n"
           "  --link PATH              also make PATH a symlink to the pty (removed on exit)\n"
           "  --baud N                 pace both directions like an N-baud 8N1 line (0: at once, default)\n"
           "  --fault NAME[:ARG]       inject a fault (repeatable), see below\n"
           "  --stats                  print one JSON line of statistics on standard error at exit\n"
           "  --eeprom FILE            load EEPROM table #1 (at most 256 bytes); --eeprom2 for table #2\n"
           "  --flash-table FILE       load flash table #1 (at most one table page); --flash-table2 for #2\n"
           "  --save-on-exit DIR       write the memories to DIR at exit\n"
           "  --nvm eeprom|flash|flash2  memory type: RAM addresses of 2, 3 or 4 hex digits (default eeprom)\n"
           "  --product N              product id digit (default 2)\n"
           "  --hardware N             hardware version digit (default 1)\n"
           "  --firmware M.N           firmware major and minor digits (default 3.3)\n"
           "  --cal-buffer-start N     RAM address of the flash transfer buffer (default 256)\n"
           "  --cal-buffer-size N      size of the transfer buffer (default 512)\n"
           "  --cal-nvm-start N        flash address of table #1 (default 0x7000)\n"
           "  --cal-nvm-page-size N    distance of table #2 from table #1 (default 1024)\n"
           "  --flash-block-size N     flash block size (default 64)\n"
           "  --no-drive               keep the RAM variables still instead of driving\n"
           "  --exit-when-closed SECONDS  end once the port, after being opened, stays closed that long\n"
           "                           (default: keep serving until SIGINT or SIGTERM)\n"
           "  --help                   this text\n"
           "\n"
           "Faults:\n" +
           FaultHelp();
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
    Options o;
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::optional<Options>{};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) return false;
            *out = args[++i];
            return true;
        };
        std::string v;
        unsigned long n = 0;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--stats") {
            o.stats = true;
        } else if (arg == "--no-drive") {
            o.controller.drive = false;
        } else if (!value(&v)) {
            return fail(arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unexpected argument '" + arg + "'");
        } else if (arg == "--link") {
            o.link = v;
        } else if (arg == "--baud") {
            if (!ParseUnsigned(v, 10000000, &n)) return fail("--baud: '" + v + "' is not a baud rate");
            o.baud = static_cast<unsigned>(n);
        } else if (arg == "--fault") {
            std::string why;
            auto fault = ParseFault(v, &why);
            if (!fault) return fail("--fault: " + why);
            o.controller.faults.push_back(*fault);
        } else if (arg == "--eeprom" || arg == "--eeprom2") {
            o.eeprom[arg == "--eeprom2" ? 1 : 0] = v;
        } else if (arg == "--flash-table" || arg == "--flash-table2") {
            o.flash_table[arg == "--flash-table2" ? 1 : 0] = v;
        } else if (arg == "--save-on-exit") {
            o.save_on_exit = v;
        } else if (arg == "--nvm") {
            if (v == "eeprom") o.controller.memory = MemoryType::Eeprom;
            else if (v == "flash") o.controller.memory = MemoryType::Flash;
            else if (v == "flash2") o.controller.memory = MemoryType::Flash2;
            else return fail("--nvm: '" + v + "' is not eeprom, flash or flash2");
        } else if (arg == "--product") {
            if (!ParseDigit(v, &o.controller.product_id)) return fail("--product: a digit 0-9");
        } else if (arg == "--hardware") {
            if (!ParseDigit(v, &o.controller.hardware_version)) return fail("--hardware: a digit 0-9");
        } else if (arg == "--firmware") {
            auto dot = v.find('.');
            if (dot == std::string::npos || !ParseDigit(v.substr(0, dot), &o.controller.firmware_major) ||
                !ParseDigit(v.substr(dot + 1), &o.controller.firmware_minor))
                return fail("--firmware: digits M.N, for example 3.3");
        } else if (arg == "--cal-buffer-start" || arg == "--cal-buffer-size" || arg == "--cal-nvm-start" ||
                   arg == "--cal-nvm-page-size" || arg == "--flash-block-size") {
            if (!ParseUnsigned(v, 0xFFFFFF, &n)) return fail(arg + ": '" + v + "' is not a number");
            auto u = static_cast<std::uint32_t>(n);
            if (arg == "--cal-buffer-start") o.controller.cal_buffer_start = u;
            else if (arg == "--cal-buffer-size") o.controller.cal_buffer_size = u;
            else if (arg == "--cal-nvm-start") o.controller.cal_nvm_start = u;
            else if (arg == "--cal-nvm-page-size") o.controller.cal_nvm_page_size = u;
            else o.controller.flash_block_size = u;
        } else if (arg == "--exit-when-closed") {
            char* end = nullptr;
            double seconds = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !(seconds >= 0) || seconds > 1e6)
                return fail("--exit-when-closed: '" + v + "' is not a number of seconds");
            o.exit_when_closed = seconds;
        } else {
            return fail("unknown option '" + arg + "'");
        }
    }
    if (std::string why = ValidateConfig(o.controller); !why.empty()) return fail(why);
    return o;
}

}  // namespace korvath::sim::app
