#include "comm/ram_names.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "comm/vuz_monitor.h"

namespace korvath {
namespace {

constexpr std::array<RamName, 78> kRamNames{{
    {"AUXOCTL", 32},   {"CCTIMER", 33},   {"CAPT_NEW_H", 36}, {"CAPT_NEW_L", 37}, {"CAPT_OLD_H", 38},
    {"CAPT_OLD_L", 39}, {"TPS", 44},      {"TPSPTR", 45},     {"SSCHED", 46},     {"GEAR", 47},
    {"OLDGEAR", 48},   {"VSS_NEW_H", 49}, {"VSS_NEW_L", 50},  {"VSS_OLD_H", 51},  {"VSS_OLD_L", 52},
    {"ERRFLAG", 53},   {"CCLUTCH", 54},   {"SPFUNCT", 55},    {"VSTOP", 56},      {"CGEAR", 57},
    {"GEARCK", 58},    {"ORFLAG", 67},    {"MEHIADR", 68},    {"EEHIADR", 69},    {"DREFRESH", 81},
    {"VSSFRQ", 82},    {"BASETPS", 95},   {"VSSCCON", 96},    {"VSSCCOFF", 97},   {"MNTCCON", 98},
    {"MNTCCOFF", 99},  {"MXTCCON", 100},  {"MXTCCOFF", 101},  {"MNTCCOR", 102},   {"MAN21TH", 103},
    {"MAN12TH", 104},  {"SYCONFIG", 105}, {"MLPSADJ", 106},   {"FTDSTEPR", 107},  {"PTDSTEPR", 108},
    {"UPSTEPRT", 109}, {"MNCCGEAR", 110}, {"SYCNFIG1", 111},  {"CCCOLDLO", 112},  {"SYCNFIG2", 113},
    {"SYCNFIG3", 114}, {"DSCTL_TH", 115}, {"HEDFON", 116},    {"CSTONDLY", 116},  {"HEDFOFF", 117},
    {"CSTOFDLY", 117}, {"LEDFON", 118},   {"CC_SHDLY", 118},  {"LEDFOFF", 119},   {"SOLPATN1", 120},
    {"SOLPATN2", 121}, {"CCDELAY", 122},  {"MLPS", 123},      {"ECT", 124},       {"MLPSMODE", 125},
    {"MLPSCHK", 126},  {"ODCSTMR", 127},  {"TOT", 160},       {"VREF", 161},      {"VBATX", 162},
    {"MANUT_IN", 163}, {"CH7", 164},      {"FAN_TMR", 165},   {"MANU_TMR", 166},  {"MT_MODE", 167},
    {"MT_STAT", 168},  {"MTLSTCMD", 169}, {"SHD_TMR", 170},   {"M_2_1DSLO", 171}, {"M_3_2DSLO", 172},
    {"M_4_3DSLO", 173}, {"CST_TMR", 174}, {"TXTPTR", 175},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "\<C integer>": decimal, 0x hexadecimal or leading-zero octal, kept as a 16-bit number. Like a
// scan, leading blanks and an optional sign are accepted and trailing text is ignored.
std::uint16_t DirectAddress(std::string_view name) {
    std::string digits(name.substr(1));
    const char* begin = digits.c_str();
    char* end = nullptr;
    errno = 0;
    long long number = std::strtoll(begin, &end, 0);
    if (end == begin) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned long long>(number) & 0xFFFFu);
}

}  // namespace

std::span<const RamName> RamNameTable() { return kRamNames; }

std::uint16_t CTCS_Monitor::find_RAM_address(std::string_view name) {
    if (!name.empty() && name[0] == '\\') return DirectAddress(name);
    for (const RamName& entry : kRamNames)
        if (EqualIgnoringCase(entry.name, name)) return entry.address;
    return 0;
}

std::int16_t CTCS_Monitor::read_RAM_variable(std::string_view name) {
    std::uint16_t address = find_RAM_address(name);
    if (address == 0) return kNoValue;
    std::int32_t value = kNoValue;
    std::string errorText;
    if (!access_RAM('f', address, value, errorText)) return kNoValue;
    return static_cast<std::int16_t>(value);
}

}  // namespace korvath
