#include "engine/controller.h"

#include <algorithm>
#include <cstdio>

#include "engine/driving.h"
#include "engine/shift_schedule.h"

namespace korvath::sim {
namespace {

constexpr std::uint8_t kEscape = 0xFE;
constexpr std::uint8_t kEndMarker = 0x77;  // also the lone byte that abandons a 'b' or 'r'
constexpr std::uint8_t kConfirm = 'c';
constexpr std::uint8_t kRefuse = '?';      // a packet, burn or load that did not succeed
constexpr std::uint8_t kBadEcho = 'x';
constexpr std::uint8_t kEnableCode = 9;    // RAM 68 = 9, then 'n' 80: EEPROM writes enabled
constexpr std::uint8_t kDisableCode = 8;   // RAM 68 = 8, then 'n' 00: disabled
constexpr std::uint32_t kEnableAddress = 0x80;
constexpr std::uint32_t kDisableAddress = 0x00;
constexpr std::uint32_t kMinFlashSize = 0x10000;
constexpr std::uint32_t kMaxFlashSize = 0x1000000;
constexpr int kFlashCommandChars = 5;      // "%.3X%.2X" after the letter

bool IsUpperHex(std::uint8_t b) { return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'F'); }

std::uint32_t HexValue(std::uint8_t b) { return b <= '9' ? b - '0' : b - 'A' + 10; }

std::uint32_t ParseHex(std::string_view digits) {
    std::uint32_t v = 0;
    for (char c : digits) v = v * 16 + HexValue(static_cast<std::uint8_t>(c));
    return v;
}

std::uint32_t FlashSizeFor(const ControllerConfig& c) {
    std::uint64_t needed = std::uint64_t{c.cal_nvm_start} + 2ull * c.cal_nvm_page_size;
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(kMinFlashSize, needed));
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    out += '"';
}

}  // namespace

std::string ValidateConfig(const ControllerConfig& c) {
    auto digit = [](int v) { return v >= 0 && v <= 9; };
    if (!digit(c.product_id) || !digit(c.hardware_version)) return "product id and hardware version must be 0-9";
    if (!digit(c.firmware_major) || !digit(c.firmware_minor)) return "firmware digits must be 0-9";
    if (c.flash_block_size == 0 || c.flash_block_size > 0xFFFF) return "flash block size must be 1-65535";
    if (c.cal_buffer_size == 0 || c.cal_buffer_size > 0xFFFF) return "buffer size must be 1-65535";
    if (std::uint64_t{c.cal_buffer_start} + c.cal_buffer_size > Controller::kRamSize)
        return "the transfer buffer must lie inside the 64 KiB RAM";
    if (c.cal_nvm_page_size == 0) return "the table page size must not be 0";
    if (std::uint64_t{c.cal_nvm_start} + 2ull * c.cal_nvm_page_size > kMaxFlashSize)
        return "the flash tables must lie inside 16 MiB";
    return {};
}

Controller::Controller(ControllerConfig config) : config_(std::move(config)) {
    if (!ValidateConfig(config_).empty()) {
        auto faults = std::move(config_.faults);
        config_ = ControllerConfig{};
        config_.faults = std::move(faults);
    }
    for (const auto& f : config_.faults) AddFault(f);
    for (auto& table : eeprom_) table.fill(0xFF);
    nvm_.assign(kNvmSize, 0xFF);
    flash_.assign(FlashSizeFor(config_), 0xFF);
    UpdateDrive();
}

void Controller::AddFault(const FaultSpec& fault) {
    faults_.push_back({fault, fault.arg});
}

// ---------------------------------------------------------------------------------- time

void Controller::SetTime(std::uint64_t ms) {
    if (ms <= now_) return;
    now_ = ms;
    if (abandon_window_start_ && now_ - *abandon_window_start_ > kAbandonWindowMs) abandon_window_start_.reset();
    UpdateDrive();
}

