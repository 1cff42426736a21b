// The document's calibration transfer: the image built from the calibration goes to the
// controller's NVM table byte by byte (EEPROM) or in block packets through the controller's RAM
// buffer (flash), and comes back the same way.

#include "document/transfer.h"

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "comm/block_packets.h"
#include "comm/comm_texts.h"
#include "definition/definition_listing.h"
#include "document/qrndoc.h"
#include "definition/readback_decoder.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

using namespace transfer_text;

constexpr unsigned kErrorBox = MessageStyle::IconError | MessageStyle::TaskModal;
constexpr std::int32_t kEepromTableSize = 256;
constexpr std::int32_t kMaxImageSize = 32767;  // image positions are signed 16-bit
constexpr std::int32_t kPacketSize = packet::kMaxCount;
constexpr std::int32_t kEepromProgressEvery = 10;
constexpr std::size_t kMaxStatusLength = 150;
constexpr unsigned kEepromRetryDelayMs = 23;
constexpr unsigned kLastFlashBlock = 0xFFF;
constexpr unsigned kMaxBlocksPerBuffer = 256;

// RAM registers of the controller.
constexpr std::int32_t kEepromPageRegister = 68;
constexpr std::int32_t kTableWrittenRegister = 69;
constexpr std::int32_t kFlashTableWrittenRegister = 0x1045;
constexpr std::int32_t kFlashTableWrittenValue = 0x40;

// Whether the image holds tables that are read into the curves.
bool HoldsCurves(const VariableTable& table) {
    for (int i = 0; i < table.count && i < kMaxVariables; ++i) {
        const VariableSlot& slot = table.slots[static_cast<std::size_t>(i)];
        if (slot.type == VarType::T8 && slot.location != 0) return true;
    }
    return false;
}

std::uint32_t CeilDiv(std::uint32_t a, std::uint32_t b) { return (a + b - 1) / b; }

// Flash blocks to move for the rest of the image from `offset` in the RAM buffer: enough to
// cover it, at most one buffer.
std::uint32_t BlocksFor(std::uint32_t remaining, std::uint32_t offset, std::uint32_t blockSize,
                        std::uint32_t perBuffer) {
    const std::uint32_t n = CeilDiv(remaining + offset, blockSize);
    return n >= perBuffer ? perBuffer : n;
}

// The status text grows by a dot at each step and stops growing at a line's length.
void AddDot(std::string& status) {
    if (status.size() < kMaxStatusLength) status += '.';
}

// Status texts and progress of a packet transfer on their way to the status bar.
class TransferProgress final : public PacketProgress {
public:
    TransferProgress(CQRNDoc& doc, std::int32_t total) : doc_(doc), total_(static_cast<std::uint32_t>(total)) {
        if (doc_.monitor()) doc_.monitor()->set_packet_progress(this);
    }
    ~TransferProgress() override {
        if (doc_.monitor()) doc_.monitor()->set_packet_progress(nullptr);
    }
    TransferProgress(const TransferProgress&) = delete;
    TransferProgress& operator=(const TransferProgress&) = delete;

    void ShowPacketStatus(const std::string& statusText, std::uint32_t bytesDone) override {
        doc_.ShowStatus(statusText);
        doc_.host().status.SetProgress(bytesDone, total_);
    }

private:
    CQRNDoc& doc_;
    std::uint32_t total_;
};

}  // namespace

