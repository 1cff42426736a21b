#include "document/message_batch.h"

#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kRepeatsFormat = "%d more messages like \"%.80s\" were not shown (%s).";
constexpr std::size_t kCaptionsNamed = 5;

// The first line of a message, which names its kind ("Definition file error:").
std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

std::vector<std::string> MessageBatch::End() {
    std::vector<std::string> notes;
    if (depth_ == 0 || --depth_ > 0) return notes;
    for (const auto& [key, seen] : seen_)
        if (seen.repeats > 0)
            notes.push_back(FormatText(kRepeatsFormat, seen.repeats, FirstLine(key.first).c_str(), seen.captions.c_str()));
    seen_.clear();
    return notes;
}

bool MessageBatch::ShouldShow(std::string_view text, std::string_view caption, unsigned style, int& result) {
    if (depth_ == 0) return true;
    auto found = seen_.find({std::string(text), style});
    if (found == seen_.end()) return true;
    // The captions of the repeats name what they are about (the variable, mostly).
    Seen& seen = found->second;
    if (static_cast<std::size_t>(seen.repeats) < kCaptionsNamed)
        seen.captions += (seen.captions.empty() ? "" : ", ") + std::string(caption);
    else if (static_cast<std::size_t>(seen.repeats) == kCaptionsNamed)
        seen.captions += ", ...";
    ++found->second.repeats;
    result = found->second.result;
    return false;
}

void MessageBatch::Shown(std::string_view text, unsigned style, int result) {
    if (depth_ > 0) seen_.emplace(std::pair{std::string(text), style}, Seen{result, 0, {}});
}

}  // namespace korvath
