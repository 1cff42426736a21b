#pragma once
// A document with a controller link for the transfer subcommands (read, write): the terminal as
// its host, an off-screen graph and a stand-in for the tuning bar so that the traces are bound
// as the program binds them, and a transmission choice made by option instead of a dialog.

#include <memory>
#include <string>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_link.h"
#include "document/qrndoc.h"
#include "document/readback_decoder.h"
#include "document/view_host.h"
#include "graph/graphengine.h"

namespace korvath::cli {

// Picks entry `choice` (1-based) of the list; 0 takes the first. The list goes to standard
// error so that a script can see what it chose from.
class OptionChooser final : public ReadbackChooser {
public:
    explicit OptionChooser(int choice) : choice_(choice) {}
    int ChooseTransmission(const std::vector<std::string>& displayTexts) override;

private:
    int choice_;
};

class TransferSession : private ViewHost {
public:
    TransferSession(const GlobalOptions& options, const LinkOptions& link);
    CQRNDoc& doc() { return *doc_; }
    // Opens a calibration of either format as the File Open command does.
    bool Open(const std::string& path);

private:
    void RebuildBars() override { doc_->BindGraphicalTuningTraces(); }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

    TerminalHost terminal_;
    std::unique_ptr<SettingsStore> settings_;
    CGraphEngine graph_;
    std::unique_ptr<CQRNDoc> doc_;
};

// "--table 1|2" and "--choose N" taken out of args; false with why on a bad value.
bool TakeTableOption(std::vector<std::string>& args, int& table, std::string& why);
bool TakeChooseOption(std::vector<std::string>& args, int& choice, std::string& why);

}  // namespace korvath::cli
