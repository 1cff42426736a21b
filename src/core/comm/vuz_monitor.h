#pragma once
// CTCS_Monitor: the tool's side of the controller's resident monitor. Every character sent is
// checked against the controller's echo; after an address the controller answers with the
// addressed byte as two hexadecimal digits, and two more digits store a new value.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comm/byte_transport.h"
#include "comm/data_items.h"
#include "formula/formulaparser.h"

namespace korvath {

class MonitorClient;
class PacketProgress;
class PollObserver;
class TimerHost;

class CTCS_Monitor {
public:
    // Marks "no value" (read only) wherever an operation takes an integer value.
    static constexpr std::int32_t kNoValue = -1000;

    // Timer periods of the link.
    static constexpr unsigned kLinkLostPeriodMs = 1000;
    static constexpr unsigned kSuspendPeriodMs = 8000;
    static constexpr std::int32_t kDefaultDashboardPeriodMs = 100;
    static constexpr std::int32_t kDefaultDataLogPeriodMs = 50;

    // Takes ownership of the transport and opens it at 9600 baud (a failure is not shown;
    // the link timer keeps trying). timer may be null (no periodic link check); without a
    // transport every exchange fails as a failed send.
    CTCS_Monitor(std::unique_ptr<ByteTransport> transport, TimerHost* timer);
    ~CTCS_Monitor();
    CTCS_Monitor(const CTCS_Monitor&) = delete;
    CTCS_Monitor& operator=(const CTCS_Monitor&) = delete;

    // --- exchanges ---
    bool send_echo(char ch, std::string& errorText);
    bool send_command(char letter, std::string_view addressText, std::string& resultText, std::string& errorText);
    bool write_value(bool waitForC, std::string_view valueText, std::string& errorText);
    bool read_wrt_cmd(char letter, std::string_view addressText, std::string& valueText, std::string& errorText);
    // valueBefore, when given, receives the digits the controller held before the write.
    bool test_and_write_NVM(char letter, std::string_view addressText, std::string& valueText,
                            std::string& errorText, std::string* valueBefore = nullptr);
    // valueBefore, when given, receives the byte the address held before the write (it is read
    // first anyway); it stays untouched when that read failed.
    bool write_NVM(char letter, std::int32_t address, std::int32_t value, std::string& errorText,
                   std::uint16_t* valueBefore = nullptr);
    bool read_NVM(char letter, std::int32_t address, std::uint16_t& value, std::string& errorText);
    bool access_RAM(char letter, std::int32_t address, std::int32_t& value, std::string& errorText);

    // --- named RAM variables ---
    static std::uint16_t find_RAM_address(std::string_view name);
    std::int16_t read_RAM_variable(std::string_view name);

    // --- versions and EEPROM writing ---
    std::int32_t query_versions(std::uint16_t* productId, std::uint16_t* hardwareVersion,
                                std::uint16_t* firmwareMajor, std::uint16_t* firmwareMinor);
    bool enable_EEPROM_write();
    bool disable_EEPROM_write();

    // How the controller took the firmware query: answered (firmware holds the two digits), not
    // known to it (old firmware), or no sound answer from a line that garbles it.
    enum class FirmwareAnswer { Answered, NotKnown, Garbled };
    static constexpr char kFirmwareQueryLetter = 'w';
    static constexpr const char* kFirmwareQueryAddress = "00";
    FirmwareAnswer query_firmware(std::string& firmware);

    // --- state ---
    void set_NVM_type(std::int32_t n);
    void set_connected(std::int32_t state);
    std::int32_t is_connected() const { return connected_; }
    void set_document(MonitorClient* document) { document_ = document; }
    MonitorClient* document() const { return document_; }
    bool reopen(std::string& errorText);
    bool purge();
    bool is_usb() const;
    void suspend();

    // One tick of the link timer. Without live-data items it keeps the link: while
    // disconnected it reopens the port, and it asks the document to identify the controller.
    void poll();

    // Addressing modes (long, EEPROM, RAM) as set_NVM_type leaves them.
    std::int32_t long_mode() const { return longMode_; }
    std::int32_t eeprom_mode() const { return eepromMode_; }
    std::int32_t ram_mode() const { return ramMode_; }
    std::int32_t dashboard_period() const { return dashboardPeriod_; }
    std::int32_t data_log_period() const { return dataLogPeriod_; }

