#include "engine/faults.h"

#include <charconv>

namespace korvath::sim {
namespace {

enum class ArgRule { None, Required, OptionalCount };

struct FaultInfo {
    FaultKind kind;
    const char* name;
    ArgRule rule;
    std::uint64_t default_arg;
    const char* help;
};

constexpr FaultInfo kFaults[] = {
    {FaultKind::BadEcho, "bad-echo", ArgRule::OptionalCount, 1,
     "echo 'x' for the next N command letters (default 1)"},
    {FaultKind::LowercaseHex, "lowercase-hex", ArgRule::None, 0, "send value digits in lower case"},
    {FaultKind::SilentAfter, "silent-after", ArgRule::Required, 0,
     "send nothing more once N bytes have been received"},
    {FaultKind::DropByte, "drop-byte", ArgRule::Required, 0,
     "do not send the N-th byte (counting from 1)"},
    {FaultKind::DelayMs, "delay-ms", ArgRule::Required, 0, "send every byte N ms late"},
    {FaultKind::BadChecksum, "bad-checksum", ArgRule::OptionalCount, FaultSpec::kEvery,
     "the next N block packets (default all) fail their checksum"},
    {FaultKind::BurnFail, "burn-fail", ArgRule::Required, 0,
     "a burn covering flash block N fails verification there"},
    {FaultKind::NoConfirm, "no-confirm", ArgRule::OptionalCount, FaultSpec::kEvery,
     "withhold the next N 'c' confirmations (default all)"},
    {FaultKind::UnplugAfter, "unplug-after", ArgRule::Required, 0,
     "unplug (close the port and end) once N bytes have been received"},
};

const FaultInfo* FindByName(std::string_view name) {
    for (const auto& info : kFaults)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace

std::optional<FaultSpec> ParseFault(std::string_view text, std::string* error) {
    auto colon = text.find(':');
    std::string_view name = text.substr(0, colon);
    const FaultInfo* info = FindByName(name);
    if (!info) {
        if (error) *error = "unknown fault '" + std::string(name) + "'";
        return std::nullopt;
    }
    FaultSpec fault{info->kind, info->default_arg};
    if (colon == std::string_view::npos) {
        if (info->rule == ArgRule::Required) {
            if (error) *error = "fault '" + std::string(name) + "' needs an argument: " + std::string(name) + ":N";
            return std::nullopt;
        }
        return fault;
    }
    if (info->rule == ArgRule::None) {
        if (error) *error = "fault '" + std::string(name) + "' takes no argument";
        return std::nullopt;
    }
    std::string_view arg = text.substr(colon + 1);
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), value);
    if (arg.empty() || ec != std::errc() || end != arg.data() + arg.size()) {
        if (error) *error = "fault '" + std::string(name) + "': '" + std::string(arg) + "' is not a number";
        return std::nullopt;
    }
    if (info->rule == ArgRule::OptionalCount && value == 0) {
        if (error) *error = "fault '" + std::string(name) + "': the count must be at least 1";
        return std::nullopt;
    }
    fault.arg = value;
    return fault;
}

const char* FaultName(FaultKind kind) {
    for (const auto& info : kFaults)
        if (info.kind == kind) return info.name;
    return "?";
}

std::string FaultHelp() {
    std::string out;
    for (const auto& info : kFaults) {
        std::string left = std::string("  ") + info.name;
        if (info.rule == ArgRule::Required) left += ":N";
        if (info.rule == ArgRule::OptionalCount) left += "[:N]";
        if (left.size() < 22) left.resize(22, ' ');
        out += left + info.help + "\n";
    }
    return out;
}

}  // namespace korvath::sim
