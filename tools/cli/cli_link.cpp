#include "cli_link.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/paths.h"

namespace korvath::cli {
namespace {
LinkTrace* commandTrace = nullptr;
}  // namespace

void SetCommandTrace(LinkTrace* trace) { commandTrace = trace; }

bool ParseCInteger(const std::string& text, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && end && *end == '\0' && end != text.c_str();
}

bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& link, std::string& why) {
    std::vector<std::string> rest;
    bool portGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--port" || a == "--device") {
            if (i + 1 >= args.size()) {
                why = a + " needs a value";
                return false;
            }
            const std::string& v = args[++i];
            if (a == "--port") {
                long n = 0;
                if (!ParseCInteger(v, n) || n < 1 || n > 255) {
                    why = "--port takes a COM number from 1 to 255";
                    return false;
                }
                link.port = static_cast<int>(n);
                portGiven = true;
            } else {
                link.device = v;
            }
        } else {
            rest.push_back(a);
        }
    }
    if (portGiven && !link.device.empty()) {
        why = "--port and --device exclude each other";
        return false;
    }
    args = std::move(rest);
    return true;
}

std::unique_ptr<CSerialPort> MakeTransport(const LinkOptions& link, SettingsStore& settings) {
    auto transport =
        MakeControllerTransport(settings, SettingsPathForExecutable(ExecutablePath()), link.port, link.device);
    transport->SetTrace(commandTrace);
    transport->SetNoticeHandler([](const std::string& text) { std::fprintf(stderr, "korvath-cli: %s\n", text.c_str()); });
    return transport;
}

bool ReportOpenFailure(const CTCS_Monitor* monitor, const std::string& command) {
    const auto* port = monitor ? dynamic_cast<const CSerialPort*>(monitor->transport()) : nullptr;
    if (!port || port->last_open_error().empty()) return false;
    std::fprintf(stderr, "%s\n", MessageLine(port->last_open_error(), "korvath-cli " + command, ErrorsGoToTerminal()).c_str());
    return true;
}

}  // namespace korvath::cli
