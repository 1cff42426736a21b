#include "cli_transfer.h"

#include <cstdio>


namespace korvath::cli {
namespace {

// Takes "NAME VALUE" out of args into value; false with why when the value is missing or
// doubled.
bool TakeValueOption(std::vector<std::string>& args, const std::string& name, std::string& value, bool& given,
                     std::string& why) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name) {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) {
            why = name + " needs a value";
            return false;
        }
        if (given) {
            why = name + " is given twice";
            return false;
        }
        value = args[++i];
        given = true;
    }
    args = std::move(rest);
    return true;
}

}  // namespace

int OptionChooser::ChooseTransmission(const std::vector<std::string>& displayTexts) {
    for (std::size_t i = 0; i < displayTexts.size(); ++i)
        std::fprintf(stderr, "choice %zu: %s\n", i + 1, displayTexts[i].c_str());
    const int index = choice_ == 0 ? 0 : choice_ - 1;
    if (index < 0 || index >= static_cast<int>(displayTexts.size())) {
        refusal_ = "--choose " + std::to_string(choice_) + " is not in the list: choose 1 to " +
                   std::to_string(displayTexts.size());
        return -1;
    }
    return index;
}

bool TakeTransferArguments(const std::vector<std::string>& args, TransferArguments& taken, std::string& why) {
    taken.rest = args;
    return TakeLinkOptions(taken.rest, taken.link, why) && TakeTableOption(taken.rest, taken.table, why);
}

bool TakeTableOption(std::vector<std::string>& args, int& table, std::string& why) {
    std::string value;
    bool given = false;
    if (!TakeValueOption(args, "--table", value, given, why)) return false;
    if (!given) return true;
    if (value != "1" && value != "2") {
        why = "--table takes 1 or 2";
        return false;
    }
    table = value == "1" ? 1 : 2;
    return true;
}

bool TakeChooseOption(std::vector<std::string>& args, int& choice, std::string& why) {
    std::string value;
    bool given = false;
    if (!TakeValueOption(args, "--choose", value, given, why)) return false;
    if (!given) return true;
    long n = 0;
    if (!ParseCInteger(value, n) || n < 1 || n > CTransReadbackDecoder::kMaxCandidates) {
        why = "--choose takes an entry of the list, 1 to 10";
        return false;
    }
    choice = static_cast<int>(n);
    return true;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto before = args.size();
    std::erase(args, flag);
    return args.size() != before;
}

}  // namespace korvath::cli
