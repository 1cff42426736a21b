#include "calibration/restore_points.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/printf_format.h"
#include "platform/user_folders.h"

namespace fs = std::filesystem;

namespace korvath {
namespace {

constexpr char kFolderName[] = "restore-points";
constexpr char kDescriptionExtension[] = ".meta";
constexpr char kRoomCheckName[] = ".room-check";
constexpr std::size_t kMaxDescriptionSize = 1u << 20;  // a 32767-byte image in hex and a little text
constexpr std::size_t kMaxImageSize = 32767;
constexpr char kNoRoomFormat[] = "No restore point can be kept in %s (%s).  The calibration was not written.";
constexpr char kNotKeptFormat[] = "The restore point could not be kept: %s";
constexpr char kControllerFormat[] = "product %d, hardware %d, firmware %d.%d";
constexpr char kIncompleteSuffix[] = " (incomplete)";
constexpr char kWriteBackFormat[] =
    "Write restore point %s (%s, %s, %s) into table #%d of the controller (%s)?\n\nWhat the table holds now is kept "
    "as a restore point first.";
constexpr char kWriteBackIncompleteFormat[] = "\n\nThis restore point knows only the first %zu of the table's %zu "
                                              "bytes: only those are written.";

// A text kept on one line of the description.
std::string OneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

bool FromHex(std::string_view text, std::vector<std::uint8_t>& bytes) {
    if (text.size() % 2 != 0 || text.size() / 2 > kMaxImageSize) return false;
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

// A decimal number from a description; false for anything else or a value outside low..high.
bool ToLong(const std::string& text, long& value) {
    if (text.empty() || text.size() > 12) return false;
    std::size_t used = 0;
    try {
        value = std::stol(text, &used, 10);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size();
}

bool ToInt(const std::string& text, long low, long high, int& out) {
    long value = 0;
    if (!ToLong(text, value) || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

std::string Describe(const RestorePointInfo& p) {
    std::ostringstream out;
    out << "time=" << p.time << "\nreason=" << RestoreReasonKey(p.reason) << "\ntable=" << p.table
        << "\ndeviceType=" << p.controller.deviceType << "\nhardwareVersion=" << p.controller.hardwareVersion
        << "\nfirmwareVersion=" << p.controller.firmwareVersion
        << "\nfirmwareVersionMinor=" << p.controller.firmwareVersionMinor << "\ndefinition=" << OneLine(p.definition)
        << "\ntransmission=" << OneLine(p.transmission) << "\nknownBytes=" << p.knownBytes
        << "\nimage=" << Hex(p.image) << "\n";
    return out.str();
}

// A description file read back; nothing for a file that is not one (a damaged or foreign file
// in the folder is passed over).
std::optional<RestorePointInfo> ReadDescription(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kMaxDescriptionSize || ec) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::map<std::string, std::string> keys;
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    RestorePointInfo p;
    p.id = path.stem().string();
    p.path = (path.parent_path() / (p.id + kCalibrationExtension)).string();
    p.time = keys["time"];
    p.definition = keys["definition"];
    p.transmission = keys["transmission"];
    int known = 0;
    if (p.time.empty() || !RestoreReasonFromKey(keys["reason"], p.reason) || !ToInt(keys["table"], 1, 2, p.table) ||
        !ToInt(keys["deviceType"], -32768, 32767, p.controller.deviceType) ||
        !ToInt(keys["hardwareVersion"], -32768, 32767, p.controller.hardwareVersion) ||
        !ToInt(keys["firmwareVersion"], -32768, 32767, p.controller.firmwareVersion) ||
        !ToInt(keys["firmwareVersionMinor"], -32768, 32767, p.controller.firmwareVersionMinor) ||
        !ToInt(keys["knownBytes"], 0, kMaxImageSize, known) || !FromHex(keys["image"], p.image) ||
        !fs::is_regular_file(p.path, ec))
        return std::nullopt;
    p.knownBytes = std::min(static_cast<std::size_t>(known), p.image.size());
    return p;
}

// Ids sort by time, then by the number that tells apart points of the same second.
bool Older(const RestorePointInfo& a, const RestorePointInfo& b) {
    if (a.time != b.time) return a.time < b.time;
    auto sequence = [](const std::string& id) {
        const std::size_t dash = id.rfind('-');
        long n = 0;
        return dash != std::string::npos && ToLong(id.substr(dash + 1), n) ? n : 0L;
    };
    return sequence(a.id) < sequence(b.id);
}

void RemovePoint(const RestorePointInfo& p) {
    std::error_code ec;
    // The description goes first: a point half removed is no longer listed.
    fs::remove(fs::path(p.path).replace_extension(kDescriptionExtension), ec);
    fs::remove(p.path, ec);
}

// The calibration the snapshot's image makes, as file bytes; the document is left as it was.
std::string CalibrationOfImage(CQRNDoc& doc, const TableSnapshot& snapshot) {
    const Calibration saved = doc.calibration();
    const bool modified = doc.IsModified();
    std::vector<std::uint8_t> image = snapshot.image;
    doc.ExchangeImage(image.data(), image.size(), 0);
    doc.calibration().viewState.SetSelectedTable(snapshot.table);
    std::string bytes = CalibrationFileBytes(doc);
    doc.calibration() = saved;
    doc.SetModifiedFlag(modified);
    return bytes;
}

}  // namespace

ControllerVersions VersionsOf(const Calibration& cal) {
    const HardwareBlock& hw = cal.hardware;
    return {hw.Get(HardwareField::DeviceType), hw.Get(HardwareField::HardwareVersion),
            hw.Get(HardwareField::FirmwareVersion), hw.Get(HardwareField::FirmwareVersionMinor)};
}

std::string ControllerText(const ControllerVersions& c) {
    return FormatText(kControllerFormat, c.deviceType, c.hardwareVersion, c.firmwareVersion, c.firmwareVersionMinor);
}

std::string ReasonText(const RestorePointInfo& point) {
    std::string text(RestoreReasonKey(point.reason));
    std::replace(text.begin(), text.end(), '-', ' ');
    if (!point.complete()) text += kIncompleteSuffix;
    return text;
}

std::string WriteBackQuestion(const RestorePointInfo& point, int table) {
    std::string text = FormatText(kWriteBackFormat, point.id.c_str(), point.time.c_str(), ReasonText(point).c_str(),
                                  point.definition.c_str(), table, ControllerText(point.controller).c_str());
    if (!point.complete()) text += FormatText(kWriteBackIncompleteFormat, point.knownBytes, point.image.size());
    return text;
}

std::string RestorePointDirectory() { return JoinPath(UserDataDirectory(), kFolderName); }

RestorePointStore::RestorePointStore(std::string directory, std::size_t keptPerController)
    : directory_(std::move(directory)), keptPerController_(keptPerController) {}

std::string RestorePointStore::CheckRoom(std::size_t bytes) const {
    std::string reason;
    if (!MakeDirectories(directory_, reason)) return FormatText(kNoRoomFormat, directory_.c_str(), reason.c_str());
    const std::string probe = JoinPath(directory_, kRoomCheckName);
    const bool room = WriteFileAtomically(probe, std::string(bytes, '\0'), &reason);
    std::error_code ec;
    fs::remove(probe, ec);
    if (!room) return FormatText(kNoRoomFormat, directory_.c_str(), reason.c_str());
    return {};
}

bool RestorePointStore::Keep(CQRNDoc& doc, const TableSnapshot& snapshot, RestorePointInfo& kept, std::string& why) {
    if (!MakeDirectories(directory_, why)) return false;
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32], time[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", &utc);

    RestorePointInfo p;
    p.time = time;
    p.reason = snapshot.reason;
    p.table = snapshot.table == 0 ? 1 : 2;
    p.controller = VersionsOf(doc.calibration());
    p.definition = doc.calibration().application.DefinitionFileName;
    p.transmission = doc.calibration().application.TransmissionType;
    p.image = snapshot.image;
    p.knownBytes = std::min(snapshot.knownBytes, snapshot.image.size());
    // Points of the same second are told apart by a number above every one the second has had:
    // a number freed by pruning is not taken again, so ids keep the order of their making.
    long sequence = 0;
    std::error_code ec;
    const std::string prefix = std::string(stamp) + "-";
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().stem().string();
        long n = 0;
        if (name.starts_with(prefix) && ToLong(name.substr(prefix.size()), n)) sequence = std::max(sequence, n);
    }
    p.id = prefix + std::to_string(sequence + 1);
    p.path = JoinPath(directory_, p.id + kCalibrationExtension);
    if (!WriteFileAtomically(p.path, CalibrationOfImage(doc, snapshot), &why)) return false;
    if (!WriteFileAtomically(JoinPath(directory_, p.id + kDescriptionExtension), Describe(p), &why)) {
        fs::remove(p.path, ec);
        return false;
    }
    kept = p;
    Prune(p.controller);
    return true;
}

std::vector<RestorePointInfo> RestorePointStore::List() const {
    std::vector<RestorePointInfo> points;
    std::error_code ec;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != kDescriptionExtension) continue;
        if (auto p = ReadDescription(it->path())) points.push_back(std::move(*p));
    }
    std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return Older(b, a); });
    return points;
}

