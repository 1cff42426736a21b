// CTCS_Monitor: construction, the connected flag and the link timer, the version query and the
// EEPROM write-enable sequence.

#include "comm/vuz_monitor.h"

#include <algorithm>
#include <iterator>

#include "comm/comm_texts.h"
#include "comm/monitor_client.h"
#include "comm/poll_observer.h"
#include "comm/ram_names.h"
#include "platform/host.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"

namespace korvath {
CTCS_Monitor::CTCS_Monitor(std::unique_ptr<ByteTransport> transport, TimerHost* timer)
    : timer_(timer), transport_(std::move(transport)) {
    if (transport_) {
        std::string ignored;
        transport_->open(ignored, 9600);
    }
    // Start as a lost link, so the timer starts looking for a controller at once.
    connected_ = 1;
    set_connected(0);
}

CTCS_Monitor::~CTCS_Monitor() {
    StopTimer();
    transport_.reset();
}

void CTCS_Monitor::RestartTimer(unsigned periodMs) {
    if (!timer_) return;
    timer_->StartTimer(periodMs, [this] { poll(); });
    timerRunning_ = true;
}

void CTCS_Monitor::StopTimer() {
    if (timer_ && timerRunning_) timer_->StopTimer();
    timerRunning_ = false;
}

unsigned CTCS_Monitor::LiveDataPeriod() const {
    if (logItemCount_ > 0) return static_cast<unsigned>(dataLogPeriod_);
    if (monitorItemCount_ > 0) return static_cast<unsigned>(dashboardPeriod_);
    return 0;
}

void CTCS_Monitor::set_connected(std::int32_t state) {
    if (connected_ == 1 && state == 0) {
        RestartTimer(kLinkLostPeriodMs);
        if (document_) document_->ShowConnectionStatus(0);
    } else if (connected_ == 0 && state == 1) {
        if (unsigned period = LiveDataPeriod(); period > 0) RestartTimer(period);
        if (document_) document_->ShowConnectionStatus(1);
    }
    const bool changed = (connected_ != 0) != (state != 0);
    connected_ = state;
    if (changed && observer_) observer_->OnLinkState(state != 0);
}

void CTCS_Monitor::set_NVM_type(std::int32_t n) {
    longMode_ = 1;
    eepromMode_ = 0;
    ramMode_ = (n >= 0 && n <= 2) ? n : 0;
}

bool CTCS_Monitor::reopen(std::string& errorText) {
    if (!transport_) return false;
    transport_->close();
    return transport_->open(errorText, 9600);
}

bool CTCS_Monitor::purge() { return transport_ ? transport_->purge() : false; }

bool CTCS_Monitor::is_usb() const { return transport_ ? transport_->is_usb() : false; }

void CTCS_Monitor::suspend() {
    RestartTimer(kSuspendPeriodMs);
    if (transport_) transport_->close();
}

std::int32_t CTCS_Monitor::query_versions(std::uint16_t* productId, std::uint16_t* hardwareVersion,
                                          std::uint16_t* firmwareMajor, std::uint16_t* firmwareMinor) {
    std::string errorText;
    std::string firmware;
    switch (query_firmware(firmware)) {
        case FirmwareAnswer::Answered:
            if (firmware.size() != 2 || firmware[0] < '1' || firmware[1] < '0') {
                set_connected(0);
                return 0;
            }
            break;
        case FirmwareAnswer::NotKnown:
            // Controllers without the firmware query run firmware 1.0.
            firmware = "10";
            break;
        case FirmwareAnswer::Garbled:
            set_connected(0);
            return 0;
    }
    purge();
    std::string product;
    if (!read_wrt_cmd('v', "00", product, errorText)) {
        set_connected(0);
        return 0;
    }
    if (product.size() != 2 || product[0] < '1' || product[1] < '1') {
        set_connected(0);
        return 0;
    }

    std::int32_t flags = 0x01;
    std::int32_t firmwareFlag = 0;
    auto digit = [](char c) { return static_cast<std::uint16_t>(static_cast<unsigned char>(c) - '0'); };
    auto compare = [](std::uint16_t* held, std::uint16_t now, std::int32_t higher, std::int32_t lower,
                      std::int32_t& into) {
        if (now > *held) into = higher;
        if (now < *held) into = lower;
        *held = now;
    };
    if (productId) {
        std::int32_t f = 0;
        compare(productId, digit(product[0]), 0x40, 0x80, f);
        flags |= f;
    }
    if (hardwareVersion) {
        std::int32_t f = 0;
        compare(hardwareVersion, digit(product[1]), 0x10, 0x20, f);
        flags |= f;
    }
    if (firmwareMinor) compare(firmwareMinor, digit(firmware[1]), 0x04, 0x08, firmwareFlag);
    if (firmwareMajor) compare(firmwareMajor, digit(firmware[0]), 0x04, 0x08, firmwareFlag);
    return flags | firmwareFlag;
}

CTCS_Monitor::FirmwareAnswer CTCS_Monitor::query_firmware(std::string& firmware) {
    // A controller that does not know 'w' stays silent where the digits would come, every time;
    // a line that drops or garbles a character fails another way, or only once. So the old
    // firmware is concluded from two silent answers in a row, and anything else is asked again.
    constexpr int kAttempts = 3;
    // Silence at any point of the exchange: the letter, either address digit or the answer.
    const std::string prefix = comm_text::kReadWrtCmdPrefix;
    const std::string silences[] = {
        prefix + FormatText(comm_text::kReadbackCharFormat, comm_text::kReceivedNothing, kFirmwareQueryLetter),
        prefix + FormatText(comm_text::kReadbackCharFormat, comm_text::kReceivedNothing, kFirmwareQueryAddress[0]),
        prefix + FormatText(comm_text::kReadbackNothingFormat, kFirmwareQueryAddress + 1),
        prefix + FormatText(comm_text::kResultErrorFormat, ""),
    };
    int silentInARow = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string errorText;
        purge();
        firmware.clear();
        if (read_wrt_cmd(kFirmwareQueryLetter, kFirmwareQueryAddress, firmware, errorText))
            return FirmwareAnswer::Answered;
        const bool silent = std::find(std::begin(silences), std::end(silences), errorText) != std::end(silences);
        silentInARow = silent ? silentInARow + 1 : 0;
        if (silentInARow == 2) return FirmwareAnswer::NotKnown;
    }
    return FirmwareAnswer::Garbled;
}

bool CTCS_Monitor::enable_EEPROM_write() {
    std::string errorText;
    purge();
    std::int32_t enableCode = 9;
    std::int32_t control = kNoValue;
    if (!access_RAM('f', kRamEepromPage, enableCode, errorText) || !access_RAM('n', 0x80, control, errorText)) {
        if (document_)
            document_->ShowMessage(errorText, comm_text::kEepromWriteEnableCaption,
                                   MessageStyle::IconError | MessageStyle::TaskModal);
        set_connected(0);
        return false;
    }
    return true;
}

bool CTCS_Monitor::disable_EEPROM_write() {
    std::string errorText;
    std::int32_t disableCode = 8;
    std::int32_t control = kNoValue;
    if (!access_RAM('f', kRamEepromPage, disableCode, errorText) || !access_RAM('n', 0, control, errorText)) {
        if (document_)
            document_->ShowMessage(errorText, comm_text::kEepromWriteDisableCaption,
                                   MessageStyle::IconError | MessageStyle::TaskModal);
        set_connected(0);
        return false;
    }
    return true;
}

}  // namespace korvath