void Controller::UpdateDrive() {
    if (!config_.drive) return;
    // The car shifts where the calibration written into the controller says.
    const auto schedule = ShiftSchedule::FromEeprom(eeprom_[0]);
    DriveState s = DriveAt(now_, schedule ? &*schedule : nullptr);
    ram_[ram::kTps] = s.tps;
    ram_[ram::kBaseTps] = 0;
    ram_[ram::kGear] = s.gear;
    ram_[ram::kCommandedGear] = s.gear;
    ram_[ram::kOldGear] = s.old_gear;
    ram_[ram::kVssNewH] = static_cast<std::uint8_t>(s.speed_tenths_mph >> 8);
    ram_[ram::kVssNewL] = static_cast<std::uint8_t>(s.speed_tenths_mph & 0xFF);
    ram_[ram::kVssOldH] = static_cast<std::uint8_t>(s.previous_speed_tenths_mph >> 8);
    ram_[ram::kVssOldL] = static_cast<std::uint8_t>(s.previous_speed_tenths_mph & 0xFF);
    ram_[ram::kErrFlag] = 0;
    ram_[ram::kConverterClutch] = s.converter_clutch;
    ram_[ram::kVssFrequency] = s.vss_frequency;
    ram_[ram::kSolenoidPattern1] = s.solenoid_pattern;
    ram_[ram::kLinePressure] = s.line_pressure;
    ram_[ram::kEct] = s.ect;
    ram_[ram::kTot] = s.tot;
    ram_[ram::kVref] = s.vref;
    ram_[ram::kVbatx] = s.vbatx;
}

// ------------------------------------------------------------------------------ the link

void Controller::Receive(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) Receive(data[i]);
}

