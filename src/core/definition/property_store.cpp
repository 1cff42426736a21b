#include "definition/property_store.h"

#include <cstdio>
#include <optional>

namespace korvath {
namespace {

constexpr std::size_t kSectionLength = 60;
constexpr std::size_t kNameLength = 60;
constexpr std::size_t kAppendedKeyLength = 100;
constexpr std::size_t kAppendedValueLength = 50;

constexpr char kEscape = '\x1b';
constexpr char kEscapedColon = 'c';
constexpr char kEscapedSemicolon = 's';
constexpr char kEscapedEscape = 'e';

// The character that ESC followed by `code` stands for; none for a pair that is no escape.
std::optional<char> EscapedCharacter(char code) {
    switch (code) {
        case kEscapedColon: return ':';
        case kEscapedSemicolon: return ';';
        case kEscapedEscape: return kEscape;
        default: return std::nullopt;
    }
}

std::string EntryKey(std::string_view section, std::string_view name) {
    std::string key = ":";
    key += section.substr(0, kSectionLength);
    key += ':';
    key += name.substr(0, kNameLength);
    key += ' ';
    return key;
}

}  // namespace

bool PropertyStore::AccessProperty(std::string_view section, std::string_view name, std::string& value,
                                   PropertyMode mode) {
    const std::string key = EntryKey(section, name);
    auto pos = text_.find(key);
    if (pos != std::string::npos) {
        const auto valueStart = pos + key.size();
        const auto semicolon = text_.find(';', valueStart);
        auto colon = text_.find(':', valueStart);
        if (colon == std::string::npos) colon = text_.size();
        if (semicolon != std::string::npos && semicolon < colon) {
            if (mode == PropertyMode::Write)
                text_.replace(valueStart, semicolon - valueStart, value);
            else
                value = text_.substr(valueStart, semicolon - valueStart);
            return true;
        }
        // A damaged entry (no ";" before the next entry): reads fail, a write drops the key
        // and appends a fresh entry.
        if (mode != PropertyMode::Write) return false;
        text_.erase(pos, key.size());
    }
    if (mode == PropertyMode::Read) return false;
    text_ += key.substr(0, kAppendedKeyLength);
    text_ += std::string_view(value).substr(0, kAppendedValueLength);
    text_ += "; ";
    return true;
}

int PropertyStore::AccessFloatProperty(std::string_view section, std::string_view name, float& value,
                                       PropertyMode mode) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    std::string text = buffer;
    if (!AccessProperty(section, name, text, mode)) return 0;
    return std::sscanf(text.c_str(), "%g", &value) == 1 ? 1 : 0;
}

int PropertyStore::AccessShortProperty(std::string_view section, std::string_view name, std::int16_t& value,
                                       PropertyMode mode) {
    std::string text = std::to_string(value);
    if (!AccessProperty(section, name, text, mode)) return 0;
    short scanned = 0;
    if (std::sscanf(text.c_str(), "%hi", &scanned) != 1) return 0;
    value = scanned;
    return 1;
}

int PropertyStore::AccessIntProperty(std::string_view section, std::string_view name, std::int32_t& value,
                                     PropertyMode mode) {
    std::string text = std::to_string(value);
    if (!AccessProperty(section, name, text, mode)) return 0;
    int scanned = 0;
    if (std::sscanf(text.c_str(), "%i", &scanned) != 1) return 0;
    value = scanned;
    return 1;
}

std::string EscapePropertyText(std::string_view text) {
    std::string stored;
    stored.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case ':': stored += {kEscape, kEscapedColon}; break;
            case ';': stored += {kEscape, kEscapedSemicolon}; break;
            case kEscape: stored += {kEscape, kEscapedEscape}; break;
            default: stored += c; break;
        }
    }
    return stored;
}

std::string UnescapePropertyText(std::string_view stored) {
    std::string text;
    text.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const std::optional<char> plain =
            stored[i] == kEscape && i + 1 < stored.size() ? EscapedCharacter(stored[i + 1]) : std::nullopt;
        text += plain.value_or(stored[i]);
        if (plain) ++i;
    }
    return text;
}

}  // namespace korvath
