#pragma once
// Restore points: every table image a read or write met, kept as a calibration file (ID.qvr,
// opened like any other) with a line-per-key description beside it (ID.meta): the time, the
// reason, the table, the controller and the definition. Both are written through a temporary
// file and a rename, the description last, so a point is listed only once it is whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "definition/calibration.h"
#include "document/restore_point_sink.h"

namespace korvath {

class CQRNDoc;

// ${XDG_DATA_HOME:-~/.local/share}/korvath/restore-points
std::string RestorePointDirectory();

// The controller as its versions name it (another car's controller of the same versions looks
// the same).
struct ControllerVersions {
    int deviceType = 0, hardwareVersion = 0, firmwareVersion = 0, firmwareVersionMinor = 0;
    bool operator==(const ControllerVersions&) const = default;
};

struct RestorePointInfo {
    std::string id;
    std::string path;  // the .qvr
    std::string time;  // ISO 8601 UTC, "2026-12-10T19:35:11Z"
    RestoreReason reason = RestoreReason::Read;
    int table = 1;  // 1 or 2
    ControllerVersions controller;
    std::string definition;
    std::string transmission;
    std::size_t knownBytes = 0;
    std::vector<std::uint8_t> image;  // the table image as met
    bool complete() const { return knownBytes >= image.size(); }
};

// The versions the calibration records (of the controller it was last read from or identified).
ControllerVersions VersionsOf(const Calibration& calibration);

// What the Restore Points window shows of a point and asks before writing one back.
// "product 2, hardware 1, firmware 3.3"
std::string ControllerText(const ControllerVersions& controller);
// "read", "before write (incomplete)" ...
std::string ReasonText(const RestorePointInfo& point);
// The confirmation of Write Back, naming the table (1 or 2) and the controller.
std::string WriteBackQuestion(const RestorePointInfo& point, int table);

class RestorePointStore {
public:
    static constexpr std::size_t kKeptPerController = 200;
    explicit RestorePointStore(std::string directory = RestorePointDirectory(),
                               std::size_t keptPerController = kKeptPerController);

    const std::string& directory() const { return directory_; }
    // Why a restore point of about `bytes` could not be written now (the folder cannot be made,
    // the disk is full); empty when it can.
    std::string CheckRoom(std::size_t bytes) const;
    // Writes the snapshot of the document's calibration as a new restore point, then prunes the
    // controller's points. False with why when it could not be written.
    bool Keep(CQRNDoc& doc, const TableSnapshot& snapshot, RestorePointInfo& kept, std::string& why);
    // Every whole restore point, newest first.
    std::vector<RestorePointInfo> List() const;
    std::optional<RestorePointInfo> Find(const std::string& id) const;
    // Keeps the first point of each controller for good and the newest keptPerController others.
    void Prune(const ControllerVersions& controller) const;

private:
    std::string directory_;
    std::size_t keptPerController_;
};

// The document's sink: keeps every snapshot in a store and tells whoever listens.
class RestorePointKeeper final : public RestorePointSink {
public:
    // kept: after each point written; failed: the reason a point could not be written.
    RestorePointKeeper(RestorePointStore& store, std::function<void(const RestorePointInfo&)> kept,
                       std::function<void(const std::string&)> failed);
    std::string CheckRoom(const CQRNDoc& doc, std::size_t imageSize) override;
    std::string Keep(CQRNDoc& doc, const TableSnapshot& snapshot) override;

private:
    RestorePointStore& store_;
    std::function<void(const RestorePointInfo&)> kept_;
    std::function<void(const std::string&)> failed_;
};

}  // namespace korvath
