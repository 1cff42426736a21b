#include "definition/readback_decoder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "definition/definition_listing.h"
#include "platform/paths.h"

namespace korvath {
namespace {

// A signature file is small; anything past this is not read.
constexpr std::size_t kMaxFileSize = 4u << 20;

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The file's lines as a line reader with a 400-character buffer sees them: a longer line comes
// in pieces of 399 characters. The line end is not part of a line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t limit = CTransReadbackDecoder::kMaxLineLength - 1;
        std::size_t end = text_.find('\n', pos_);
        std::size_t next;
        if (end == std::string_view::npos || end - pos_ >= limit) {
            end = std::min(text_.size(), pos_ + limit);
            next = end;
        } else {
            next = end + 1;
        }
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// One C integer as "%i" reads it (white space first, a sign, 0x hexadecimal or leading-zero
// octal). Values beyond an int are clamped. False when no digits are there.
bool ScanInt(std::string_view text, std::size_t& pos, long long& value) {
    std::string buffer(text.substr(pos, 40));
    const char* begin = buffer.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 0);
    if (end == begin) return false;
    value = std::clamp<long long>(v, INT_MIN, INT_MAX);
    pos += static_cast<std::size_t>(end - begin);
    return true;
}

bool ScanChar(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

}  // namespace

bool CTransReadbackDecoder::MatchSignature(std::string_view signature, const std::uint8_t* image, std::size_t size) {
    bool match = true;
    int terms = 0;
    std::size_t pos = 0;
    while (pos < signature.size() && IsSpace(signature[pos])) ++pos;
    for (;;) {
        if (pos >= signature.size()) break;  // the end of the list
        // "@offset:value:mask" then any white space; without the mask the list ends here.
        long long offset = 0, value = 0, mask = -1;
        std::size_t p = pos;
        if (!ScanChar(signature, p, '@') || !ScanInt(signature, p, offset)) return false;
        if (!ScanChar(signature, p, ':') || !ScanInt(signature, p, value)) return false;
        bool last = true;
        if (ScanChar(signature, p, ':') && ScanInt(signature, p, mask)) {
            last = false;
            while (p < signature.size() && IsSpace(signature[p])) ++p;
        }
        ++terms;
        if (offset < 0 || static_cast<unsigned long long>(offset) >= size) return false;
        const auto byte = image[static_cast<std::size_t>(offset)];
        const auto m = static_cast<std::uint8_t>(mask);
        const auto expected = static_cast<std::uint8_t>((static_cast<std::uint8_t>(value) & m) | (byte & ~m));
        if (expected != byte) match = false;
        if (last) break;
        pos = p;
    }
    return terms > 0 && match;
}

std::vector<CTransReadbackDecoder::Candidate> ChoiceListOrder(std::vector<CTransReadbackDecoder::Candidate> candidates) {
    std::erase_if(candidates, [](const auto& c) { return c.displayText.empty(); });
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return std::lexicographical_compare(
            a.displayText.begin(), a.displayText.end(), b.displayText.begin(), b.displayText.end(),
            [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
            });
    });
    return candidates;
}

bool CTransReadbackDecoder::DecodeReadback(const std::string& directory, std::string& resultText,
                                           const std::uint8_t* image, std::size_t size) {
    std::ifstream in(DefinitionFilePath(directory, kReadbackSignatureFile), std::ios::binary);
    if (!in) return false;
    std::string text;
    text.resize(kMaxFileSize);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return DecodeText(text, resultText, image, size);
}

bool CTransReadbackDecoder::DecodeText(std::string_view fileText, std::string& resultText, const std::uint8_t* image,
                                       std::size_t size) {
    candidates_.clear();
    LineReader lines(fileText);
    std::string_view line, result;
    bool matched = false;
    while (lines.Next(line)) {
        if (line.size() < 2) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (MatchSignature(line.substr(0, equals), image, size)) {
            result = Trim(line.substr(equals + 1));
            matched = true;
            break;
        }
    }
    if (!matched || result.empty()) return false;
    if (result.front() != '*') {
        resultText = std::string(result.substr(0, kMaxResultLength));
        return true;
    }

    // The candidates: "*display text*file name", one a line, empty lines between them skipped.
    while (static_cast<int>(candidates_.size()) < kMaxCandidates && lines.Next(line)) {
        if (Trim(line).empty()) continue;
        if (line.front() != '*') break;
        const std::size_t second = line.find('*', 1);
        if (second == std::string_view::npos || second == 1) break;
        candidates_.push_back({std::string(Trim(line.substr(1, second - 1))),
                               std::string(Trim(line.substr(second + 1)).substr(0, kMaxResultLength))});
    }
    const auto list = ChoiceListOrder(candidates_);
    if (list.empty()) return false;
    int chosen = 0;
    if (chooser_) {
        std::vector<std::string> texts;
        for (const auto& c : list) texts.push_back(c.displayText);
        chosen = chooser_->ChooseTransmission(texts);
    }
    if (chosen < 0 || chosen >= static_cast<int>(list.size())) return false;
    const auto& name = list[static_cast<std::size_t>(chosen)].resultName;
    if (name.empty()) return false;
    resultText = name;
    return true;
}

}  // namespace korvath
