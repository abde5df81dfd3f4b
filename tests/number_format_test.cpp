#include "platform/spreadsheet/number_format.h"

#include <gtest/gtest.h>

namespace {

const TRegional Point{'.', ","};
const TRegional Comma{',', "."};
const TRegional CommaSpace{',', " "};

struct TFormatCase {
    const char* Format;
    const TRegional* Notation;
    const char* FileCode;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << '"' << c.Format << '"';
}

class FileNumberFormatCase : public testing::TestWithParam<TFormatCase> {};

TEST_P(FileNumberFormatCase, MapsTheUsersNotation) {
    const auto& c = GetParam();
    const auto code = FileNumberFormat(c.Format, *c.Notation);
    ASSERT_TRUE(code) << c.Format;
    EXPECT_EQ(*code, c.FileCode) << c.Format;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FileNumberFormatCase,
    testing::Values(TFormatCase{"0.0000", &Point, "0.0000"},
                    TFormatCase{"0,0000", &Comma, "0.0000"},
                    TFormatCase{"#.##0,00", &Comma, "#,##0.00"},
                    TFormatCase{"# ##0,00", &CommaSpace, "#,##0.00"},
                    // On a point system a comma is the thousands separator, as given.
                    TFormatCase{"0,0000", &Point, "0,0000"}, TFormatCase{"0,00", &Comma, "0.00"},
                    TFormatCase{"@", &Comma, "@"}, TFormatCase{"", &Comma, ""},
                    TFormatCase{"General", &Comma, "General"},
                    // Quoted texts, escapes and bracketed sections stay as they are.
                    TFormatCase{"0,0\" kg,m\"", &Comma, "0.0\" kg,m\""},
                    TFormatCase{"0\\,0", &Comma, "0\\,0"},
                    TFormatCase{"[Red]0,0;[Blue]-0,0", &Comma, "[Red]0.0;[Blue]-0.0"},
                    TFormatCase{"0,0_);(0,0);0;@", &Comma, "0.0_);(0.0);0;@"}));

TEST(FileNumberFormat, RefusesWhatTheSpreadsheetRefuses) {
    const char* refused[] = {"0.0\"", "[Red0.0", "0.0\\", "0_", "0*", "0;0;0;0;0", "0\t0", "0\n0"};
    for (const char* format : refused)
        EXPECT_FALSE(FileNumberFormat(format, Point)) << format;
    EXPECT_FALSE(FileNumberFormat(std::string(256, '0'), Point));
    EXPECT_TRUE(FileNumberFormat(std::string(255, '0'), Point));
}

struct TShownCase {
    TSheetValue Value;
    const char* FileCode;
    const char* Shown;
};

void PrintTo(const TShownCase& c, std::ostream* os) {
    *os << '"' << c.FileCode << "\" shows \"" << c.Shown << '"';
}

class ShownTextCase : public testing::TestWithParam<TShownCase> {};

TEST_P(ShownTextCase, RendersTheValueWithTheFormat) {
    const auto& c = GetParam();
    EXPECT_EQ(ShownText(c.Value, c.FileCode), c.Shown) << c.FileCode;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShownTextCase,
    testing::Values(
        TShownCase{TSheetValue(), "0.0000", ""},
        TShownCase{std::string("Proteína cruda"), "@", "Proteína cruda"},
        TShownCase{std::int64_t(12), "", "12"}, TShownCase{std::int64_t(-12), "General", "-12"},
        TShownCase{0.0025, "", "0.0025"}, TShownCase{1.0 / 3.0, "", "0.333333333"},
        TShownCase{123456789012345.0, "", "1.23457E+14"}, TShownCase{0.0025, "0.0000", "0.0025"},
        TShownCase{0.00005, "0.0000", "0.0001"}, TShownCase{2.0, "0.0000", "2.0000"},
        TShownCase{-17.5, "0.00", "-17.50"}, TShownCase{0.5, "#.##", ".5"},
        TShownCase{1234567.891, "#,##0.00", "1,234,567.89"},
        TShownCase{1234567.0, "#,##0,", "1,235"}, TShownCase{0.25, "0%", "25%"},
        TShownCase{0.0025, "0.00E+00", "2.50E-03"}, TShownCase{-3.0, "0.0;(0.0)", "(3.0)"},
        TShownCase{0.0, "0.0;(0.0);\"zero\"", "zero"}, TShownCase{1.5, "0.0\" kg\"", "1.5 kg"},
        TShownCase{5.0, "[$€-C0A]0.00", "€5.00"}, TShownCase{45000.0, "dd/mm/yyyy", "dd/mm/yyyy"}));

} // namespace