std::string CheckTransferLayout(const ImageLayout& layout, int table, int ramMode) {
    const std::int32_t size = layout.TotalBlockSize;
    if (size <= 0 || size > kMaxImageSize) return FormatText(kImageSizeFormat, size);
    if (layout.NVMType == 0) {
        if (size > kEepromTableSize) return FormatText(kEepromImageTooLargeFormat, size);
        return {};
    }
    const auto blockSize = static_cast<std::uint16_t>(layout.FlashBlockSize);
    const auto bufferSize = static_cast<std::uint16_t>(layout.CalBufferSize);
    if (blockSize == 0) return kZeroFlashBlockSize;
    if (bufferSize == 0 || bufferSize % kPacketSize != 0 || bufferSize % blockSize != 0 ||
        bufferSize / blockSize > kMaxBlocksPerBuffer)
        return FormatText(kBadCalBufferSizeFormat, unsigned{bufferSize}, unsigned{blockSize});
    const std::int64_t first = layout.CalBufferStart;
    const std::int64_t last = first + bufferSize - 1;
    const std::int64_t top = ramMode == 2 ? 0xFFFF : 0xFFF;
    if (first < 0 || last > top)
        return FormatText(kBufferOutOfRangeFormat, static_cast<unsigned>(std::max<std::int64_t>(first, 0)),
                          static_cast<unsigned>(std::max<std::int64_t>(last, 0)), static_cast<unsigned>(top));
    const std::uint32_t firstBlock = static_cast<std::uint32_t>(layout.CalNVMStart) / blockSize +
                                     static_cast<std::uint32_t>(table) * static_cast<std::uint32_t>(layout.CalNVMPageSize) /
                                         blockSize;
    const std::uint32_t lastBlock = firstBlock + CeilDiv(static_cast<std::uint32_t>(size), blockSize) - 1;
    if (lastBlock > kLastFlashBlock) return FormatText(kFlashBlocksOutOfRangeFormat, table + 1, lastBlock);
    return {};
}

std::string ReadbackTitle(const std::string& pathName, int table) {
    const std::size_t slash = pathName.find_last_of("\\/");
    const std::string directory = slash == std::string::npos ? std::string() : pathName.substr(0, slash + 1);
    return FormatText(kReadbackTitleFormat, directory.c_str(), table + 1);
}

void CQRNDoc::ShowStatus(std::string_view text) { host_.status.SetStatusText(text); }

std::int32_t CQRNDoc::SelectedTable() const {
    // Only 0 and 1 name a table; anything else a file may hold counts as table #2, so that no
    // other value ever reaches the controller's page register.
    return cal_.viewState.SelectedTable() == 0 ? 0 : 1;
}

void CQRNDoc::OnSelectTable(int table) {
    cal_.viewState.SetSelectedTable(table == 0 ? 0 : 1);
    SetModifiedFlag();
}

std::string CQRNDoc::OnReadCalibration(const std::string& pathName, bool* ok) {
    std::string title = ReadbackTitle(pathName, SelectedTable());
    const bool transferred = TransferCalibration(0);
    RefreshViews(1);
    RefreshSettingsSheet(0);
    if (ok) *ok = transferred;
    return title;
}

