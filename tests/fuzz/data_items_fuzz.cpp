// The live data items of a definition text, with the display format validator: every item read
// is shown for a few readings, and a format from the text is checked before it is printed.

#include "comm/data_items.h"
#include "fuzz_document.h"
#include "fuzz_target.h"
#include "platform/printf_format.h"

KORVATH_FUZZ_TARGET(data_items)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    const std::string_view text = fuzz::AsText(data, size);
    // The whole input as one format, against every argument list the program formats with.
    const std::string format(text.substr(0, 200));
    if (FormatTakesExactly(format, {FormatArg::Int}))
        KORVATH_FUZZ_CHECK(FormatChecked(format.c_str(), 12345).size() < 200 + 5 * kMaxFormatField);
    if (DisplayFormatUsable(format))
        KORVATH_FUZZ_CHECK(FormatChecked(format.c_str(), -1.5e300).size() < 200 + 5 * kMaxFormatField);

    static fuzz::FuzzDocument f;
    f.Renew();
    f.doc.reader().SetText(std::string(text));
    if (!f.doc.FindSection(live_data::kSection, 0)) return 0;
    std::string label;
    for (int next = 0, n = 0; n < live_data::kMaxItems && f.doc.FindBlock(live_data::kBlockKey, label, next);
         next = 1, ++n) {
        DataItem item;
        if (!ReadDataItem(f.doc, label, item)) continue;
        for (int raw : {0, 255, -1000}) (void)DataItemText(item, raw, static_cast<float>(raw) * 1.5f);
    }
    return 0;
}
