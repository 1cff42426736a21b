#include "cli_write_check.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "calibration/calibration_check.h"
#include "definition/definition_listing.h"
#include "definition/readback_decoder.h"
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

// The definition the controller's table holds, from the signature bytes; empty when unknown.
HeldCalibration HeldByController(CQRNDoc& doc) {
    CTCS_Monitor* m = doc.monitor();
    const ImageLayout& layout = doc.layout();
    if (!m || layout.NVMType != 0 || layout.TotalBlockSize <= 0 || layout.TotalBlockSize > 256) return {};
    const std::string sigPath = JoinPath(doc.definitionDirectory(), kReadbackSignatureFile);
    std::ifstream in(sigPath, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().size() > kMaxSignatureFileSize) return {};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(layout.TotalBlockSize), 0);
    std::string errorText;
    std::int32_t page = doc.SelectedTable();
    if (!m->access_RAM('f', kEepromPageRegister, page, errorText)) return {};
    for (std::size_t offset : SignatureOffsets(text.str(), image.size())) {
        std::uint16_t value = 0;
        if (!m->read_NVM('e', static_cast<std::int32_t>(offset), value, errorText)) return {};
        image[offset] = static_cast<std::uint8_t>(value);
    }
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
