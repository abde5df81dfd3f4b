#include "exchange/Csv.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct TRecord {
    long Line;
    std::vector<std::string> Cells;
    bool Unterminated = false;
    // The index of the cell with text after its closing quote; -1 for none.
    int Stray = -1;
    friend bool operator==(const TRecord&, const TRecord&) = default;
};

void PrintTo(const TRecord& r, std::ostream* os) {
    *os << "line " << r.Line << (r.Unterminated ? " unterminated" : "") << " stray " << r.Stray
        << ":";
    for (const std::string& cell : r.Cells)
        *os << " [" << cell << "]";
}

std::vector<TRecord> ReadAll(const std::string& text, char separator) {
    std::istringstream in(text);
    TCsvReader reader(in);
    reader.SetSeparator(separator);
    std::vector<TRecord> records;
    TCsvRecord record;
    while (reader.Next(record)) {
        TRecord r{record.Line, {record.Cells.begin(), record.Cells.begin() + long(record.Count)}};
        r.Unterminated = record.Unterminated;
        r.Stray = record.StrayText < record.Count ? int(record.StrayText) : -1;
        records.push_back(r);
    }
    EXPECT_EQ(reader.Position(), text.size());
    return records;
}

struct TReadCase {
    const char* Name;
    std::string Text;
    char Separator;
    std::vector<TRecord> Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << c.Name;
}

class CsvRead : public testing::TestWithParam<TReadCase> {};

TEST_P(CsvRead, GivesTheRecords) {
    EXPECT_EQ(ReadAll(GetParam().Text, GetParam().Separator), GetParam().Expected);
}

