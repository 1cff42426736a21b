#pragma once
// The number of pages of a PDF, by its page objects: enough to check a written report without a
// PDF reader.

#include <string>

namespace korvath::testing {

inline int PdfPageCount(const std::string& pdf) {
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    return pages;
}

}  // namespace korvath::testing
