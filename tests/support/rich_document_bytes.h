#pragma once
// About how much memory a read rich-text document holds: the reader promises a result
// proportional to its input, and the damaged-file test and the fuzz target hold it to that.

#include <cstddef>

#include "richtext/rich_text.h"

namespace korvath::test {

inline std::size_t RichDocumentBytes(const richtext::RichDocument& doc) {
    std::size_t bytes = 0;
    for (const richtext::Paragraph& p : doc.paragraphs) {
        bytes += sizeof p;
        for (const richtext::Span& s : p.spans) bytes += sizeof s + s.text.size() + s.format.fontFamily.size();
    }
    for (const richtext::Picture& pic : doc.pictures) bytes += sizeof pic + pic.data.size();
    return bytes;
}

// The bound both hold the reader to, for an input of inputSize bytes.
inline std::size_t RichDocumentBytesLimit(std::size_t inputSize) { return 64 * inputSize + 4096; }

}  // namespace korvath::test
