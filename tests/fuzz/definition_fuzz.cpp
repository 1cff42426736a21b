// A definition text read with its declarations, its trace bindings, and the memory image
// exchanged both ways: building an image from the calibration and taking it back.

#include <vector>

#include "fuzz_document.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(definition)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    static fuzz::FuzzDocument f;
    f.Renew();
    CQRNDoc& doc = f.doc;
    doc.reader().SetText(std::string(fuzz::AsText(data, size)));
    doc.ReadApplicationID();
    doc.ResetVariableTable(0);
    if (!doc.ReadDeclarations(1)) return 0;
    for (int trace = 0; trace < kNumTraces; ++trace) doc.ReadTraceBinding(trace);

    const std::int32_t total = doc.layout().TotalBlockSize;
    if (total <= 0 || total > 32767) return 0;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(total), 0x5A);
    if (!doc.ExchangeImage(image.data(), image.size(), 1)) return 0;
    // An image the calibration built goes back into it and builds the same bytes again.
    std::vector<std::uint8_t> again = image;
    if (doc.ExchangeImage(again.data(), again.size(), 0)) doc.ExchangeImage(again.data(), again.size(), 1);
    return 0;
}