    // The address digits of a mode (0: 2 digits, 1: 3, 2: 4), clamped to the mode's range.
    static std::string FormatAddress(std::int32_t mode, std::int32_t address);
    // A byte value as two digits, clamped to 0-255; kNoValue gives an empty text.
    static std::string FormatValue(std::int32_t value);
    // Whether the letter is confirmed with 'c' after a store.
    static bool WaitsForConfirm(char letter);

    ByteTransport* transport() const { return transport_.get(); }

    // --- block packets (comm/block_packets.cpp): the flash transfer's binary packets into and
    // out of the controller's RAM buffer, and the burn and load commands between that buffer and
    // flash. Results as in comm/block_packets.h.
    std::uint8_t upload_block(const std::uint8_t* image, std::int32_t start, std::int32_t address, std::int32_t count,
                              std::int32_t nvmType, std::string& statusText);
    std::uint16_t download_block(std::uint8_t* image, std::int32_t start, std::int32_t address, std::int32_t count,
                                 std::string& statusText);
    std::uint8_t burn_flash(std::int32_t block, std::int32_t count, std::string& errorText);
    std::uint8_t load_flash(std::int32_t block, std::int32_t count, std::string& errorText);
    std::uint16_t read_unescaped();
    // Receives the status text with its dots while packets move (none: no progress shown).
    void set_packet_progress(PacketProgress* progress) { packetProgress_ = progress; }

private:
    void put_raw(std::uint8_t byte);
    void put_escaped(std::uint8_t byte);
    void add_checksum(std::uint8_t byte);
    void put_packet_header(char letter, std::int32_t address, std::int32_t countLessOne);
    void packet_progress(std::int32_t index, std::string& statusText);

    std::uint16_t packetChecksum_ = 0;
    std::int32_t packetPending_ = 0;
    std::vector<std::uint8_t> packet_;
    PacketProgress* packetProgress_ = nullptr;
    // --- end block packets

private:
    std::int32_t ModeForLetter(char letter) const;
    // The period the link timer runs at while the link works; 0 when there is none.
    unsigned LiveDataPeriod() const;
    void RestartTimer(unsigned periodMs);
    void StopTimer();

    std::int32_t logItemCount_ = 0;
    std::int32_t monitorItemCount_ = 0;
    std::int32_t dataLogPeriod_ = kDefaultDataLogPeriodMs;
    std::int32_t dashboardPeriod_ = kDefaultDashboardPeriodMs;
    std::int32_t connected_ = 1;
    std::int32_t pollCursor_ = 0;
    MonitorClient* document_ = nullptr;
    std::int32_t itemCount_ = 0;
    TimerHost* timer_ = nullptr;
    bool timerRunning_ = false;
    std::int32_t longMode_ = 1;
    std::int32_t eepromMode_ = 0;
    std::int32_t ramMode_ = 0;
    std::unique_ptr<ByteTransport> transport_;

    // --- live data items (vuz_monitor_poll.cpp)
public:
    // Reads "[DataItems]" of the document's definition into at most 20 items, registers the
    // receiver and sets the poll period. Returns the handle 1, or 0 when there is no document or
    // no section (nothing is registered then).
    std::int32_t load_data_items(MonitorClient* document, LiveDataReceiver receiver);
    // Unregisters the receiver of the handle, forgets every item, slows the timer to 1000 ms.
    void unload_data_items(std::int32_t handle);
    // Makes every item due at once, puts the cursor on the last item, marks the link lost.
    void mark_link_lost();
    std::int32_t item_count() const { return itemCount_; }
    const DataItem& data_item(std::int32_t index) const { return items_.at(static_cast<std::size_t>(index)); }
    std::int32_t monitor_item_count() const { return monitorItemCount_; }
    std::int32_t log_item_count() const { return logItemCount_; }
    std::int32_t poll_cursor() const { return pollCursor_; }
    // Sees every reading, crosshair coordinate, link change and round (null: none). Not owned.
    void set_poll_observer(PollObserver* observer) { observer_ = observer; }
    PollObserver* poll_observer() const { return observer_; }

private:
    // Picks the next due item, counting the visits of the items passed over; -1 when none is due.
    std::int32_t NextDueItem();
    void PollItem(DataItem& item);
    void Deliver(std::int32_t index, const char* text, const float* value);
    // The cursor to the next item; a return to the first ends a round.
    void AdvanceCursor();

    std::array<DataItem, live_data::kMaxItems> items_{};
    std::array<LiveDataReceiver, live_data::kReceiverSlots> receivers_{};
    FormulaParser evaluator_;
    bool polling_ = false;  // a tick is under way (a message box inside it may dispatch another)
    PollObserver* observer_ = nullptr;
    // --- end of live data items
};

}  // namespace korvath
