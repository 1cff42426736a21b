#pragma once
// The simulated transmission controller: its resident monitor, its memories and a car to drive.
//
// The controller is a byte-in / byte-out state machine with no I/O of its own, so it can sit
// behind a pseudo-terminal (korvath-sim), behind a fake USB HID device, or be talked to directly
// by a test:
//
//     korvath::sim::Controller controller;            // defaults: product 2, hw 1, firmware 3.3
//     controller.Receive("e3A");                       // bytes from the tool
//     std::string answer = controller.TakeOutputText(); // "e3A" echoed plus the byte at 0x3A
//
// Time is injected: SetTime(ms) moves the controller's clock (the drive simulation and any
// delayed output follow it). Nothing advances on its own; a fresh controller stands at 0 ms.
// TakeOutput() returns the bytes whose time has come, in order. The controller never produces a
// zero byte, so its output can go over a serial port or into zero-terminated HID reports as is.
//
// Not thread-safe: one thread at a time (the caller locks if it shares the object).

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/faults.h"

namespace korvath::sim {

// The controller's kind of non-volatile memory. It fixes how many hex digits a RAM address has:
// 'f' and 'n' take 2, 3 or 4 digits; the block packets 'u'/'d' take 4 digits for Flash2, else 3.
enum class MemoryType { Eeprom = 0, Flash = 1, Flash2 = 2 };

struct ControllerConfig {
    int product_id = 2;        // answered to 'v' with the hardware version, one digit each (0-9)
    int hardware_version = 1;
    int firmware_major = 3;    // answered to 'w', one digit each (0-9)
    int firmware_minor = 3;
    MemoryType memory = MemoryType::Eeprom;
    std::uint32_t cal_buffer_start = 256;   // RAM address of the flash transfer buffer
    std::uint32_t cal_buffer_size = 512;
    std::uint32_t cal_nvm_start = 0x7000;   // flash byte address of table 0
    std::uint32_t cal_nvm_page_size = 1024; // table 1 starts this far after table 0
    std::uint32_t flash_block_size = 64;
    bool drive = true;                      // move the RAM variables like a car being driven
    std::vector<FaultSpec> faults;
};

// Empty when the configuration is usable, else why not.
std::string ValidateConfig(const ControllerConfig& config);

// A byte the tool stored at one of the RAM addresses that mark the end of a table write
// (69 and 0x1045).
struct RecordedWrite {
    std::uint16_t address;
    std::uint8_t value;
};

struct ControllerStats {
    std::uint64_t bytes_received = 0;
    std::uint64_t bytes_sent = 0;          // bytes handed out by TakeOutput
    std::map<char, std::uint64_t> commands;  // command letters started, by letter
    std::uint64_t packets_up = 0;          // 'u' packets accepted
    std::uint64_t packets_down = 0;        // 'd' packets sent
    std::uint64_t packets_rejected = 0;    // 'u' packets refused (checksum, escape or marker)
    std::uint64_t burns = 0;               // 'b' commands that burnt and verified
    std::uint64_t burns_failed = 0;
    std::uint64_t loads = 0;               // 'r' commands carried out
    std::uint64_t loads_failed = 0;
    std::uint64_t aborts = 0;              // commands abandoned by a lone 0x77
    std::uint64_t eeprom_writes_ignored = 0;  // 'e'/'i' stores while writing was disabled
    std::map<std::string, std::uint64_t> faults_fired;  // by fault name
};

class Controller {
public:
    static constexpr std::size_t kRamSize = 0x10000;
    static constexpr std::size_t kEepromTableSize = 256;
    static constexpr std::size_t kNvmSize = 0x1000;   // bytes reached by 'l' (3-digit addresses)
    static constexpr std::uint64_t kAbandonWindowMs = 500;

    // The configuration must pass ValidateConfig (an invalid one is replaced by the defaults).
    explicit Controller(ControllerConfig config = {});

    // ---- the byte link
    void Receive(std::uint8_t byte);
    void Receive(const std::uint8_t* data, std::size_t size);
    void Receive(std::string_view bytes);
    // Bytes due by the controller's current time, oldest first; removes them.
    std::vector<std::uint8_t> TakeOutput();
    std::string TakeOutputText();
    // When the next queued byte becomes due; nothing when no byte waits.
    std::optional<std::uint64_t> NextOutputTime() const;
    // The line dropped (the port was closed): the command under way is abandoned and queued
    // output is discarded. Memory and write-enable state stay.
    void ResetLink();
    // An unplug-after fault has fired: the owner should drop the link for good.
    bool Unplugged() const { return unplugged_; }

    // ---- time
    void SetTime(std::uint64_t ms);  // never goes backwards
    std::uint64_t Time() const { return now_; }

    // ---- faults
    void AddFault(const FaultSpec& fault);