bool CQRNDoc::TransferCalibration(int direction) {
    const bool writing = direction == 1;
    const char* caption = writing ? kWriteCaption : kReadCaption;
    const std::int32_t table = SelectedTable();
    auto refuse = [&](const std::string& why) {
        ShowMessage(why, caption, kErrorBox);
        return false;
    };
    // A definition the transfer cannot carry is refused before anything goes to the controller,
    // and again after the identification, which may have switched the definition.
    auto layoutProblem = [&] { return CheckTransferLayout(layout(), table, monitor_ ? monitor_->ram_mode() : 0); };
    // A restore point's image is written once, whatever becomes of this write.
    std::vector<std::uint8_t> imageToWrite = std::move(imageToWrite_);
    imageToWrite_.clear();
    const std::size_t imageToWriteKnown = imageToWriteKnown_;
    if (std::string why = layoutProblem(); !why.empty()) return refuse(why);
    tableProgress_ = {};
    // A write that could keep no restore point stops before anything is sent.
    if (writing && restorePoints_) {
        if (std::string why = restorePoints_->CheckRoom(*this, static_cast<std::size_t>(layout().TotalBlockSize));
            !why.empty())
            return refuse(why);
    }

    if (!IdentifyController(0, 1)) return refuse(writing ? kNoControllerWrite : kNoControllerRead);
    if (std::string why = layoutProblem(); !why.empty()) return refuse(why);
    // Written on another controller's layout the image would land in the wrong places; read, it
    // may still name its definition in this controller's directory (below).
    auto noDefinition = [&] {
        const auto& hw = cal_.hardware;
        return refuse(FormatText(kNoDefinitionForControllerFormat, hw.Get(HardwareField::DeviceType),
                                 hw.Get(HardwareField::FirmwareVersion), hw.Get(HardwareField::FirmwareVersionMinor),
                                 definitionDirectory_.c_str()));
    };
    if (writing && controllerWithoutDefinition_) return noDefinition();

    const ImageLayout& l = layout();
    const std::int32_t size = l.TotalBlockSize;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size), l.NVMType > 1 ? 0xFF : 0x00);
    std::string errorText;
    const bool eeprom = l.NVMType == 0;
    auto transferTable = [&](int dir) {
        return eeprom ? TransferEepromTable(image.data(), size, table, errorText, dir)
                      : TransferFlashTable(image.data(), size, table, errorText, dir);
    };

    if (writing) {
        std::size_t writeLimit = image.size();
        if (!imageToWrite.empty()) {
            if (imageToWrite.size() != image.size()) return refuse(kRestorePointDoesNotFit);
            image = std::move(imageToWrite);
            writeLimit = std::min(imageToWriteKnown, image.size());
        } else if (!ExchangeImage(image.data(), image.size(), 1)) {
            return refuse(kImageNotBuilt);
        }
        return WriteImage(image, table, writeLimit);
    }

    if (!transferTable(0)) {
        // What came before the failure is kept, marked incomplete; the table transfer has
        // shown its message.
        KeepRestorePoint({RestoreReason::Read, table, image, tableProgress_.bytesDone});
        return false;
    }

    // Only now does the calibration change; should the image not fit, it is put back as it was.
    Calibration before = cal_;
    DefinitionReader readerBefore = reader_;
    bool definitionChanged = false;
    const bool withoutDefinitionBefore = controllerWithoutDefinition_;
    auto restore = [&] {
        cal_ = before;
        reader_ = readerBefore;
        controllerWithoutDefinition_ = withoutDefinitionBefore;
        if (monitor_) monitor_->set_NVM_type(layout().NVMType);
        if (definitionChanged) {
            RefreshViews(1);
            RefreshSettingsSheet(0);
        }
    };
    CTransReadbackDecoder decoder(readbackChooser_);
    std::string definitionName;
    if (decoder.DecodeReadback(definitionDirectory_, definitionName, image.data(), image.size())) {
        // A definition named by the signature file that cannot be read leaves the one in use.
        if (LoadDefinitionFile(DefinitionFilePath(definitionDirectory_, definitionName))) {
            cal_.application.DefinitionFileName = definitionName;
            controllerWithoutDefinition_ = false;
            ReadApplicationID();
            // The new definition brings its own formula lists; appended to the old ones they
            // would run twice and grow with every read.
            ResetVariableTable(0);
            definitionChanged = true;
            if (!ReadDeclarations(0)) {
                restore();
                return refuse(kImageNotTaken);
            }
            RefreshViews(1);
            RefreshSettingsSheet(0);
        } else {
            reader_ = readerBefore;
        }
    }
    if (controllerWithoutDefinition_) {
        restore();
        return noDefinition();
    }
    // A calibration that carries no definition text (a new one) has no conversions for its
    // curves, which would come back as zeros: the definition it names is read for the read and
    // kept, as one the signature file names is.
    if (reader_.text().empty() && HoldsCurves(cal_.variables)) {
        const std::string path = FindDefinitionFile(definitionDirectory_, cal_.application.DefinitionFileName);
        if (path.empty() || !LoadDefinitionFile(path)) {
            restore();
            return refuse(FormatText(kNoCurveConversionsFormat, cal_.application.DefinitionFileName.c_str()));
        }
        BindGraphicalTuningTraces();
    }
    if (!ExchangeImage(image.data(), image.size(), 0)) {
        restore();
        return refuse(kImageNotTaken);
    }
    SetModifiedFlag();
    SetHeld(cal_.application.DefinitionFileName, cal_.application.TransmissionType);
    KeepRestorePoint({RestoreReason::Read, table, std::move(image), static_cast<std::size_t>(size)});
    return true;
}