void Controller::Receive(std::string_view bytes) {
    Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void Controller::Receive(std::uint8_t byte) {
    if (unplugged_) return;
    ++bytes_received_;
    ++stats_.bytes_received;
    if (const ActiveFault* f = FindFault(FaultKind::SilentAfter); f && bytes_received_ == f->fault.arg + 1)
        NoteFault(FaultKind::SilentAfter);
    Dispatch(byte);
    if (const ActiveFault* f = FindFault(FaultKind::UnplugAfter); f && bytes_received_ >= f->fault.arg) {
        unplugged_ = true;
        output_.clear();
        NoteFault(FaultKind::UnplugAfter);
    }
}

std::vector<std::uint8_t> Controller::TakeOutput() {
    std::vector<std::uint8_t> out;
    while (!output_.empty() && output_.front().due <= now_) {
        out.push_back(output_.front().byte);
        output_.pop_front();
    }
    stats_.bytes_sent += out.size();
    return out;
}

std::string Controller::TakeOutputText() {
    auto bytes = TakeOutput();
    return std::string(bytes.begin(), bytes.end());
}

std::optional<std::uint64_t> Controller::NextOutputTime() const {
    if (output_.empty()) return std::nullopt;
    return output_.front().due;
}

void Controller::ResetLink() {
    state_ = State::Idle;
    packet_escape_ = false;
    abandon_window_start_.reset();
    output_.clear();
}

void Controller::Dispatch(std::uint8_t byte) {
    switch (state_) {
        case State::Idle: Idle(byte); break;
        case State::Address: OnAddressDigit(byte); break;
        case State::ValueFirst:
            if (IsUpperHex(byte)) {
                Emit(byte);
                value_high_ = static_cast<std::uint8_t>(HexValue(byte));
                state_ = State::ValueSecond;
            } else {
                Resync(byte);  // a new command letter: the byte read is not changed
            }
            break;
        case State::ValueSecond:
            if (IsUpperHex(byte)) {
                Emit(byte);
                state_ = State::Idle;
                StoreByte(static_cast<std::uint8_t>(value_high_ * 16 + HexValue(byte)));
            } else {
                Resync(byte);
            }
            break;
        case State::PacketHeader: OnPacketHeader(byte); break;
        case State::PacketData: OnPacketData(byte); break;
        case State::FlashCommand: OnFlashCommand(byte); break;
    }
}

void Controller::Resync(std::uint8_t byte) {
    state_ = State::Idle;
    Idle(byte);
}

void Controller::Idle(std::uint8_t byte) {
    if (byte == kEndMarker && abandon_window_start_) {
        abandon_window_start_.reset();
        ++stats_.aborts;
        return;
    }
    abandon_window_start_.reset();
    switch (byte) {
        case 'e': case 'i': case 'l': case 'f': case 'n': case 'w': case 'v':
        case 'u': case 'd': case 'b': case 'r':
            StartCommand(static_cast<char>(byte));
            break;
        default:
            break;  // line noise, carriage returns from a terminal: ignored
    }
}

void Controller::StartCommand(char letter) {
    ++stats_.commands[letter];
    Emit(FireCountFault(FaultKind::BadEcho) ? kBadEcho : static_cast<std::uint8_t>(letter));
    letter_ = letter;
    address_ = 0;
    digits_seen_ = 0;
    header_.clear();
    switch (letter) {
        case 'u': case 'd':
            state_ = State::PacketHeader;
            break;
        case 'b': case 'r':
            state_ = State::FlashCommand;
            break;
        default:
            digits_needed_ = AddressDigits(letter);
            state_ = State::Address;
            break;
    }
}

int Controller::AddressDigits(char letter) const {
    switch (letter) {
        case 'l': return 3;
        case 'f': case 'n': return 2 + static_cast<int>(config_.memory);
        default: return 2;  // 'e', 'i', 'w', 'v'
    }
}

int Controller::PacketAddressDigits() const { return config_.memory == MemoryType::Flash2 ? 4 : 3; }

// ------------------------------------------------------------------------ byte commands

void Controller::OnAddressDigit(std::uint8_t byte) {
    if (!IsUpperHex(byte)) {
        Resync(byte);  // the command was given up; this may start the next one
        return;
    }
    Emit(byte);
    address_ = address_ * 16 + HexValue(byte);
    if (++digits_seen_ == digits_needed_) AnswerByteCommand();
}

void Controller::AnswerByteCommand() {
    state_ = State::ValueFirst;
    switch (letter_) {
        case 'e': case 'i':
            EmitHex(eeprom_[EepromPage()][address_ & 0xFF], 2);
            break;
        case 'l':
            EmitHex(nvm_[address_ % kNvmSize], 2);
            break;
        case 'f':
            EmitHex(ram_[address_ & 0xFFFF], 2);
            break;
        case 'n':
            // Control command: with the enable or disable code in RAM 68, the addresses 80 and 00
            // switch EEPROM writing on and off. The answer is the resulting state.
            if (ram_[kEepromPageRegister] == kEnableCode && address_ == kEnableAddress) eeprom_write_enabled_ = true;
            if (ram_[kEepromPageRegister] == kDisableCode && address_ == kDisableAddress) eeprom_write_enabled_ = false;
            EmitHex(eeprom_write_enabled_ ? 1 : 0, 2);
            break;
        case 'w':
            Emit(static_cast<std::uint8_t>('0' + config_.firmware_major));
            Emit(static_cast<std::uint8_t>('0' + config_.firmware_minor));
            break;
        case 'v':
            Emit(static_cast<std::uint8_t>('0' + config_.product_id));
            Emit(static_cast<std::uint8_t>('0' + config_.hardware_version));
            break;
        default:
            break;
    }
}

void Controller::StoreByte(std::uint8_t value) {
    switch (letter_) {
        case 'e': case 'i':
            if (eeprom_write_enabled_)
                eeprom_[EepromPage()][address_ & 0xFF] = value;
            else
                ++stats_.eeprom_writes_ignored;
            Confirm();
            break;
        case 'l':
            nvm_[address_ % kNvmSize] = value;
            Confirm();
            break;
        case 'f': {
            auto address = static_cast<std::uint16_t>(address_ & 0xFFFF);
            ram_[address] = value;
            if (address == ram::kTableWritten || address == ram::kFlashTableWritten)
                recorded_writes_.push_back({address, value});
            break;
        }
        default:
            break;  // 'n', 'w', 'v' store nothing
    }
}

// ----------------------------------------------------------------------- block packets

void Controller::OnPacketHeader(std::uint8_t byte) {
    if (byte == kEndMarker) {
        Abandon();
        return;
    }
    if (!IsUpperHex(byte)) {
        Resync(byte);
        return;
    }
    Emit(byte);
    header_.push_back(static_cast<char>(byte));
    const int address_digits = PacketAddressDigits();
    if (static_cast<int>(header_.size()) < address_digits + 2) return;

    address_ = ParseHex(std::string_view(header_).substr(0, address_digits));
    std::uint32_t count_less_one = ParseHex(std::string_view(header_).substr(address_digits, 2));
    packet_count_ = count_less_one + 1;
    packet_checksum_ = static_cast<std::uint8_t>(letter_) + ((address_ >> 8) & 0xFF) + (address_ & 0xFF) + count_less_one;
    if (letter_ == 'd') {
        state_ = State::Idle;
        SendDownload();
        return;
    }
    state_ = State::PacketData;
    packet_data_.clear();
    packet_part_ = PacketPart::Data;
    packet_escape_ = false;
    packet_bad_ = false;
}

void Controller::OnPacketData(std::uint8_t byte) {
    if (packet_escape_) {
        packet_escape_ = false;
        if (byte != 0) Emit(byte);
        switch (byte) {
            case 0x01: AcceptPacketByte(0x00); break;
            case 0x02: AcceptPacketByte(kEscape); break;
            case 0x03: AcceptPacketByte(kEndMarker); break;
            default:
                packet_bad_ = true;  // not an escape sequence: the packet is spoilt
                AcceptPacketByte(byte);
                break;
        }
        return;
    }
    if (byte == kEndMarker) {
        Abandon();  // a bare 0x77 never occurs inside a packet: the tool gave up
        return;
    }
    if (byte == kEscape) {
        Emit(byte);
        packet_escape_ = true;
        return;
    }
    if (byte == 0x00)
        packet_bad_ = true;  // zero bytes must be escaped; it cannot be echoed either
    else
        Emit(byte);
    AcceptPacketByte(byte);
}

void Controller::AcceptPacketByte(std::uint8_t value) {
    switch (packet_part_) {
        case PacketPart::Data:
            packet_data_.push_back(value);
            packet_checksum_ += value;
            if (packet_data_.size() == packet_count_) packet_part_ = PacketPart::Marker;
            break;
        case PacketPart::Marker:
            if (value != kEndMarker) packet_bad_ = true;
            packet_checksum_ += kEndMarker;
            packet_part_ = PacketPart::ChecksumLow;
            break;
        case PacketPart::ChecksumLow:
            packet_checksum_low_ = value;
            packet_part_ = PacketPart::ChecksumHigh;
            break;
        case PacketPart::ChecksumHigh: {
            std::uint32_t received = packet_checksum_low_ | (std::uint32_t{value} << 8);
            if (received != (packet_checksum_ & 0xFFFF)) packet_bad_ = true;
            FinishUpload();
            break;
        }
    }
}

void Controller::FinishUpload() {
    state_ = State::Idle;
    if (!packet_bad_ && FireCountFault(FaultKind::BadChecksum)) packet_bad_ = true;
    if (packet_bad_) {
        ++stats_.packets_rejected;
        Refuse();
        return;
    }
    for (std::size_t i = 0; i < packet_data_.size(); ++i) ram_[(address_ + i) & 0xFFFF] = packet_data_[i];
    ++stats_.packets_up;
    Confirm();
}

void Controller::SendDownload() {
    std::uint32_t sum = packet_checksum_;
    for (std::uint32_t i = 0; i < packet_count_; ++i) {
        std::uint8_t b = ram_[(address_ + i) & 0xFFFF];
        EmitEscaped(b);
        sum += b;
    }
    sum += kEndMarker;
    if (FireCountFault(FaultKind::BadChecksum)) sum += 1;
    Emit(kEndMarker);  // the end marker goes out bare: inside the data a 0x77 is always escaped
    EmitEscaped(static_cast<std::uint8_t>(sum & 0xFF));
    EmitEscaped(static_cast<std::uint8_t>((sum >> 8) & 0xFF));
    ++stats_.packets_down;
    Confirm();
}

// ------------------------------------------------------------------- flash burn and load

void Controller::OnFlashCommand(std::uint8_t byte) {
    if (byte == kEndMarker) {
        Abandon();
        return;
    }
    if (!IsUpperHex(byte)) {
        Resync(byte);
        return;
    }
    Emit(byte);
    header_.push_back(static_cast<char>(byte));
    if (static_cast<int>(header_.size()) < kFlashCommandChars) return;
    state_ = State::Idle;
    std::uint32_t block = ParseHex(std::string_view(header_).substr(0, 3));
    std::uint32_t count = ParseHex(std::string_view(header_).substr(3, 2)) + 1;
    if (letter_ == 'b')
        Burn(block, count);
    else
        Load(block, count);
    abandon_window_start_ = now_;
}

void Controller::Burn(std::uint32_t block, std::uint32_t count) {
    const std::uint32_t size = config_.flash_block_size;
    const ActiveFault* fail = FindFault(FaultKind::BurnFail);
    std::optional<std::uint32_t> failed_at;
    for (std::uint32_t k = 0; k < count && !failed_at; ++k) {
        const std::uint64_t flash_address = std::uint64_t{block + k} * size;
        const std::uint64_t ram_address = std::uint64_t{config_.cal_buffer_start} + std::uint64_t{k} * size;
        if (flash_address + size > flash_.size()) {
            failed_at = static_cast<std::uint32_t>(std::min<std::uint64_t>(flash_address, 0xFFFFFF));
            break;
        }
        if (ram_address + size > kRamSize) {
            failed_at = static_cast<std::uint32_t>(flash_address);
            break;
        }
        if (fail && fail->fault.arg == block + k) {
            NoteFault(FaultKind::BurnFail);
            failed_at = static_cast<std::uint32_t>(flash_address);  // the block keeps its old content
            break;
        }
        std::copy_n(ram_.begin() + static_cast<std::ptrdiff_t>(ram_address), size,
                    flash_.begin() + static_cast<std::ptrdiff_t>(flash_address));
        // Verify the block against the buffer as the controller does after programming.
        for (std::uint32_t j = 0; j < size; ++j) {
            if (flash_[flash_address + j] != ram_[ram_address + j]) {
                failed_at = static_cast<std::uint32_t>(flash_address + j);
                break;
            }
        }
    }
    if (failed_at) {
        ++stats_.burns_failed;
        // The failure report: a refusal, then the failed flash address as six hex digits.
        Refuse();
        EmitHex(*failed_at & 0xFFFFFF, 6);
        return;
    }
    ++stats_.burns;
    Confirm();
}

void Controller::Load(std::uint32_t block, std::uint32_t count) {
    const std::uint32_t size = config_.flash_block_size;
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint64_t flash_address = std::uint64_t{block + k} * size;
        const std::uint64_t ram_address = std::uint64_t{config_.cal_buffer_start} + std::uint64_t{k} * size;
        if (flash_address + size > flash_.size() || ram_address + size > kRamSize) {
            ++stats_.loads_failed;
            Refuse();
            return;
        }
        std::copy_n(flash_.begin() + static_cast<std::ptrdiff_t>(flash_address), size,
                    ram_.begin() + static_cast<std::ptrdiff_t>(ram_address));
    }
    ++stats_.loads;
    Confirm();
}

