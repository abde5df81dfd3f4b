#include "model/TextEncoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct TConversionCase {
    const char* Name;
    std::string Bytes;
    std::string Utf8;
};

void PrintTo(const TConversionCase& c, std::ostream* out) {
    *out << c.Name;
}

class TextToUtf8Test : public testing::TestWithParam<TConversionCase> {};

TEST_P(TextToUtf8Test, Converts) {
    EXPECT_EQ(TextToUtf8(GetParam().Bytes), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToUtf8Test,
    testing::Values(TConversionCase{"Ascii", "Proteina cruda", "Proteina cruda"},
                    TConversionCase{"Empty", "", ""},
                    TConversionCase{"Utf8Kept", "F\xC3\xB3sforo \xE2\x82\xAC", "Fósforo €"},
                    TConversionCase{"Utf8FourBytes", "\xF0\x9F\x90\x84", "\xF0\x9F\x90\x84"},
                    TConversionCase{"Latin1Range",
                                    "F\xF3sforo (g/d\xED"
                                    "a)",
                                    "Fósforo (g/día)"},
                    TConversionCase{"Cp1252Punctuation", "\x80\x96\x9C\x9F", "€–œŸ"},
                    TConversionCase{"Cp1252Unassigned", "\x81\x8D\x8F\x90\x9D",
                                    "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
                    // Bytes that only look like UTF-8 are read as single-byte characters.
                    TConversionCase{"OverlongSlash", "\xC0\xAF", "À¯"},
                    TConversionCase{"Surrogate", "\xED\xA0\x80", "í\xC2\xA0€"},
                    TConversionCase{"TruncatedSequence", "Ca\xC3", "CaÃ"},
                    TConversionCase{"BeyondUnicode", "\xF4\x90\x80\x80", "ô\xC2\x90€€"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