std::optional<RestorePointInfo> RestorePointStore::Find(const std::string& id) const {
    // An id names a file in the folder and nothing beyond it.
    if (id.empty() || id.find('/') != std::string::npos || id.starts_with(".")) return std::nullopt;
    return ReadDescription(fs::path(directory_) / (id + kDescriptionExtension));
}

void RestorePointStore::Prune(const ControllerVersions& controller) const {
    std::vector<RestorePointInfo> points = List();  // newest first
    std::erase_if(points, [&](const RestorePointInfo& p) { return !(p.controller == controller); });
    if (points.size() <= keptPerController_ + 1) return;
    // The oldest is the calibration as the workshop found it: never removed.
    for (std::size_t i = keptPerController_; i + 1 < points.size(); ++i) RemovePoint(points[i]);
}

RestorePointKeeper::RestorePointKeeper(RestorePointStore& store, std::function<void(const RestorePointInfo&)> kept,
                                       std::function<void(const std::string&)> failed)
    : store_(store), kept_(std::move(kept)), failed_(std::move(failed)) {}

std::string RestorePointKeeper::CheckRoom(const CQRNDoc& doc, std::size_t imageSize) {
    // Room for the two points of a write (the table before and as written) with their
    // descriptions, and a margin.
    const std::size_t calibration = CalibrationFileBytes(doc).size();
    return store_.CheckRoom(2 * (calibration + 3 * imageSize) + 4096);
}

std::string RestorePointKeeper::Keep(CQRNDoc& doc, const TableSnapshot& snapshot) {
    RestorePointInfo kept;
    std::string why;
    if (!store_.Keep(doc, snapshot, kept, why)) {
        if (failed_) failed_(FormatText(kNotKeptFormat, why.c_str()));
        return {};
    }
    if (kept_) kept_(kept);
    return kept.id;
}

}  // namespace korvath
