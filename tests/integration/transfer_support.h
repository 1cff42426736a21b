#pragma once
// Shared pieces of the transfer tests: a transport that keeps every write call on its way to
// the simulated controller, definitions of flash controllers, and a document on the demo KV4
// definition with its traces bound.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "document/view_host.h"
#include "graph/graphengine.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"

namespace korvath::testing {

// Every byte of a file (none when it cannot be read).
inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every write call the tool makes, as the bytes of that call.
class WireRecorder final : public ByteTransport {
public:
    explicit WireRecorder(sim::Controller& controller) : inner_(controller) {}
    bool open(std::string& errorText, int baud) override { return inner_.open(errorText, baud); }
    void close() override { inner_.close(); }
    std::int32_t read_byte(unsigned char* buffer) override { return inner_.read_byte(buffer); }
    std::int32_t read(unsigned char* buffer, std::int32_t n) override { return inner_.read(buffer, n); }
    std::int32_t write_byte(unsigned char ch) override { return write(&ch, 1); }
    std::int32_t write(const unsigned char* data, std::int32_t n) override {
        writes.emplace_back(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
        return inner_.write(data, n);
    }
    bool purge() override { return inner_.purge(); }
    bool is_usb() const override { return false; }

    // The write calls that begin with `prefix`, cut to `length` characters.
    std::vector<std::string> CallsStartingWith(const std::string& prefix, std::size_t length) const {
        std::vector<std::string> found;
        for (const auto& w : writes)
            if (w.rfind(prefix, 0) == 0) found.push_back(w.substr(0, length));
        return found;
    }
    // Bytes written before the first call that equals `call`; all bytes when there is none.
    std::size_t BytesBefore(const std::string& call) const {
        std::size_t n = 0;
        for (const auto& w : writes) {
            if (w == call) break;
            n += w.size();
        }
        return n;
    }

    SimTransport& sim() { return inner_; }
    std::vector<std::string> writes;

private:
    SimTransport inner_;
};

// Binds the traces again whenever the document rebuilds its bars, as the tuning bar does.
class BindingViews final : public ViewHost {
public:
    explicit BindingViews(CQRNDoc*& doc) : doc_(doc) {}
    void RebuildBars() override {
        if (doc_) doc_->BindGraphicalTuningTraces();
    }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

private:
    CQRNDoc*& doc_;
};

// A flash controller's definition: `size` bytes of static I32 scalars V0, V1, ... every four
// bytes up to `covered`, values mixed so that zero bytes, 0xFE and 0x77 occur.
inline std::string FlashDefinition(int nvmType, int size, int covered, const std::string& extraKeys = {}) {
    std::string text =
        "[ApplicationID]\nLogicalName FL\nTransmissionType Flash Test\nProdName Flash Demo\n[Declarations]\n";
    text += "$TotalBlockSize " + std::to_string(size) + "\n$DynamicBlockSize 0\n$NumDynamicTableCells 0\n";
    text += "$NumDynamicTableEntries 0\n$DynamicBlockStart " + std::to_string(size) + "\n$DynamicBlockLayout 0\n";
    text += "$DynamicInterpolation 1\n$StaticBlockSize " + std::to_string(size) + "\n$StaticBlockStart 0\n";
    text += "$NVMType " + std::to_string(nvmType) + "\n" + extraKeys;
    std::uint32_t x = 0x0077FE00;
    for (int offset = 0, i = 0; offset + 4 <= covered; offset += 4, ++i) {
        // Appended piece by piece: "literal" + std::string&& trips a false -Wrestrict at -O3.
        text += "V";
        text += std::to_string(i);
        text += " I32 1:";
        text += std::to_string(offset);
        text += " Def:";
        text += std::to_string(static_cast<std::int32_t>(x & 0x7FFFFFFF));
        text += "\n";
        x = x * 1103515245u + 12345u;
        if (i % 7 == 3) x &= 0xFF77FE00u;  // more escapes
    }
    return text;
}

// The memory image the calibration builds.
inline std::vector<std::uint8_t> BuildImage(CQRNDoc& doc) {
    const auto& l = doc.layout();
    std::vector<std::uint8_t> image(static_cast<std::size_t>(l.TotalBlockSize), l.NVMType > 1 ? 0xFF : 0x00);
    doc.ExchangeImage(image.data(), image.size(), 1);
    return image;
}

// Marks the calibration as made for the simulator's controller (product 2, hardware 1, firmware
// 3.3), so identifying that controller changes nothing.
inline void SetSimulatorIdentity(CQRNDoc& doc) {
    auto& hw = doc.calibration().hardware;
    hw.Set(HardwareField::DeviceType, 2);
    hw.Set(HardwareField::HardwareVersion, 1);
    hw.Set(HardwareField::FirmwareVersion, 3);
    hw.Set(HardwareField::FirmwareVersionMinor, 3);
}

// A calibration of the definition `name` of `programs`'s PID2/3 folder with its defaults, changed
// by `edit` when given, saved to `path`. Returns its memory image (empty when a step failed).
inline std::vector<std::uint8_t> SaveSimCalibration(const std::string& programs, const std::string& name,
                                                    const std::string& path,
                                                    const std::function<void(CQRNDoc&)>& edit = {}) {
    RecordingHost host;
    MemorySettings settings;
    CGraphEngine graph;
    CQRNDoc doc(DocumentHost{host, host, settings}, programs);
    doc.SetGraph(&graph);
    doc.calibration().application.DefinitionFileName = name;
    SetSimulatorIdentity(doc);
    if (!doc.LoadDefinitionFile(programs + "/PID2/3/" + name) || !doc.ReadApplicationID() || !doc.ReadDeclarations(1))
        return {};
    if (edit) edit(doc);
    if (!SaveCalibrationFile(doc, path)) return {};
    return BuildImage(doc);
}

inline void CopyDemoFile(const TempDir& dir, const std::string& name) {
    std::filesystem::create_directories(dir.File("PID2/3"));
    std::filesystem::copy_file(std::string(KORVATH_SOURCE_DIR) + "/data/PID2/3/" + name, dir.File("PID2/3/" + name),
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace korvath::testing
