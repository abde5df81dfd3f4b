#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(Utf8TextTest, CountsCharactersNotBytes) {
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("Mínimo"), 6u);
    EXPECT_EQ(Utf8Length("g/día €"), 7u);
    // A stray continuation byte at the start is a character; one after a character belongs to it.
    EXPECT_EQ(Utf8Length("\x80"
                         "a\xA1"),
              2u);
}

TEST(Utf8TextTest, ValidOnlyWhenEveryCharacterIsWellFormed) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"Fósforo g/día € \xF0\x9F\x90\x84", true},
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
        {"F\xF3sforo", false},       // Windows-1252
        {"\x80", false},             // a stray continuation byte
        {"\xC3", false},             // a character cut short
        {"\xC1\x81", false},         // an overlong "A"
        {"\xE0\x80\xAF", false},     // an overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\xFF", false},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(Utf8Valid(text), valid) << testing::PrintToString(std::string(text));
}

TEST(Utf8TextTest, LeftNeverSplitsACharacter) {
    EXPECT_EQ(Utf8Left("ñandú", 0), "");
    EXPECT_EQ(Utf8Left("ñandú", 1), "ñ");
    EXPECT_EQ(Utf8Left("ñandú", 5), "ñandú");
    EXPECT_EQ(Utf8Left("ñandú", 9), "ñandú");
    EXPECT_EQ(Utf8Left("€x", 1), "€");
    EXPECT_EQ(Utf8Left("\xF0\x9F\x90\x84x", 1), "\xF0\x9F\x90\x84");
    EXPECT_EQ(Utf8Left("Mcal/kg MS x", 10), "Mcal/kg MS");
    EXPECT_EQ(Utf8Left("", 25), "");
}

struct TSameTextCase {
    const char* A;
    const char* B;
    bool Same;
};

class Utf8SameTextTest : public testing::TestWithParam<TSameTextCase> {};

TEST_P(Utf8SameTextTest, IgnoresLetterCaseOfAsciiAndLatin1) {
    const TSameTextCase& c = GetParam();
    EXPECT_EQ(Utf8SameText(c.A, c.B), c.Same) << c.A << " / " << c.B;
    EXPECT_EQ(Utf8SameText(c.B, c.A), c.Same) << c.B << " / " << c.A;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8SameTextTest,
    testing::Values(TSameTextCase{"", "", true}, TSameTextCase{"NO", "no", true},
                    TSameTextCase{"SÍ", "sí", true}, TSameTextCase{"ÑANDÚ", "ñandú", true},
                    TSameTextCase{"sí", "si", false}, TSameTextCase{"no", "n", false},
                    // The multiplication and division signs are no letter pair.
                    TSameTextCase{"×", "÷", false},
                    // Malformed bytes only match the same bytes.
                    TSameTextCase{"\xC0\x80", "\xC0\x81", false},
                    TSameTextCase{"\xC0\x80", "\xC0\x80", true},
                    // An overlong encoding of "A" is not the letter a.
                    TSameTextCase{"\xC1\x81", "a", false}));

} // namespace
