#pragma once
// Moving between help topics: the links a topic offers (its contents list, in order) and the
// way back and forward through the topics read, as a browser keeps them.

#include <cstddef>
#include <string>
#include <vector>

#include "richtext/rich_text.h"

namespace korvath::richtext {

struct TopicLink {
    std::string target;  // as the link gives it ("Curves.rtf")
    std::string text;    // the linked text, white space trimmed
    bool operator==(const TopicLink&) const = default;
};

// Every distinct link target of the document with the text of its first link, in reading order.
std::vector<TopicLink> LinksOf(const RichDocument& document);

class TopicHistory {
public:
    // A topic opened by a link or the contents list: it becomes the current one, and the topics
    // one had gone back past are forgotten. Opening the current topic again adds nothing.
    void Visit(const std::string& topic);
    // The topic before or after the current one; empty (and nothing changes) when there is none.
    std::string Back();
    std::string Forward();
    bool CanGoBack() const { return current_ > 0; }
    bool CanGoForward() const { return current_ + 1 < topics_.size(); }
    const std::string& current() const;

private:
    std::vector<std::string> topics_;
    std::size_t current_ = 0;
};

}  // namespace korvath::richtext
