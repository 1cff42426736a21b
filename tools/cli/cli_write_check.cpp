#include "cli_write_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "calibration/calibration_check.h"
#include "comm/block_packets.h"
#include "definition/definition_listing.h"
#include "definition/readback_decoder.h"
#include "document/transfer.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

constexpr std::int32_t kEepromPageRegister = 68;
constexpr std::size_t kMaxSignatureFileSize = 1u << 20;

// Every image offset a signature line of the text names ("@offset:value:mask"; the offset in
// decimal or 0x hexadecimal).
std::set<std::size_t> SignatureOffsets(const std::string& text, std::size_t imageSize) {
    std::set<std::size_t> offsets;
    auto skipBlanks = [&](std::size_t i) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        return i;
    };
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
        const std::size_t start = skipBlanks(at + 1);
        if (start >= text.size() || !std::isdigit(static_cast<unsigned char>(text[start]))) continue;
        char* end = nullptr;
        const unsigned long offset = std::strtoul(text.c_str() + start, &end, 0);
        const std::size_t next = skipBlanks(static_cast<std::size_t>(end - text.c_str()));
        if (next < text.size() && text[next] == ':' && offset < imageSize) offsets.insert(offset);
    }
    return offsets;
}

// Not a question: a command line cannot answer one, and the first candidate would be a guess.
class NoChoice final : public ReadbackChooser {
public:
    int ChooseTransmission(const std::vector<std::string>&) override { return -1; }
};

// A definition's transmission type, or its file name when it declares none.
std::string TransmissionShown(CQRNDoc& doc, const std::string& definition) {
    std::string type = TransmissionOfDefinition(FindDefinitionFile(doc.definitionDirectory(), definition));
    return type.empty() ? definition : type;
}

// The signature bytes of the selected EEPROM table, read one by one.
bool ReadEepromBytes(CQRNDoc& doc, const std::set<std::size_t>& offsets, std::vector<std::uint8_t>& image) {
    CTCS_Monitor& m = *doc.monitor();
    std::string errorText;
    std::int32_t page = doc.SelectedTable();
    if (!m.access_RAM('f', kEepromPageRegister, page, errorText)) return false;
    for (std::size_t offset : offsets) {
        std::uint16_t value = 0;
        if (!m.read_NVM('e', static_cast<std::int32_t>(offset), value, errorText)) return false;
        image[offset] = static_cast<std::uint8_t>(value);
    }
    return true;
}

// The signature bytes of the selected flash table: each block that holds some is loaded into the
// controller's transfer buffer once, and the stretch of it from its first to its last signature
// byte comes back in as few packets as the packet size allows.
bool ReadFlashBytes(CQRNDoc& doc, const std::set<std::size_t>& offsets, std::vector<std::uint8_t>& image) {
    CTCS_Monitor& m = *doc.monitor();
    const ImageLayout& l = doc.layout();
    const std::int32_t table = doc.SelectedTable();
    if (offsets.empty() || !CheckTransferLayout(l, table, m.ram_mode()).empty()) return false;
    const std::size_t blockSize = static_cast<std::uint16_t>(l.FlashBlockSize);
    const std::size_t firstBlock = static_cast<std::size_t>(l.CalNVMStart) / blockSize +
                                   static_cast<std::size_t>(table) * static_cast<std::size_t>(l.CalNVMPageSize) / blockSize;
    std::string errorText, status;
    for (auto it = offsets.begin(); it != offsets.end();) {  // ascending
        const std::size_t block = *it / blockSize;
        std::size_t last = *it;
        const std::size_t first = last;
        for (; it != offsets.end() && *it / blockSize == block; ++it) last = *it;
        if (m.load_flash(static_cast<std::int32_t>(firstBlock + block), 1, errorText) != packet::kFlashOk) return false;
        for (std::size_t start = first; start <= last; start += packet::kMaxCount) {
            const auto count = static_cast<std::int32_t>(std::min<std::size_t>(last + 1 - start, packet::kMaxCount));
            const auto address = static_cast<std::int32_t>(l.CalBufferStart + static_cast<std::int32_t>(start % blockSize));
            if (m.download_block(image.data(), static_cast<std::int32_t>(start), address, count, status) !=
                packet::kDownloadOk)
                return false;
        }
    }
    return true;
}

// The definition the controller's table holds, from the signature bytes; empty when unknown.
HeldCalibration HeldByController(CQRNDoc& doc) {
    const ImageLayout& layout = doc.layout();
    const bool eeprom = layout.NVMType == 0;
    if (!doc.monitor() || layout.TotalBlockSize <= 0 || (eeprom && layout.TotalBlockSize > 256)) return {};
    const std::string sigPath = JoinPath(doc.definitionDirectory(), kReadbackSignatureFile);
    std::ifstream in(sigPath, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().size() > kMaxSignatureFileSize) return {};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(layout.TotalBlockSize), 0);
    const auto offsets = SignatureOffsets(text.str(), image.size());
    if (!(eeprom ? ReadEepromBytes(doc, offsets, image) : ReadFlashBytes(doc, offsets, image))) return {};
    NoChoice noChoice;
    CTransReadbackDecoder decoder(&noChoice);
    std::string definition;
    if (!decoder.DecodeText(text.str(), definition, image.data(), image.size())) {
        // Several similar transmissions: the calibration's own among them is no finding.
        for (const auto& c : decoder.candidates())
            if (c.resultName == doc.calibration().application.DefinitionFileName) return {};
        if (decoder.candidates().empty()) return {};
        // The image cannot tell them apart: the controller holds one of them, named all.
        HeldCalibration held{decoder.candidates().front().resultName, {}};
        for (const auto& c : decoder.candidates()) {
            if (!held.transmission.empty()) held.transmission += " or ";
            held.transmission += TransmissionShown(doc, c.resultName);
        }
        return held;
    }
    return {definition, TransmissionShown(doc, definition)};
}

}  // namespace

std::vector<std::string> CheckBeforeWrite(CQRNDoc& doc) {
    const HeldCalibration held = HeldByController(doc);
    return CheckCalibration(doc, held.definition.empty() ? nullptr : &held);
}

}  // namespace korvath::cli
