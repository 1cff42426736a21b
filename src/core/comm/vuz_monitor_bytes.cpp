// The byte commands of CTCS_Monitor: echo-checked characters, addressed reads and verified writes.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "comm/comm_texts.h"
#include "platform/printf_format.h"
#include "comm/vuz_monitor.h"

namespace korvath {
namespace {

constexpr char kConfirmChar = 'c';

// The text a run of received bytes prints as (it ends at a zero byte, as a C string would).
std::string ReceivedText(const unsigned char* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && bytes[i] != 0; ++i) text.push_back(static_cast<char>(bytes[i]));
    return text;
}

// A character read back as the error texts show it: quoted, or NULL when none came.
std::string ReceivedCharText(std::int32_t count, unsigned char received) {
    return count == 1 ? FormatText(comm_text::kReceivedCharFormat, static_cast<char>(received))
                      : std::string(comm_text::kReceivedNothing);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The two value digits as a byte (either case), or -1 when they are not hexadecimal.
int ParseValueDigits(const std::string& digits) {
    if (digits.size() != 2) return -1;
    int high = HexDigitValue(digits[0]);
    int low = HexDigitValue(digits[1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

}  // namespace

std::string CTCS_Monitor::FormatAddress(std::int32_t mode, std::int32_t address) {
    static constexpr std::array<std::int32_t, 3> kTop{0xFF, 0xFFF, 0xFFFF};
    static constexpr std::array<const char*, 3> kFormat{"%.2X", "%.3X", "%.4X"};
    std::size_t m = (mode >= 0 && mode <= 2) ? static_cast<std::size_t>(mode) : 0;
    std::int32_t a = std::clamp<std::int32_t>(address, 0, kTop[m]);
    char digits[8];
    std::snprintf(digits, sizeof digits, kFormat[m], static_cast<unsigned>(a));
    return digits;
}

std::string CTCS_Monitor::FormatValue(std::int32_t value) {
    if (value == kNoValue) return {};
    return FormatText("%.2X", static_cast<unsigned>(std::clamp<std::int32_t>(value, 0, 255)));
}

bool CTCS_Monitor::WaitsForConfirm(char letter) { return letter == 'e' || letter == 'i' || letter == 'l'; }

std::int32_t CTCS_Monitor::ModeForLetter(char letter) const {
    switch (letter) {
        case 'e':
        case 'i': return eepromMode_;
        case 'l': return longMode_;
        default: return ramMode_;
    }
}

bool CTCS_Monitor::send_echo(char ch, std::string& errorText) {
    if (!transport_ || transport_->write_byte(static_cast<unsigned char>(ch)) < 1) {
        errorText += comm_text::kSendFailed;
        return false;
    }
    unsigned char received = 0;
    std::int32_t count = transport_->read_byte(&received);
    if (count == 1 && received == static_cast<unsigned char>(ch)) return true;
    errorText += FormatText(comm_text::kReadbackCharFormat, ReceivedCharText(count, received).c_str(), ch);
    return false;
}

bool CTCS_Monitor::send_command(char letter, std::string_view addressText, std::string& resultText,
                                std::string& errorText) {
    if (addressText.empty() || addressText.size() > 8) {
        errorText += comm_text::kSendFailed;
        return false;
    }
    if (!send_echo(letter, errorText) || !send_echo(addressText[0], errorText)) return false;

    const std::string rest(addressText.substr(1));
    const auto restLength = static_cast<std::int32_t>(rest.size());
    if (restLength > 0 &&
        transport_->write(reinterpret_cast<const unsigned char*>(rest.data()), restLength) < restLength) {
        errorText += comm_text::kSendFailed;
        return false;
    }

    std::array<unsigned char, 20> received{};
    std::int32_t count = transport_->read(received.data(), restLength + 2);
    count = std::clamp<std::int32_t>(count, 0, restLength + 2);
    if (std::memcmp(received.data(), rest.data(), rest.size()) != 0) {
        if (count == 0)
            errorText += FormatText(comm_text::kReadbackNothingFormat, rest.c_str());
        else
            errorText += FormatText(comm_text::kReadbackTextFormat,
                                      ReceivedText(received.data(), static_cast<std::size_t>(count)).c_str(),
                                      rest.c_str());
        return false;
    }
    const std::int32_t following = count - restLength;
    if (following != 2) {
        errorText += FormatText(
            comm_text::kResultErrorFormat,
            ReceivedText(received.data() + restLength, static_cast<std::size_t>(std::max(following, 0))).c_str());
        return false;
    }
    resultText.assign(reinterpret_cast<const char*>(received.data()) + restLength, 2);
    return true;
}

bool CTCS_Monitor::write_value(bool waitForC, std::string_view valueText, std::string& errorText) {
    if (valueText.empty()) return true;
    if (valueText.size() < 2) {
        errorText += comm_text::kSendFailed;
        return false;
    }
    if (!send_echo(valueText[0], errorText) || !send_echo(valueText[1], errorText)) return false;
    if (waitForC) {
        unsigned char confirm = 0;
        const std::int32_t count = transport_->read_byte(&confirm);
        if (count != 1 || confirm != kConfirmChar) {
            errorText += FormatText(comm_text::kConfirmErrorFormat, ReceivedCharText(count, confirm).c_str(),
                                    kConfirmChar);
            return false;
        }
    }
    return true;
}

bool CTCS_Monitor::read_wrt_cmd(char letter, std::string_view addressText, std::string& valueText,
                                std::string& errorText) {
    errorText = comm_text::kReadWrtCmdPrefix;
    std::string before;
    if (!send_command(letter, addressText, before, errorText)) {
        set_connected(0);
        return false;
    }
    if (!valueText.empty() && !write_value(WaitsForConfirm(letter), valueText, errorText)) {
        valueText = before;
        set_connected(0);
        return false;
    }
    valueText = before;
    return true;
}

bool CTCS_Monitor::test_and_write_NVM(char letter, std::string_view addressText, std::string& valueText,
                                      std::string& errorText, std::string* valueBefore) {
    errorText = comm_text::kTestAndWritePrefix;
    if (!connected_) return false;
    std::string current;
    if (!send_command(letter, addressText, current, errorText)) {
        set_connected(0);
        return false;
    }
    if (valueBefore) *valueBefore = current;
    if (current == valueText) {
        errorText.clear();
        return true;
    }
    if (valueText.empty()) {
        valueText = current;
        return true;
    }
    const bool waitForC = WaitsForConfirm(letter);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!write_value(waitForC, valueText, errorText) || !send_command(letter, addressText, current, errorText)) {
            set_connected(0);
            return false;
        }
        if (current == valueText) {
            errorText.clear();
            return true;
        }
    }
    // Three writes that did not hold: the caller sees the value last read.
    valueText = current;
    errorText = current;
    return false;
}

bool CTCS_Monitor::write_NVM(char letter, std::int32_t address, std::int32_t value, std::string& errorText,
                             std::uint16_t* valueBefore) {
    std::string addressText = FormatAddress(ModeForLetter(letter), address);
    std::string valueText = FormatValue(value);
    std::string before;
    const bool ok = test_and_write_NVM(letter, addressText, valueText, errorText, valueBefore ? &before : nullptr);
    if (valueBefore && !before.empty()) {
        if (const int byte = ParseValueDigits(before); byte >= 0) *valueBefore = static_cast<std::uint16_t>(byte);
    }
    return ok;
}

bool CTCS_Monitor::read_NVM(char letter, std::int32_t address, std::uint16_t& value, std::string& errorText) {
    errorText = comm_text::kReadNvmPrefix;
    if (!connected_) return false;
    std::string digits;
    if (!send_command(letter, FormatAddress(ModeForLetter(letter), address), digits, errorText)) {
        set_connected(0);
        return false;
    }
    int byte = ParseValueDigits(digits);
    if (byte < 0) {
        errorText += FormatText(comm_text::kResultNotHexFormat, digits.c_str());
        set_connected(0);
        return false;
    }
    errorText.clear();
    value = static_cast<std::uint16_t>(byte);
    return true;
}

bool CTCS_Monitor::access_RAM(char letter, std::int32_t address, std::int32_t& value, std::string& errorText) {
    std::string valueText = FormatValue(value);
    if (!read_wrt_cmd(letter, FormatAddress(ramMode_, address), valueText, errorText)) {
        int byte = ParseValueDigits(valueText);
        if (byte >= 0) value = byte;
        return false;
    }
    int byte = ParseValueDigits(valueText);
    if (byte < 0) {
        errorText += FormatText(comm_text::kResultNotHexFormat, valueText.c_str());
        set_connected(0);
        return false;
    }
    value = byte;
    return true;
}

}  // namespace korvath