const TReadCase ReadCases[] = {
    {"Plain", "a;b\nc;d\n", ';', {{1, {"a", "b"}}, {2, {"c", "d"}}}},
    {"CrLf", "a;b\r\nc;d\r\n", ';', {{1, {"a", "b"}}, {2, {"c", "d"}}}},
    {"NoFinalLineEnd", "a,b\nc", ',', {{1, {"a", "b"}}, {2, {"c"}}}},
    {"Tab", "a\tb;c\n", '\t', {{1, {"a", "b;c"}}}},
    {"QuotedSeparator", "\"a;b\";c\n", ';', {{1, {"a;b", "c"}}}},
    {"DoubledQuotes", "\"dice \"\"hola\"\"\";x\n", ';', {{1, {"dice \"hola\"", "x"}}}},
    {"LineBreakInQuotes", "\"a\nb\";c\nd\n", ';', {{1, {"a\nb", "c"}}, {3, {"d"}}}},
    {"CrLfInQuotes", "\"a\r\nb\"\r\nx\r\n", ';', {{1, {"a\r\nb"}}, {3, {"x"}}}},
    {"EmptyCells", ";;\n", ';', {{1, {"", "", ""}}}},
    {"EmptyLine", "a\n\nb\n", ';', {{1, {"a"}}, {2, {""}}, {3, {"b"}}}},
    {"EmptyQuoted", "\"\";x\n", ';', {{1, {"", "x"}}}},
    {"QuoteInsideAPlainCell", "a\"b;c\n", ';', {{1, {"a\"b", "c"}}}},
    {"LoneCarriageReturnStays", "a\rb\n", ';', {{1, {"a\rb"}}}},
    {"ByteOrderMark",
     "\xEF\xBB\xBF"
     "a;b\n",
     ';',
     {{1, {"a", "b"}}}},
    {"ByteOrderMarkOnly", "\xEF\xBB\xBF", ';', {}},
    {"Empty", "", ';', {}},
    {"Unterminated", "a;\"b\nc\n", ';', {{1, {"a", "b\nc\n"}, true}}},
    {"TextAfterTheClosingQuote", "x;\"3\"5;y\n", ';', {{1, {"x", "35", "y"}, false, 1}}},
    {"CarriageReturnAfterTheClosingQuote", "\"a\"\rb\n", ';', {{1, {"a\rb"}, false, 0}}},
    {"ClosingQuoteThenCrLf", "\"a\"\r\nb\n", ';', {{1, {"a"}}, {2, {"b"}}}},
    {"QuotedAtTheEnd", "a;\"b\"", ';', {{1, {"a", "b"}}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CsvRead, testing::ValuesIn(ReadCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Cells and line ends that straddle the reader's blocks of input.
TEST(CsvReadLong, CellsLongerThanABlock) {
    const std::string line(100000, 'x');
    const std::string text = "\"" + line + "\n" + line + "\";" + line + "\r\nfin\r\n";
    EXPECT_EQ(ReadAll(text, ';'),
              (std::vector<TRecord>{{1, {line + "\n" + line, line}}, {3, {"fin"}}}));
}

struct TDetectCase {
    const char* Name;
    std::string Text;
    char Expected;
};

void PrintTo(const TDetectCase& c, std::ostream* os) {
    *os << c.Name;
}

class CsvDetect : public testing::TestWithParam<TDetectCase> {};

TEST_P(CsvDetect, TakesTheFirstOfSemicolonTabAndComma) {
    std::istringstream in(GetParam().Text);
    TCsvReader reader(in);
    EXPECT_EQ(reader.DetectSeparator('?'), GetParam().Expected);
    EXPECT_EQ(reader.Position(), GetParam().Text.starts_with("\xEF\xBB\xBF") ? 3u : 0u);
}

const TDetectCase DetectCases[] = {
    {"Semicolon", "a;b\n", ';'},
    {"SemicolonBeforeComma", "a,b;c\n", ';'},
    {"TabBeforeComma", "a,b\tc\n", '\t'},
    {"Comma", "a,b\nc;d\n", ','},
    {"NotInsideQuotes", "\"a;b\",c\n", ','},
    {"NotInsideQuotesOverALineBreak", "\"a\nb;c\"\nd;e\n", '?'},
    {"NoneTakesTheFallback", "Peso\n450;1\n", '?'},
    {"Empty", "", '?'},
    {"NoLineEnd", "a,b", ','},
    {"NoneAndNoLineEnd", "Peso", '?'},
    {"AfterTheByteOrderMark",
     "\xEF\xBB\xBF"
     "a\tb\n",
     '\t'},
    {"HeaderLongerThanABlock", std::string(100000, 'x') + ";y\n", ';'},
};

INSTANTIATE_TEST_SUITE_P(Cases, CsvDetect, testing::ValuesIn(DetectCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Detecting reads ahead only: the first record still comes whole.
TEST(CsvDetectThenRead, ConsumesNothing) {
    std::istringstream in("\xEF\xBB\xBF"
                          "a,b;c\nd;e\n");
    TCsvReader reader(in);
    reader.SetSeparator(reader.DetectSeparator(','));
    TCsvRecord record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.Count, 2u);
    EXPECT_EQ(record.Cells[0], "a,b");
}

TEST(CsvWrite, QuotesOnlyWhatNeedsIt) {
    const struct {
        std::string Text;
        char Separator;
        std::string Expected;
    } cases[] = {
        {"Vaca 1", ';', "Vaca 1"},
        {"", ';', ""},
        {"1,5", ';', "1,5"},
        {"1,5", ',', "\"1,5\""},
        {"a;b", ';', "\"a;b\""},
        {"a\tb", '\t', "\"a\tb\""},
        {"dice \"hola\"", ';', "\"dice \"\"hola\"\"\""},
        {"a\nb", ';', "\"a\nb\""},
        {"a\rb", ';', "\"a\rb\""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendCsvCell(out, c.Text, c.Separator);
        EXPECT_EQ(out, "x" + c.Expected) << c.Text;
        // What is written reads back as the same cell.
        const std::vector<TRecord> back = ReadAll(out.substr(1) + "\n", c.Separator);
        ASSERT_EQ(back.size(), 1u) << c.Text;
        EXPECT_EQ(back[0].Cells, std::vector<std::string>{c.Text}) << c.Text;
    }
}

} // namespace
