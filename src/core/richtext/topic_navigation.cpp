#include "richtext/topic_navigation.h"

#include <algorithm>

namespace korvath::richtext {
namespace {

// A topic history longer than this forgets its oldest topics.
constexpr std::size_t kMaxHistory = 100;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<TopicLink> LinksOf(const RichDocument& document) {
    std::vector<TopicLink> links;
    for (const Paragraph& p : document.paragraphs) {
        for (std::size_t i = 0; i < p.spans.size(); ++i) {
            const std::string& target = p.spans[i].format.link;
            if (p.spans[i].kind != Span::Kind::Text || target.empty()) continue;
            // A link's text may run over several spans (a bold word inside it).
            std::string text;
            for (; i < p.spans.size() && p.spans[i].format.link == target; ++i)
                if (p.spans[i].kind == Span::Kind::Text) text += p.spans[i].text;
            --i;
            const bool known = std::any_of(links.begin(), links.end(), [&](const TopicLink& l) { return l.target == target; });
            if (!known) links.push_back({target, Trimmed(text)});
        }
    }
    return links;
}

void TopicHistory::Visit(const std::string& topic) {
    if (!topics_.empty() && topics_[current_] == topic) return;
    if (!topics_.empty()) topics_.resize(current_ + 1);
    topics_.push_back(topic);
    if (topics_.size() > kMaxHistory) topics_.erase(topics_.begin());
    current_ = topics_.size() - 1;
}

std::string TopicHistory::Back() {
    if (!CanGoBack()) return {};
    return topics_[--current_];
}

std::string TopicHistory::Forward() {
    if (!CanGoForward()) return {};
    return topics_[++current_];
}

const std::string& TopicHistory::current() const {
    static const std::string kNone;
    return topics_.empty() ? kNone : topics_[current_];
}

}  // namespace korvath::richtext