void Controller::Abandon() {
    state_ = State::Idle;
    packet_escape_ = false;
    ++stats_.aborts;
}

// ----------------------------------------------------------------------------- output

void Controller::Emit(std::uint8_t byte) {
    if (byte == 0) return;  // never on the wire: the serial port drops it and HID cannot carry it
    ++bytes_produced_;
    if (const ActiveFault* f = FindFault(FaultKind::SilentAfter); f && bytes_received_ > f->fault.arg) return;
    if (const ActiveFault* f = FindFault(FaultKind::DropByte); f && bytes_produced_ == f->fault.arg) {
        NoteFault(FaultKind::DropByte);
        return;
    }
    std::uint64_t due = now_;
    if (const ActiveFault* f = FindFault(FaultKind::DelayMs)) {
        due += f->fault.arg;
        NoteFault(FaultKind::DelayMs);
    }
    output_.push_back({due, byte});
}

void Controller::EmitHex(std::uint32_t value, int digits) {
    const bool lower = FindFault(FaultKind::LowercaseHex) != nullptr;
    if (lower) NoteFault(FaultKind::LowercaseHex);
    const char* alphabet = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i) Emit(static_cast<std::uint8_t>(alphabet[(value >> (4 * i)) & 0xF]));
}

void Controller::EmitEscaped(std::uint8_t byte) {
    switch (byte) {
        case 0x00: Emit(kEscape); Emit(0x01); break;
        case kEscape: Emit(kEscape); Emit(0x02); break;
        case kEndMarker: Emit(kEscape); Emit(0x03); break;
        default: Emit(byte); break;
    }
}

