#include "cli_write_check.h"

#include <cstdlib>
#include <fstream>
#include <regex>
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

// Every image offset a signature line of the text names ("@offset:value:mask").
std::set<std::size_t> SignatureOffsets(const std::string& text, std::size_t imageSize) {
    std::set<std::size_t> offsets;
    static const std::regex term(R"(@\s*(0[xX][0-9a-fA-F]+|[0-9]+)\s*:)");
    for (std::sregex_iterator it(text.begin(), text.end(), term), end; it != end; ++it) {
        const unsigned long offset = std::strtoul((*it)[1].str().c_str(), nullptr, 0);
        if (offset < imageSize) offsets.insert(offset);
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
