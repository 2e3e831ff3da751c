#include <gtest/gtest.h>

#include "core/numbers.h"

using namespace korvane;

TEST(ParseLenient, TakesTheLongestNumericPrefix) {
  EXPECT_DOUBLE_EQ(ParseLenient("12abc"), 12);
  EXPECT_DOUBLE_EQ(ParseLenient("1 2"), 12);
  EXPECT_DOUBLE_EQ(ParseLenient("abc"), 0);
  EXPECT_DOUBLE_EQ(ParseLenient(""), 0);
  EXPECT_DOUBLE_EQ(ParseLenient("  -0.5"), -0.5);
  EXPECT_DOUBLE_EQ(ParseLenient("+12"), 12);
  EXPECT_DOUBLE_EQ(ParseLenient(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseLenient("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(ParseLenient("1e3"), 1000);
  EXPECT_DOUBLE_EQ(ParseLenient("1D2"), 100);
  EXPECT_DOUBLE_EQ(ParseLenient("2E"), 2);
  EXPECT_DOUBLE_EQ(ParseLenient("3e-"), 3);
  EXPECT_DOUBLE_EQ(ParseLenient("\t7\n"), 7);
  EXPECT_DOUBLE_EQ(ParseLenient("--1"), 0);
  EXPECT_DOUBLE_EQ(ParseLenient("1e999"), 0);  // too large to hold
  EXPECT_DOUBLE_EQ(ParseLenient("测区平均高程"), 0);
}

TEST(IsNumericCell, AcceptsNumbersAsSurveyorsTypeThem) {
  for (const char* valid : {"123.45", "-0.5", "+12", "12.", "-.5", "0", " 7 ", "1234567.123", "0.000"})
    EXPECT_EQ(IsNumericCell(valid), CellCheck::Valid) << valid;
  for (const char* invalid : {".5", "12a3", "1.2.3", "abc", "1.5米", "12345678901.2345"})
    EXPECT_EQ(IsNumericCell(invalid), CellCheck::Invalid) << invalid;
  for (const char* empty : {"", "   "}) EXPECT_EQ(IsNumericCell(empty), CellCheck::Empty) << empty;
}

TEST(FormatFixed, RoundsHalfAwayFromZeroOnTheDecimalForm) {
  EXPECT_EQ(FormatFixed(-0.05, "#0.0"), "-0.1");
  EXPECT_EQ(FormatFixed(0.05, "#0.0"), "0.1");
  EXPECT_EQ(FormatFixed(1234.5678, "#0.000"), "1234.568");
  EXPECT_EQ(FormatFixed(2.675, "#0.00"), "2.68");  // binary 2.67499999... is decimal 2.675
  EXPECT_EQ(FormatFixed(0.0, "#0.000"), "0.000");
  EXPECT_EQ(FormatFixed(12.0, "#0.0"), "12.0");
  EXPECT_EQ(FormatFixed(0.9996, "#0.000"), "1.000");
  EXPECT_EQ(FormatFixed(99.95, "#0.0"), "100.0");
  EXPECT_EQ(FormatFixed(45.30151, "#0.00000"), "45.30151");
  EXPECT_EQ(FormatFixed(3.5, "#0"), "4");
  EXPECT_EQ(FormatFixed(-3.5, "#0"), "-4");
  EXPECT_EQ(FormatFixed(1234567.8915, "#0.000"), "1234567.892");
  EXPECT_EQ(FormatFixed(-0.04, "#0.0"), "-0.0");  // a negative value keeps its sign
  EXPECT_EQ(FormatFixed(0.00004, "#0.0"), "0.0");
  EXPECT_EQ(FormatFixed(1e-20, "#0.000"), "0.000");
}

TEST(FormatFixed, A32BitValueRoundsOnItsSevenDigitForm) {
  // 0.05f is 0.0500000007..., 0.15f is 0.1499999985...: as decimals both are ties.
  EXPECT_EQ(FormatFixed(0.05f, "#0.0"), "0.1");
  EXPECT_EQ(FormatFixed(0.15f, "#0.0"), "0.2");
  EXPECT_EQ(FormatFixed(0.15, "#0.0"), "0.2");  // 15 digits: 0.150000000000000
  EXPECT_EQ(FormatFixed(1234.5675f, "#0.000"), "1234.568");
  EXPECT_DOUBLE_EQ(RoundFixed(100.0005f, "#0.000"), 100.001);
  EXPECT_DOUBLE_EQ(RoundFixed(-0.25, "#0.0"), -0.3);
}

TEST(StrNumber, WritesTheShortestTextWithALeadingBlank) {
  EXPECT_EQ(StrNumber(0.0), " 0");
  EXPECT_EQ(StrNumber(0.5), " .5");
  EXPECT_EQ(StrNumber(1000.0), " 1000");
  EXPECT_EQ(StrNumber(1234.5), " 1234.5");
  EXPECT_EQ(StrNumber(123.4), " 123.4");
  EXPECT_EQ(StrNumber(-12.5), "-12.5");
  EXPECT_EQ(StrNumber(-0.5), "-.5");
  EXPECT_EQ(StrNumber(-0.0), " 0");
  EXPECT_EQ(StrNumber(0.1 + 0.2), " .3");  // 15 significant digits
  EXPECT_EQ(StrNumber(1.1e52), " 1.1E+52");
  EXPECT_EQ(StrNumber(1e15), " 1E+15");
  EXPECT_EQ(StrNumber(999999999999999.0), " 999999999999999");
  EXPECT_EQ(StrNumber(0.012), " .012");
  EXPECT_EQ(StrNumber(2.5e-7), " 2.5E-07");
  EXPECT_EQ(StrNumber(24690.0), " 24690");
}

TEST(StrNumber, A32BitValueHasSevenDigits) {
  EXPECT_EQ(StrNumber(0.1f), " .1");
  EXPECT_EQ(StrNumber(1.45f), " 1.45");
  EXPECT_EQ(StrNumber(12345.678f), " 12345.68");
  EXPECT_EQ(StrNumber(-2.2f), "-2.2");
  EXPECT_EQ(StrNumber(12345678.0f), " 1.234568E+07");
}

TEST(NumberText, HasNoBlankButTheLeadingZero) {
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(-2.4), "-2.4");
  EXPECT_EQ(NumberText(12.0), "12");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(-0.5), "-0.5");
  EXPECT_EQ(NumberText(0.25f), "0.25");
}

TEST(ReadTextLine, ReadsTheKthLine) {
  const std::string text = "F\r\nK9\r\n\r\nA1\r\n";
  EXPECT_EQ(ReadTextLine(text, 0), "F");
  EXPECT_EQ(ReadTextLine(text, 1), "K9");
  EXPECT_EQ(ReadTextLine(text, 2), "");
  EXPECT_EQ(ReadTextLine(text, 3), "A1");
  EXPECT_EQ(ReadTextLine(text, 4), "");
  EXPECT_EQ(ReadTextLine("one\ntwo", 1), "two");
}