bool CQRNDoc::TransferEepromTable(std::uint8_t* image, std::int32_t size, std::int32_t table, std::string& errorText,
                                  int direction) {
    if (!monitor_) return false;
    CTCS_Monitor& m = *monitor_;
    StatusHost& progress = host_.status;
    const bool writing = direction == 1;
    if (writing && !m.enable_EEPROM_write()) return false;
    std::string status = FormatText(writing ? kWritingFormat : kReadingFormat, table + 1);

    std::int32_t page = table;
    if (!m.access_RAM('f', kEepromPageRegister, page, errorText)) {
        ShowMessage(errorText, kPageSelectCaption, kErrorBox);
        progress.SetProgress(0, 0);
        return false;
    }
    const auto total = static_cast<std::uint32_t>(size);
    // A restore point that knows only the first bytes of a table writes only those.
    const std::int32_t last =
        writing && eepromWriteLimit_ < static_cast<std::size_t>(size) ? static_cast<std::int32_t>(eepromWriteLimit_) : size;
    // The write reads every byte before it stores it: that is the table as it was.
    auto noteBefore = [&](std::int32_t i, std::uint16_t value) {
        if (eepromBefore_ && value <= 0xFF && static_cast<std::size_t>(i) == eepromBefore_->knownBytes &&
            eepromBefore_->knownBytes < eepromBefore_->image.size())
            eepromBefore_->image[eepromBefore_->knownBytes++] = static_cast<std::uint8_t>(value);
    };
    for (std::int32_t i = 0; i < last; ++i) {
        if (i % kEepromProgressEvery == 0) {
            ShowStatus(status);
            progress.SetProgress(static_cast<std::uint32_t>(i), total);
            AddDot(status);
        }
        if (writing) {
            tableProgress_.storing = true;
            std::uint16_t before = 0x100;  // none read
            const bool stored = m.write_NVM('e', i, image[i], errorText, &before);
            noteBefore(i, before);
            if (!stored) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kEepromRetryDelayMs));
                const std::string first = errorText;
                before = 0x100;
                const bool again = m.write_NVM('e', i, image[i], errorText, &before);
                noteBefore(i, before);
                if (!again) {
                    // A retry refused at once on a lost link says nothing new: keep the reason.
                    if (errorText == comm_text::kTestAndWritePrefix) errorText = first;
                    progress.SetProgress(0, 0);
                    return false;
                }
            }
            tableProgress_.bytesDone = std::max(tableProgress_.bytesDone, static_cast<std::size_t>(i) + 1);
        } else {
            std::uint16_t value = 0;
            for (int attempt = 0; attempt < 3; ++attempt) {
                if (!m.read_NVM('e', i, value, errorText)) {
                    ShowMessage(errorText, kByteReadCaption, kErrorBox);
                    progress.SetProgress(0, 0);
                    return false;
                }
                if (value != 0x00 && value != 0xFF) break;
            }
            image[i] = static_cast<std::uint8_t>(value);
            tableProgress_.bytesDone = static_cast<std::size_t>(i) + 1;
        }
    }
    if (writing) {
        m.disable_EEPROM_write();
        std::int32_t written = table == 0 ? 1 : 0;
        std::string ignored;
        m.access_RAM('f', kTableWrittenRegister, written, ignored);
        status = FormatText(kWriteCompleteFormat, table + 1);
    } else {
        status = FormatText(kReadCompleteFormat, table + 1);
    }
    ShowStatus(status);
    progress.SetProgress(total, total);
    return true;
}