void Controller::Confirm() {
    if (FireCountFault(FaultKind::NoConfirm)) return;
    Emit(kConfirm);
}

void Controller::Refuse() { Emit(kRefuse); }

// ------------------------------------------------------------------------------ faults

const Controller::ActiveFault* Controller::FindFault(FaultKind kind) const {
    for (const auto& f : faults_)
        if (f.fault.kind == kind) return &f;
    return nullptr;
}

bool Controller::FireCountFault(FaultKind kind) {
    for (auto& f : faults_) {
        if (f.fault.kind != kind || f.remaining == 0) continue;
        if (f.remaining != FaultSpec::kEvery) --f.remaining;
        NoteFault(kind);
        return true;
    }
    return false;
}

void Controller::NoteFault(FaultKind kind) { ++stats_.faults_fired[FaultName(kind)]; }

// ------------------------------------------------------------------------------ memory

std::uint32_t Controller::FlashTableAddress(int table) const {
    return config_.cal_nvm_start + static_cast<std::uint32_t>(table & 1) * config_.cal_nvm_page_size;
}

std::vector<std::uint8_t> Controller::FlashTable(int table) const {
    auto begin = flash_.begin() + FlashTableAddress(table);
    return std::vector<std::uint8_t>(begin, begin + config_.cal_nvm_page_size);
}

