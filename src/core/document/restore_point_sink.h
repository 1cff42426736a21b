#pragma once
// What a transfer hands over to be kept as a restore point: the table image as read, as it was
// before a write, or as written. The document owns this interface; the calibration room keeps
// the images as calibration files (calibration/restore_points.h).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class CQRNDoc;

enum class RestoreReason { Read, BeforeWrite, Written };

// "read", "before-write", "written": the reason as files and the command line name it.
std::string_view RestoreReasonKey(RestoreReason reason);
// The reason a key names; false for an unknown key.
bool RestoreReasonFromKey(std::string_view key, RestoreReason& reason);

struct TableSnapshot {
    RestoreReason reason = RestoreReason::Read;
    std::int32_t table = 0;  // 0 or 1
    std::vector<std::uint8_t> image;
    // The leading bytes of image that came from the controller (or were sent to it); the rest
    // is a stand-in. A complete snapshot knows them all.
    std::size_t knownBytes = 0;
    bool complete() const { return knownBytes >= image.size(); }
};

class RestorePointSink {
public:
    virtual ~RestorePointSink() = default;
    // Why no restore point could be kept now (asked before a write sends anything, so that a
    // full disk stops it); empty when one can.
    virtual std::string CheckRoom(const CQRNDoc& doc, std::size_t imageSize) = 0;
    // Keeps the snapshot as a restore point of the document's controller and definition;
    // returns its id, or an empty text when it could not be kept (the sink has said why).
    virtual std::string Keep(CQRNDoc& doc, const TableSnapshot& snapshot) = 0;
};

}  // namespace korvath
