#include "platform/printf_format.h"

#include <gtest/gtest.h>

namespace korvath {
namespace {

using A = FormatArg;

TEST(PrintfFormat, AcceptsFormatsThatFitTheirArguments) {
    EXPECT_TRUE(FormatFitsArgs("%s %6.1f %s (%d,%d)", {A::String, A::Double, A::String, A::Int, A::Int}));
    EXPECT_TRUE(FormatFitsArgs("%s", {A::String, A::Double}));  // fewer conversions are fine
    EXPECT_TRUE(FormatFitsArgs("100%% plain", {A::Double}));
    EXPECT_TRUE(FormatFitsArgs("%-8.3lf rpm", {A::Double}));
    EXPECT_TRUE(FormatTakesExactly("BitValState%d", {A::Int}));
}

TEST(PrintfFormat, RefusesAnythingThatWouldReadOrWriteTheWrongArgument) {
    EXPECT_FALSE(FormatFitsArgs("%d", {A::Double}));
    EXPECT_FALSE(FormatFitsArgs("%f %f", {A::Double}));
    EXPECT_FALSE(FormatFitsArgs("%n", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%*d", {A::Int, A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%1$d", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%s", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%ld", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%p", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("50%", {A::Int}));  // a lone % at the end
    EXPECT_FALSE(FormatFitsArgs(std::string(60, 'x') + "%g", {A::Double}, 49));
    EXPECT_FALSE(FormatTakesExactly("BitValState", {A::Int}));
    EXPECT_FALSE(FormatTakesExactly("%d%d", {A::Int}));
    // Widths and precisions are held to what a display line holds.
    EXPECT_TRUE(FormatTakesExactly("Key%49.49d", {A::Int}));
    EXPECT_FALSE(FormatTakesExactly("Key%.999999d", {A::Int}));
    EXPECT_FALSE(FormatTakesExactly("Key%50d", {A::Int}));
    EXPECT_FALSE(FormatFitsArgs("%99999999999999999999f", {A::Double}));
}

TEST(PrintfFormat, FormatsTextOfAnyLength) {
    EXPECT_EQ(FormatText("%s-%d", "a", 7), "a-7");
    const std::string longText(5000, 'y');
    EXPECT_EQ(FormatText("<%s>", longText.c_str()).size(), 5002u);
    EXPECT_EQ(FormatChecked("Key%d", 12), "Key12");
}

}  // namespace
}  // namespace korvath
