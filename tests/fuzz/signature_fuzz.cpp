// The readback signature matcher: the input's first line is a memory image in hexadecimal
// pairs (whatever is not a pair is skipped), the rest the signature file's text.

#include <string>
#include <vector>

#include "definition/readback_decoder.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(signature)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    const std::string_view text = fuzz::AsText(data, size);
    const std::size_t feed = text.find('\n');
    const std::string_view imageLine = text.substr(0, feed);
    const std::string_view signatures = feed == std::string_view::npos ? std::string_view() : text.substr(feed + 1);
    std::vector<std::uint8_t> image;
    for (std::size_t i = 0; i + 1 < imageLine.size(); i += 2) {
        const std::string pair(imageLine.substr(i, 2));
        image.push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16)));
    }
    CTransReadbackDecoder decoder;
    std::string result;
    if (decoder.DecodeText(signatures, result, image.data(), image.size()))
        KORVATH_FUZZ_CHECK(result.size() <= CTransReadbackDecoder::kMaxResultLength);
    return 0;
}
