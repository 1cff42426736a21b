// The write of a built image into the selected table, with its restore points: the table as it
// was (read by the EEPROM write itself, or first read from flash when asked) and the image as
// written; and the plain words after a write that stopped half-way.

#include <algorithm>

#include "comm/comm_texts.h"
#include "document/qrndoc.h"
#include "document/transfer.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

using namespace transfer_text;

constexpr unsigned kErrorBox = MessageStyle::IconError | MessageStyle::TaskModal;

}  // namespace

std::string_view RestoreReasonKey(RestoreReason reason) {
    switch (reason) {
        case RestoreReason::Read: return "read";
        case RestoreReason::BeforeWrite: return "before-write";
        case RestoreReason::Written: return "written";
    }
    return "read";
}

bool RestoreReasonFromKey(std::string_view key, RestoreReason& reason) {
    for (RestoreReason r : {RestoreReason::Read, RestoreReason::BeforeWrite, RestoreReason::Written}) {
        if (RestoreReasonKey(r) == key) {
            reason = r;
            return true;
        }
    }
    return false;
}

void CQRNDoc::SetImageToWrite(std::vector<std::uint8_t> image, std::size_t knownBytes) {
    imageToWrite_ = std::move(image);
    imageToWriteKnown_ = knownBytes;
}

std::string CQRNDoc::KeepRestorePoint(const TableSnapshot& snapshot) {
    return restorePoints_ ? restorePoints_->Keep(*this, snapshot) : std::string();
}

std::string CQRNDoc::PartlyWrittenNotice(std::int32_t table, std::size_t size, const std::string& restorePoint) const {
    std::string text;
    if (layout().NVMType == 0) {
        text = FormatText(kPartlyWrittenBytesFormat, table + 1, tableProgress_.bytesDone, size);
    } else {
        const auto blockSize = static_cast<std::uint16_t>(layout().FlashBlockSize);
        const auto blocks = blockSize == 0 ? 0u : static_cast<unsigned>((size + blockSize - 1) / blockSize);
        text = FormatText(kPartlyWrittenBlocksFormat, table + 1, unsigned{tableProgress_.blocksBurned}, blocks);
    }
    if (!restorePoint.empty()) text += FormatText(kWayBackFormat, restorePoint.c_str(), restorePoint.c_str());
    return text;
}

bool CQRNDoc::WriteImage(std::vector<std::uint8_t>& image, std::int32_t table, std::size_t writeLimit) {
    const ImageLayout& l = layout();
    const bool eeprom = l.NVMType == 0;
    const auto size = static_cast<std::int32_t>(image.size());
    std::string errorText;
    // The table as it was: the stand-in bytes are the image's own fill.
    TableSnapshot before{RestoreReason::BeforeWrite, table,
                         std::vector<std::uint8_t>(image.size(), l.NVMType > 1 ? 0xFF : 0x00), 0};
    std::string beforeId;
    const bool keeping = restorePoints_ != nullptr;

    if (keeping && !eeprom && readFlashBeforeWriting_) {
        const bool read = TransferFlashTable(before.image.data(), size, table, errorText, 0);
        before.knownBytes = read ? image.size() : tableProgress_.bytesDone;
        beforeId = KeepRestorePoint(before);
        if (!read) {
            host_.status.ShowNotice(FormatText(kBackupReadFailedFormat, table + 1));
            return false;
        }
        tableProgress_ = {};
    }

    // Both tries of an EEPROM write read the table; only the bytes not yet read count.
    struct WriteScope {
        CQRNDoc& doc;
        ~WriteScope() {
            doc.eepromBefore_ = nullptr;
            doc.eepromWriteLimit_ = SIZE_MAX;
        }
    } scope{*this};
    if (keeping && eeprom) eepromBefore_ = &before;
    eepromWriteLimit_ = writeLimit;
    auto transferTable = [&] {
        return eeprom ? TransferEepromTable(image.data(), size, table, errorText, 1)
                      : TransferFlashTable(image.data(), size, table, errorText, 1);
    };

    bool written = transferTable();
    if (!written) {
        const std::string firstReason = errorText;
        written = transferTable();
        // A second try refused at once on the link the first one lost says nothing new.
        if (!written && errorText == comm_text::kTestAndWritePrefix && !firstReason.empty()) errorText = firstReason;
    }
    eepromBefore_ = nullptr;
    if (keeping && eeprom) beforeId = KeepRestorePoint(before);

    if (!written) {
        // A table write that stopped at its own message (the write enable) has no text to add.
        if (!errorText.empty()) ShowMessage(errorText, eeprom ? kByteWriteCaption : kFlashWriteCaption, kErrorBox);
        if (tableProgress_.storing) host_.status.ShowNotice(PartlyWrittenNotice(table, image.size(), beforeId));
        return false;
    }
    SetHeld(cal_.application.DefinitionFileName, cal_.application.TransmissionType);
    KeepRestorePoint({RestoreReason::Written, table, image, std::min(writeLimit, image.size())});
    if (keeping && !eeprom && !readFlashBeforeWriting_)
        host_.status.ShowNotice(FormatText(kWriteCompleteFormat, table + 1) + "  " +
                                FormatText(kNoFlashRestorePointFormat, table + 1));
    return true;
}

}  // namespace korvath
