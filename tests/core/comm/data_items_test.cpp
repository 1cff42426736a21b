// Display texts of data items: the split of "DisplayFormula", the check of display formats
// that come from a definition, and the texts of limits and enumerations.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "comm/data_items.h"

namespace korvath {
namespace {

TEST(DataItemsTest, DisplayFormulaSplitsAtTheFirstEquals) {
    std::string format, formula;
    SplitDisplayFormula("%.1f mph  =  M:TPS:*2 = 3 ", format, formula);
    EXPECT_EQ(format, "%.1f mph");
    EXPECT_EQ(formula, "M:TPS:*2 = 3");
    SplitDisplayFormula(" M:GEAR: ", format, formula);
    EXPECT_EQ(format, "");
    EXPECT_EQ(formula, "M:GEAR:");
    SplitDisplayFormula("=X", format, formula);  // "=" first: all of it is the formula
    EXPECT_EQ(format, "");
    EXPECT_EQ(formula, "=X");
}

TEST(DataItemsTest, OnlyFormatsWithOneFloatingConversionAreUsed) {
    for (const char* good : {"%.1f", "%5.2f V", "%-8.3e", "%g%%", "%+.0f C", "%49.1f", "%lf"})
        EXPECT_TRUE(DisplayFormatUsable(good)) << good;
    for (const char* bad : {"", "text only", "%d", "%s", "%x", "%.1f %.1f", "%*f", "%.*f", "%n", "%.1f%n", "%1$f",
                            "%Lf", "%50f", "%.50f", "%.1f and a tail that makes it longer than 49 chars"})
        EXPECT_FALSE(DisplayFormatUsable(bad)) << bad;
}

TEST(DataItemsTest, TextsOfLimitsNumbersAndEnumerations) {
    DataItem item;
    item.minimum = 10;
    item.maximum = 100;
    item.minErrorText = "Too low for this";
    item.displayFormat = "%.1f";
    item.displayFormatUsable = DisplayFormatUsable(item.displayFormat);
    EXPECT_EQ(DataItemText(item, 9, 50.0f), "Too lo");
    EXPECT_EQ(DataItemText(item, 101, 50.0f), "eH");
    item.displayFormat = "%.20f";
    item.displayFormatUsable = DisplayFormatUsable(item.displayFormat);
    EXPECT_EQ(DataItemText(item, 100, 3.0e38f).size(), live_data::kMaxDisplayText);  // cut to the display
    item.displayFormatUsable = false;
    EXPECT_EQ(DataItemText(item, 50, 1.0f), "");

    item.kind = DataItemKind::Enumerated;
    item.enumTexts = {"Park", "Reverse"};
    item.enumTextCount = 2;
    EXPECT_EQ(DataItemText(item, 50, 1.9f), "Revers");
    EXPECT_EQ(DataItemText(item, 50, 0.0f), "Park");
    EXPECT_EQ(DataItemText(item, 50, 2.0f), "2");       // beyond the last text: the number
    EXPECT_EQ(DataItemText(item, 50, -1.5f), "-1");     // truncated toward zero
    EXPECT_EQ(DataItemText(item, 50, 1.0e9f), "");      // a number too long for the display
    EXPECT_EQ(DataItemText(item, 50, std::numeric_limits<float>::quiet_NaN()), "");
}

}  // namespace
}  // namespace korvath