    // ---- memory, for loading images, saving them and looking at the outcome
    const ControllerConfig& Config() const { return config_; }
    std::uint8_t Ram(std::uint16_t address) const { return ram_[address]; }
    void SetRam(std::uint16_t address, std::uint8_t value) { ram_[address] = value; }
    const std::array<std::uint8_t, kEepromTableSize>& Eeprom(int table) const { return eeprom_[table & 1]; }
    std::array<std::uint8_t, kEepromTableSize>& Eeprom(int table) { return eeprom_[table & 1]; }
    const std::vector<std::uint8_t>& Nvm() const { return nvm_; }
    std::vector<std::uint8_t>& Nvm() { return nvm_; }
    const std::vector<std::uint8_t>& Flash() const { return flash_; }
    std::vector<std::uint8_t>& Flash() { return flash_; }
    // Flash byte address of a calibration table (0 or 1).
    std::uint32_t FlashTableAddress(int table) const;
    // The cal_nvm_page_size bytes of a flash calibration table.
    std::vector<std::uint8_t> FlashTable(int table) const;
    // Copies an image into a flash table; false (nothing copied) when it is longer than a page.
    bool LoadFlashTable(int table, const std::vector<std::uint8_t>& image);
    // Copies an image into an EEPROM table; false (nothing copied) when it is longer than 256.
    bool LoadEeprom(int table, const std::vector<std::uint8_t>& image);

    int EepromPage() const { return ram_[kEepromPageRegister] & 1; }
    bool EepromWriteEnabled() const { return eeprom_write_enabled_; }
    const std::vector<RecordedWrite>& RecordedWrites() const { return recorded_writes_; }

    const ControllerStats& Stats() const { return stats_; }
    // The statistics as one line of JSON (no line end).
    std::string StatsJson() const;

private:
    static constexpr std::uint16_t kEepromPageRegister = 68;

    enum class State { Idle, Address, ValueFirst, ValueSecond, PacketHeader, PacketData, FlashCommand };
    enum class PacketPart { Data, Marker, ChecksumLow, ChecksumHigh };

    struct ActiveFault {
        FaultSpec fault;
        std::uint64_t remaining;  // for count faults: how many more times it fires
    };

    void Dispatch(std::uint8_t byte);
    void Idle(std::uint8_t byte);
    void Resync(std::uint8_t byte);
    void StartCommand(char letter);
    void OnAddressDigit(std::uint8_t byte);
    void AnswerByteCommand();
    void StoreByte(std::uint8_t value);
    void OnPacketHeader(std::uint8_t byte);
    void OnPacketData(std::uint8_t byte);
    void AcceptPacketByte(std::uint8_t value);
    void FinishUpload();
    void SendDownload();
    void OnFlashCommand(std::uint8_t byte);
    void Burn(std::uint32_t block, std::uint32_t count);
    void Load(std::uint32_t block, std::uint32_t count);
    void Abandon();

    void Emit(std::uint8_t byte);
    void EmitHex(std::uint32_t value, int digits);
    void EmitEscaped(std::uint8_t byte);
    void Confirm();
    void Refuse();
    void UpdateDrive();

    int AddressDigits(char letter) const;
    int PacketAddressDigits() const;
    // Fires a count fault of this kind if one is armed; true when it fired.
    bool FireCountFault(FaultKind kind);
    const ActiveFault* FindFault(FaultKind kind) const;
    void NoteFault(FaultKind kind);

    ControllerConfig config_;
    std::vector<ActiveFault> faults_;
    std::uint64_t now_ = 0;

    std::array<std::uint8_t, kRamSize> ram_{};
    std::array<std::array<std::uint8_t, kEepromTableSize>, 2> eeprom_{};
    std::vector<std::uint8_t> nvm_;
    std::vector<std::uint8_t> flash_;
    bool eeprom_write_enabled_ = false;
    std::vector<RecordedWrite> recorded_writes_;

    // link state
    State state_ = State::Idle;
    char letter_ = 0;
    int digits_needed_ = 0;
    int digits_seen_ = 0;
    std::uint32_t address_ = 0;
    std::uint8_t value_high_ = 0;
    std::string header_;            // packet header or flash command characters after the letter
    std::uint32_t packet_count_ = 0;
    std::uint32_t packet_checksum_ = 0;
    std::vector<std::uint8_t> packet_data_;
    PacketPart packet_part_ = PacketPart::Data;
    bool packet_escape_ = false;
    bool packet_bad_ = false;
    std::uint8_t packet_checksum_low_ = 0;
    // A lone 0x77 right after a 'b' or 'r' (before any other byte, within kAbandonWindowMs) is
    // the tool abandoning that command, not a 'w' query.
    std::optional<std::uint64_t> abandon_window_start_;

    struct Pending {
        std::uint64_t due;
        std::uint8_t byte;
    };
    std::deque<Pending> output_;
    std::uint64_t bytes_received_ = 0;
    std::uint64_t bytes_produced_ = 0;
    bool unplugged_ = false;
    ControllerStats stats_;
};

}  // namespace korvath::sim
