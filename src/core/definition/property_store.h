#pragma once
// Per-calibration named choices made on the settings pages, kept as one text:
// ":<section>:<name> <value>; " entries one after another. Saved with the calibration.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvath {

enum class PropertyMode { Read = 0, Write = 1, ReadOrCreate = 2 };

class PropertyStore {
public:
    const std::string& text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

    // Read: value := stored text. Write: stored := value (entry appended when absent).
    // ReadOrCreate: value := stored text, or the entry is appended with value when absent.
    bool AccessProperty(std::string_view section, std::string_view name, std::string& value, PropertyMode mode);

    // The typed forms print the variable's value as the default ("%g" or "%d"), access the
    // entry, and scan the result back; they return the count of numbers read, or 0.
    int AccessFloatProperty(std::string_view section, std::string_view name, float& value, PropertyMode mode);
    int AccessShortProperty(std::string_view section, std::string_view name, std::int16_t& value,
                            PropertyMode mode);
    int AccessIntProperty(std::string_view section, std::string_view name, std::int32_t& value, PropertyMode mode);

private:
    std::string text_;
};

// A user's free text in a store value. The store's separators ":" and ";" cannot stand in a value,
// so they are written as ESC 'c' and ESC 's' (and ESC itself as ESC 'e'). ESC cannot be typed into
// a text box, so a value written before (where those marks had become spaces) reads the same.
std::string EscapePropertyText(std::string_view text);
// The text back from a stored value; an ESC followed by anything else is kept as it is.
std::string UnescapePropertyText(std::string_view stored);

}  // namespace korvath
