// korvath-cli watch [--ticks N] FILE [--port N | --device PATH]

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_live_session.h"
#include "datalog/data_log_recorder.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{
    "watch", "[--ticks N] FILE [--port N | --device PATH]",
    "poll the live data items of FILE's definition (a calibration, or a definition file with live data items "
    "such as PID2/3/KV4.def) for N timer ticks (default 20) and print one JSON line per value, with the item's "
    "names, the milliseconds since the start and the UTC time",
    &Run};
const CommandRegistration kRegistration{kCommand};

constexpr long kDefaultTicks = 20;
constexpr long kMaxTicks = 1000000;

// "2026-12-10T01:30:00.123Z"
std::string UtcTimestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms));
    return text;
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(kCommand, why);
    long ticks = kDefaultTicks;
    std::string file;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--ticks") {
            if (i + 1 >= rest.size() || !ParseCInteger(rest[i + 1], ticks) || ticks < 0 || ticks > kMaxTicks)
                return UsageError(kCommand, "--ticks takes a count from 0 to 1000000");
            ++i;
        } else if (rest[i].starts_with("--") || !file.empty()) {
            return UsageError(kCommand, "unexpected argument " + rest[i]);
        } else {
            file = rest[i];
        }
    }
    if (file.empty()) return UsageError(kCommand, std::string("no file given; ") + kLiveFileHelp);

    LiveSession session(options, link);
    if (!StartLiveSession(session, file, options.command)) return kFailure;
    CQRNDoc& doc = *session.doc;
    const std::int64_t start = datalog::SteadyNowMs();
    bool anyValue = false;
    const std::int32_t handle = doc.LoadDataItems([&](std::int32_t index, const char* text, const float* value) {
        nlohmann::ordered_json line{{"index", index}, {"text", nullptr}, {"value", nullptr}};
        if (text) line["text"] = text;
        if (value) line["value"] = *value;
        // The poller calls while its cursor is on the item it reads.
        const CTCS_Monitor& monitor = *doc.monitor();
        if (index != live_data::kLinkLostIndex && monitor.poll_cursor() >= 0 &&
            monitor.poll_cursor() < monitor.item_count()) {
            const DataItem& item = monitor.data_item(monitor.poll_cursor());
            line["logicalName"] = item.logicalName;
            line["displayName"] = item.displayName;
        }
        line["time"] = datalog::SteadyNowMs() - start;
        line["timestamp"] = UtcTimestamp();
        anyValue |= index >= 0;
        std::printf("%s\n", line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        std::fflush(stdout);
    });
    if (handle == 0) {
        std::fprintf(stderr, "korvath-cli watch: %s\n", NoDataItemsText(file).c_str());
        return kFailure;
    }
    bool everConnected = false;
    bool lost = false;
    for (long i = 0; i < ticks && !lost; ++i) lost = TickLostLink(session, everConnected);
    doc.UnloadDataItems(handle);
    if (lost) {
        std::fprintf(stderr, "korvath-cli watch: the link to the controller was lost\n");
        return kFailure;
    }
    if (ticks > 0 && !anyValue) {
        std::fprintf(stderr, "korvath-cli watch: no value was read from the controller\n");
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
