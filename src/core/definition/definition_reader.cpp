#include "definition/definition_reader.h"

#include "definition/definition_keys.h"
#include "definition/element_text_limits.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace korvath {
namespace {

constexpr std::size_t kKeySearchLength = 50;  // keys are searched with at most 50 characters

constexpr std::int64_t kNotFound = -1;

std::int64_t Find(const std::string& text, std::string_view what, std::int64_t from) {
    if (from < 0) from = 0;
    if (static_cast<std::size_t>(from) > text.size()) return kNotFound;
    auto pos = text.find(what, static_cast<std::size_t>(from));
    return pos == std::string::npos ? kNotFound : static_cast<std::int64_t>(pos);
}

std::int64_t FindChar(const std::string& text, char c, std::int64_t from) {
    return Find(text, std::string_view(&c, 1), from);
}

// The substring [from, to), empty when the bounds are crossed or outside the text.
std::string_view Slice(const std::string& text, std::int64_t from, std::int64_t to) {
    const auto size = static_cast<std::int64_t>(text.size());
    from = std::clamp<std::int64_t>(from, 0, size);
    to = std::clamp<std::int64_t>(to, 0, size);
    if (to <= from) return {};
    return std::string_view(text).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

std::string KeySearchText(std::string_view key) {
    return std::string(key.substr(0, kKeySearchLength)) + " ";
}

}  // namespace

std::string_view TrimText(std::string_view text) {
    const char* blanks = " \t\r\n\v\f";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool DefinitionReader::LoadDefinitionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // The text travels inside every calibration saved on it: one too large to save is not taken.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxDefinitionFileSize) return false;
    std::string loaded;
    std::string line;
    // Text mode: files written on Windows end their lines with CR LF; the trim drops the CR.
    while (std::getline(in, line)) {
        auto comment = line.find("//");
        if (comment != std::string::npos) line.erase(comment);
        std::string_view kept = TrimText(line);
        if (kept.empty()) continue;
        loaded += '\n';
        loaded += kept;
    }
    std::replace(loaded.begin(), loaded.end(), '\t', ' ');
    text_ = std::move(loaded);
    return true;
}

DefinitionReader::Range DefinitionReader::RangeFor(int inBlock) const {
    if (inBlock == 0) return {sectionStart_, sectionEnd_};
    return {blockStart_, blockEnd_};
}

bool DefinitionReader::FindSection(std::string_view header, int continueSearch) {
    if (continueSearch == 0) sectionStart_ = 0;
    std::int64_t pos = sectionStart_ < 0 ? kNotFound : Find(text_, header, sectionStart_);
    if (header.empty() || pos == kNotFound) {
        sectionStart_ = -1;
        return false;
    }
    sectionStart_ = static_cast<std::int32_t>(pos + static_cast<std::int64_t>(header.size()));
    std::int64_t bracket = FindChar(text_, '[', sectionStart_);
    sectionEnd_ = static_cast<std::int32_t>(bracket == kNotFound ? static_cast<std::int64_t>(text_.size()) : bracket);
    return true;
}

bool DefinitionReader::FindSectionWithLogicalName(std::string_view header, std::string_view logicalName) {
    sectionStart_ = 0;
    std::string found;
    while (found != logicalName) {
        if (!FindSection(header, 1)) return false;
        ReadKeyString(definition_keys::kLogicalName, found, kLogicalNameLength, 0);
    }
    return true;
}

bool DefinitionReader::FindSectionNames(std::string_view header, int continueSearch, std::string& logicalName,
                                        std::string& displayName) {
    return FindSection(header, continueSearch) &&
           ReadKeyString(definition_keys::kLogicalName, logicalName, kLogicalNameLength, 0) &&
           ReadKeyString(definition_keys::kDisplayName, displayName, kDisplayNameLength, 0);
}

bool DefinitionReader::ReadNextLine(std::string& key, std::string& value, std::int32_t& cursor, int inBlock) {
    key.clear();
    value.clear();
    const Range range = RangeFor(inBlock);
    if (cursor == 0) cursor = static_cast<std::int32_t>(range.start);
    const std::int64_t lineStart = cursor;
    std::int64_t lineEnd = lineStart < 0 ? kNotFound : FindChar(text_, '\n', lineStart);
    if (lineEnd == kNotFound) lineEnd = range.end;
    if (lineStart < 0 || lineStart < range.start || lineStart > range.end || lineEnd < range.start ||
        lineEnd > range.end)
        return false;
    std::string_view line = Slice(text_, lineStart, lineEnd);
    auto space = line.find(' ');
    if (space == std::string_view::npos) {
        key = TrimText(line);
    } else {
        key = TrimText(line.substr(0, space));
        value = TrimText(line.substr(space));
    }
    cursor = static_cast<std::int32_t>(lineEnd + 1);
    return true;
}

bool DefinitionReader::FindKeyValue(std::string_view key, std::string& value, int inBlock, const char* defaultText) {
    const Range range = RangeFor(inBlock);
    const std::int64_t pos = Find(text_, KeySearchText(key), range.start);
    if (pos == kNotFound || pos > range.end) {
        if (defaultText) value = defaultText;
        return false;
    }
    const std::int64_t valueStart = pos + static_cast<std::int64_t>(key.size());
    std::int64_t valueEnd = FindChar(text_, '\n', valueStart);
    if (valueEnd == kNotFound || valueEnd > range.end) valueEnd = range.end;
    value = TrimText(Slice(text_, valueStart, valueEnd));
    return true;
}

bool DefinitionReader::ReadKeyString(std::string_view key, std::string& out, std::size_t maxLength, int inBlock,
                                     const char* defaultText) {
    std::string value;
    if (FindKeyValue(key, value, inBlock)) {
        out = value.substr(0, maxLength);
        return true;
    }
    if (defaultText) out = std::string_view(defaultText).substr(0, maxLength);
    return false;
}

int DefinitionReader::ReadKeyInt(std::string_view key, std::int32_t& out, int inBlock, std::int32_t defaultValue) {
    std::string value;
    if (!FindKeyValue(key, value, inBlock)) {
        if (defaultValue != kNoIntDefault) out = defaultValue;
        return 0;
    }
    int scanned = 0;
    if (std::sscanf(value.c_str(), "%i", &scanned) != 1) return 0;
    out = scanned;
    return 1;
}

int DefinitionReader::ReadKeyShort(std::string_view key, std::int16_t& out, int inBlock, std::int32_t defaultValue) {
    std::string value;
    if (!FindKeyValue(key, value, inBlock)) {
        if (defaultValue != kNoIntDefault) out = static_cast<std::int16_t>(defaultValue);
        return 0;
    }
    short scanned = 0;
    if (std::sscanf(value.c_str(), "%hi", &scanned) != 1) return 0;
    out = scanned;
    return 1;
}

int DefinitionReader::ReadKeyFloat(std::string_view key, float& out, int inBlock, float defaultValue) {
    std::string value;
    if (!FindKeyValue(key, value, inBlock)) {
        if (defaultValue != kNoFloatDefault) out = defaultValue;
        return 0;
    }
    float scanned = 0;
    if (std::sscanf(value.c_str(), "%g", &scanned) != 1) return 0;
    out = scanned;
    return 1;
}

bool DefinitionReader::FindBlock(std::string_view key, std::string& label, int continueSearch) {
    label.clear();
    if (continueSearch == 0) blockStart_ = blockEnd_ = sectionStart_;
    const std::int64_t pos = Find(text_, KeySearchText(key), blockStart_);
    if (pos == kNotFound || pos < sectionStart_ || pos > sectionEnd_) return false;
    const std::int64_t labelStart = pos + static_cast<std::int64_t>(key.size());
    const std::int64_t brace = FindChar(text_, '{', pos + 1);
    if (labelStart > sectionEnd_ || brace == kNotFound || brace > sectionEnd_) return false;
    const std::int64_t bodyStart = brace + 1;
    const std::int64_t close = FindChar(text_, '}', bodyStart);
    if (bodyStart > sectionEnd_ || close == kNotFound || close > sectionEnd_) return false;
    blockStart_ = static_cast<std::int32_t>(bodyStart);
    blockEnd_ = static_cast<std::int32_t>(close);
    label = TrimText(Slice(text_, labelStart, brace));
    return true;
}

bool DefinitionReader::FindBlockWithLogicalName(std::string_view key, std::string_view logicalName) {
    blockStart_ = blockEnd_ = sectionStart_;
    std::string found;
    std::string label;
    while (found != logicalName) {
        if (!FindBlock(key, label, 1)) return false;
        ReadKeyString(definition_keys::kLogicalName, found, kLogicalNameLength, 1);
    }
    return true;
}

}  // namespace korvath