bool CQRNDoc::TransferFlashTable(std::uint8_t* image, std::int32_t size, std::int32_t table, std::string& errorText,
                                 int direction) {
    if (!monitor_) return false;
    CTCS_Monitor& m = *monitor_;
    const ImageLayout& l = layout();
    if (!CheckTransferLayout(l, table, m.ram_mode()).empty()) return false;
    const std::uint32_t blockSize = static_cast<std::uint16_t>(l.FlashBlockSize);
    const std::uint32_t bufferSize = static_cast<std::uint16_t>(l.CalBufferSize);
    const std::int32_t bufferStart = l.CalBufferStart;
    const std::uint32_t perBuffer = bufferSize / blockSize;
    std::uint32_t block = static_cast<std::uint32_t>(l.CalNVMStart) / blockSize +
                          static_cast<std::uint32_t>(table) * static_cast<std::uint32_t>(l.CalNVMPageSize) / blockSize;
    const auto total = static_cast<std::uint32_t>(size);
    TransferProgress shown(*this, size);
    auto fail = [&](std::string_view text, std::string_view caption) {
        m.set_connected(0);
        ShowMessage(text, caption, kErrorBox);
        host_.status.SetProgress(0, 0);
        return false;
    };
    std::string status;
    std::uint32_t blocksBurned = 0;

    if (direction == 1) {
        status = FormatText(kWritingFormat, table + 1);
        for (std::int32_t pos = 0; pos < size; pos += kPacketSize) {
            const auto remaining = static_cast<std::uint32_t>(size - pos);
            const std::uint32_t offset = static_cast<std::uint32_t>(pos) % bufferSize;
            const auto address = static_cast<std::int32_t>(bufferStart + static_cast<std::int32_t>(offset));
            std::uint8_t r = m.upload_block(image, pos, address, static_cast<std::int32_t>(remaining), l.NVMType, status);
            if (r != packet::kUploadOk) {
                m.purge();
                r = m.upload_block(image, pos, address, static_cast<std::int32_t>(remaining), l.NVMType, status);
            }
            if (r != packet::kUploadOk) {
                // The text also goes back to the caller, whose message follows this one.
                errorText = r == packet::kUploadMalformed ? kMalformedPacket : kWriteTimeout;
                return fail(errorText, kFlashMemoryWriteCaption);
            }
            if (offset + kPacketSize == bufferSize || remaining <= static_cast<std::uint32_t>(kPacketSize)) {
                const auto n = static_cast<std::int32_t>(BlocksFor(remaining, offset, blockSize, perBuffer));
                tableProgress_.storing = true;
                if (m.burn_flash(static_cast<std::int32_t>(block), n, errorText) != packet::kFlashOk) {
                    m.purge();
                    if (m.burn_flash(static_cast<std::int32_t>(block), n, errorText) != packet::kFlashOk)
                        return fail(errorText, kFlashMemoryWriteCaption);
                }
                blocksBurned += static_cast<std::uint32_t>(n);
                tableProgress_.blocksBurned = std::max(tableProgress_.blocksBurned, blocksBurned);
                block += perBuffer;
            }
        }
        std::string ignored;
        if (l.NVMType < 2) {
            std::int32_t written = table == 0 ? 1 : 0;
            m.access_RAM('f', kTableWrittenRegister, written, ignored);
        } else {
            std::int32_t written = kFlashTableWrittenValue;
            m.access_RAM('f', kFlashTableWrittenRegister, written, ignored);
        }
        status = FormatText(kWriteCompleteFormat, table + 1);
    } else {
        status = FormatText(kReadingFormat, table + 1);
        for (std::int32_t pos = 0; pos < size; pos += kPacketSize) {
            const auto remaining = static_cast<std::uint32_t>(size - pos);
            const std::uint32_t offset = static_cast<std::uint32_t>(pos) % bufferSize;
            if (offset == 0) {
                const auto n = static_cast<std::int32_t>(BlocksFor(remaining, 0, blockSize, perBuffer));
                if (m.load_flash(static_cast<std::int32_t>(block), n, errorText) != packet::kFlashOk) {
                    m.purge();
                    if (m.load_flash(static_cast<std::int32_t>(block), n, errorText) != packet::kFlashOk)
                        return fail(errorText, kFlashMemoryReadCaption);
                }
                block += perBuffer;
            }
            const auto address = static_cast<std::int32_t>(bufferStart + static_cast<std::int32_t>(offset));
            std::uint16_t r = m.download_block(image, pos, address, static_cast<std::int32_t>(remaining), status);
            if (r != packet::kDownloadOk) {
                m.purge();
                r = m.download_block(image, pos, address, static_cast<std::int32_t>(remaining), status);
            }
            if (r != packet::kDownloadOk) {
                errorText = kReadCommunicationError;
                return fail(errorText, kFlashMemoryReadCaption);
            }
            tableProgress_.bytesDone = std::min(static_cast<std::size_t>(pos) + kPacketSize, static_cast<std::size_t>(size));
        }
        status = FormatText(kReadCompleteFormat, table + 1);
    }
    ShowStatus(status);
    host_.status.SetProgress(total, total);
    return true;
}

}  // namespace korvath
