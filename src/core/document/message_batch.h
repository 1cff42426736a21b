#pragma once
// One box per distinct message within an operation: a definition with thousands of faulty
// variables would otherwise stop the user at thousands of modal boxes. The repeats of a
// message are counted and the count goes to the status bar when the operation ends.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvath {

class MessageBatch {
public:
    // Operations nest; only the outermost one ends the batch.
    void Begin() { ++depth_; }
    // The repeats counted since the outermost Begin, one status text per message that had any.
    std::vector<std::string> End();

    // Whether the message should be shown; a repeat is counted and gives the first box's result.
    bool ShouldShow(std::string_view text, std::string_view caption, unsigned style, int& result);
    void Shown(std::string_view text, unsigned style, int result);

private:
    struct Seen {
        int result = 0;
        int repeats = 0;
        std::string captions;
    };
    int depth_ = 0;
    std::map<std::pair<std::string, unsigned>, Seen> seen_;
};

}  // namespace korvath
