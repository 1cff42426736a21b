#pragma once
// The loaded definition file and the reader over it: sections ("[Name]" up to the next "["),
// key lines ("Key value", no equals sign) and brace blocks ("Key label { ... }").
//
// The four cursors are shared state: a caller selects a section (and a block) right before
// reading it. Every read takes an inBlock flag: 0 reads the selected section, anything else
// the selected block.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvath {

class DefinitionReader {
public:
    // Values of ReadKeyInt/ReadKeyShort/ReadKeyFloat defaults that mean "no default".
    static constexpr std::int32_t kNoIntDefault = INT32_MIN;
    static constexpr float kNoFloatDefault = -1000000.0f;

    // DefinitionText: every kept line preceded by a line feed, comments ("//") cut,
    // lines trimmed, tabs turned into spaces.
    const std::string& text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    void Clear() { text_.clear(); }

    // Largest definition file taken in; the calibration file that carries it must stay below its
    // own limit (kMaxCalibrationFileSize).
    static constexpr std::uintmax_t kMaxDefinitionFileSize = 16u << 20;
    // False (nothing changes) when the file cannot be read or is larger than the limit.
    bool LoadDefinitionFile(const std::string& path);

    bool FindSection(std::string_view header, int continueSearch);
    bool FindSectionWithLogicalName(std::string_view header, std::string_view logicalName);
    bool FindSectionNames(std::string_view header, int continueSearch, std::string& logicalName,
                          std::string& displayName);

    // The next line of the range split at its first space into key and value (both trimmed).
    // *cursor == 0 starts at the beginning of the range.
    bool ReadNextLine(std::string& key, std::string& value, std::int32_t& cursor, int inBlock);

    // defaultText == nullptr: no default.
    bool FindKeyValue(std::string_view key, std::string& value, int inBlock, const char* defaultText = nullptr);
    bool ReadKeyString(std::string_view key, std::string& out, std::size_t maxLength, int inBlock,
                       const char* defaultText = nullptr);
    int ReadKeyInt(std::string_view key, std::int32_t& out, int inBlock, std::int32_t defaultValue = kNoIntDefault);
    int ReadKeyShort(std::string_view key, std::int16_t& out, int inBlock,
                     std::int32_t defaultValue = kNoIntDefault);
    int ReadKeyFloat(std::string_view key, float& out, int inBlock, float defaultValue = kNoFloatDefault);

    bool FindBlock(std::string_view key, std::string& label, int continueSearch);
    bool FindBlockWithLogicalName(std::string_view key, std::string_view logicalName);

    std::int32_t sectionStart() const { return sectionStart_; }
    std::int32_t sectionEnd() const { return sectionEnd_; }
    std::int32_t blockStart() const { return blockStart_; }
    std::int32_t blockEnd() const { return blockEnd_; }

private:
    struct Range {
        std::int64_t start;
        std::int64_t end;
    };
    Range RangeFor(int inBlock) const;

    std::string text_;
    std::int32_t sectionStart_ = 0;
    std::int32_t sectionEnd_ = 0;
    std::int32_t blockStart_ = 0;
    std::int32_t blockEnd_ = 0;
};

// Trims spaces, tabs, carriage returns and line feeds from both ends.
std::string_view TrimText(std::string_view text);

}  // namespace korvath
