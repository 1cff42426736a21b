#pragma once
// What the transfer subcommands (read, write) share: the transmission choice made by option
// instead of a dialog, and the table options.

#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_link.h"
#include "definition/readback_decoder.h"

namespace korvath::cli {

// Picks entry `choice` (1-based) of the list; 0 takes the first. The list goes to standard
// error so that a script can see what it chose from.
class OptionChooser final : public ReadbackChooser {
public:
    explicit OptionChooser(int choice) : choice_(choice) {}
    int ChooseTransmission(const std::vector<std::string>& displayTexts) override;
    // Set when --choose named no entry of the list offered: why, naming the list's range.
    const std::string& refusal() const { return refusal_; }

private:
    int choice_;
    std::string refusal_;
};

// "--table 1|2" and "--choose N" taken out of args; false with why on a bad value.
bool TakeTableOption(std::vector<std::string>& args, int& table, std::string& why);
bool TakeChooseOption(std::vector<std::string>& args, int& choice, std::string& why);
// The link and the table options of a transfer subcommand, taken out of its arguments; `rest`
// keeps what is left.
struct TransferArguments {
    std::vector<std::string> rest;
    LinkOptions link;
    int table = 0;  // 0: the calibration's own
};
bool TakeTransferArguments(const std::vector<std::string>& args, TransferArguments& taken, std::string& why);
// Takes every `flag` out of args; true when there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag);

}  // namespace korvath::cli