bool Controller::LoadFlashTable(int table, const std::vector<std::uint8_t>& image) {
    if (image.size() > config_.cal_nvm_page_size) return false;
    std::copy(image.begin(), image.end(), flash_.begin() + FlashTableAddress(table));
    return true;
}

bool Controller::LoadEeprom(int table, const std::vector<std::uint8_t>& image) {
    if (image.size() > kEepromTableSize) return false;
    std::copy(image.begin(), image.end(), eeprom_[table & 1].begin());
    return true;
}

std::string Controller::StatsJson() const {
    std::string out = "{";
    auto field = [&out](const char* name, std::uint64_t value) {
        if (out.size() > 1) out += ',';
        AppendJsonString(out, name);
        out += ':' + std::to_string(value);
    };
    field("bytes_received", stats_.bytes_received);
    field("bytes_sent", stats_.bytes_sent);
    out += ",\"commands\":{";
    bool first = true;
    for (const auto& [letter, count] : stats_.commands) {
        if (!first) out += ',';
        first = false;
        AppendJsonString(out, std::string(1, letter));
        out += ':' + std::to_string(count);
    }
    out += '}';
    out += ",\"packets\":{\"up\":" + std::to_string(stats_.packets_up) + ",\"down\":" +
           std::to_string(stats_.packets_down) + ",\"rejected\":" + std::to_string(stats_.packets_rejected) + '}';
    out += ",\"burns\":{\"ok\":" + std::to_string(stats_.burns) + ",\"failed\":" + std::to_string(stats_.burns_failed) + '}';
    out += ",\"loads\":{\"ok\":" + std::to_string(stats_.loads) + ",\"failed\":" + std::to_string(stats_.loads_failed) + '}';
    field("aborts", stats_.aborts);
    field("eeprom_writes_ignored", stats_.eeprom_writes_ignored);
    out += ",\"table_written\":[";
    for (std::size_t i = 0; i < recorded_writes_.size(); ++i) {
        if (i) out += ',';
        out += "{\"address\":" + std::to_string(recorded_writes_[i].address) +
               ",\"value\":" + std::to_string(recorded_writes_[i].value) + '}';
    }
    out += "],\"faults_fired\":{";
    first = true;
    for (const auto& [name, count] : stats_.faults_fired) {
        if (!first) out += ',';
        first = false;
        AppendJsonString(out, name);
        out += ':' + std::to_string(count);
    }
    out += "}}";
    return out;
}

}  // namespace korvath::sim
