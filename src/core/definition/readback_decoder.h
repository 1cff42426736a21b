#pragma once
// CTransReadbackDecoder: after a calibration was read from a controller, recognises which
// transmission type (and so which definition file) the memory image belongs to, from the
// signature lines of TransReadback.sig in the definition directory:
//
//     @offset:value:mask @offset:value:mask ... = definition file name
//     @offset:value:mask ... = *text            (several similar types: the candidates follow)
//     *display text*definition file name
//
// Numbers are C integers (decimal, 0x hexadecimal, leading-zero octal). A term matches when the
// image byte at offset equals value in the bits of mask; a term without mask ends the list.
// When several types share a signature the choice goes to a ReadbackChooser.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

inline constexpr char kReadbackSignatureFile[] = "TransReadback.sig";
inline constexpr char kChooseTransmissionCaption[] = "Select Current Transmission Type";
inline constexpr char kChooseTransmissionPrompt[] =
    "The calibration that was just read from this controller is for one of these similar transmission types.\n\n"
    "Please select the correct type for this transmission from the list below, then click \"OK\".";

// Asks the user which of several similar transmission types the image belongs to. The GUI shows
// a dialog; the command-line tool picks by an option.
class ReadbackChooser {
public:
    virtual ~ReadbackChooser() = default;
    // displayTexts are in the order the list shows them (sorted, the first one preselected).
    // Returns the index of the chosen text, or -1 when the user cancels.
    virtual int ChooseTransmission(const std::vector<std::string>& displayTexts) = 0;
};

class CTransReadbackDecoder {
public:
    static constexpr int kMaxCandidates = 10;
    static constexpr std::size_t kMaxLineLength = 400;   // longer lines are read in pieces
    static constexpr std::size_t kMaxResultLength = 200;

    struct Candidate {
        std::string displayText;
        std::string resultName;
    };

    // chooser may be null: the first entry of the list is taken, as a dialog that is confirmed
    // at once would give.
    explicit CTransReadbackDecoder(ReadbackChooser* chooser = nullptr) : chooser_(chooser) {}

    // Looks the image up in directory's TransReadback.sig. True with resultText = the definition
    // file name (at most 200 characters); false when the file is missing, no line matches, the
    // result is empty, or the user cancels the choice.
    bool DecodeReadback(const std::string& directory, std::string& resultText, const std::uint8_t* image,
                        std::size_t size);
    // Decodes signature file text that has already been read.
    bool DecodeText(std::string_view fileText, std::string& resultText, const std::uint8_t* image, std::size_t size);

    // Whether every term of signature matches the image. A signature without any term, or with a
    // term that cannot be read or lies beyond the image, never matches.
    static bool MatchSignature(std::string_view signature, const std::uint8_t* image, std::size_t size);

    // The candidates of the last ambiguous match, in file order.
    const std::vector<Candidate>& candidates() const { return candidates_; }

private:
    ReadbackChooser* chooser_;
    std::vector<Candidate> candidates_;
};

// The candidate lines (display text and definition file name) in the order the choice list
// shows them: sorted by display text without regard to case, entries without a text left out.
std::vector<CTransReadbackDecoder::Candidate> ChoiceListOrder(std::vector<CTransReadbackDecoder::Candidate> candidates);

}  // namespace korvath
