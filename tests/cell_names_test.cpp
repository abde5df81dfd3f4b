#include "platform/spreadsheet/cell_names.h"

#include <gtest/gtest.h>

namespace {

struct TNameCase {
    const char* Name;
    int Row;
    int Column;
};

void PrintTo(const TNameCase& c, std::ostream* os) {
    *os << c.Name;
}

class ValidCellName : public testing::TestWithParam<TNameCase> {};

TEST_P(ValidCellName, ParsesAndNamesBack) {
    const auto& c = GetParam();
    const auto cell = ParseCellName(c.Name);
    ASSERT_TRUE(cell) << c.Name;
    EXPECT_EQ(cell->Row, c.Row);
    EXPECT_EQ(cell->Column, c.Column);
}

INSTANTIATE_TEST_SUITE_P(Names, ValidCellName,
                         testing::Values(TNameCase{"A1", 1, 1}, TNameCase{"e8", 8, 5},
                                         TNameCase{"$B$2", 2, 2}, TNameCase{"Z9", 9, 26},
                                         TNameCase{"AA10", 10, 27}, TNameCase{"AZ1", 1, 52},
                                         TNameCase{"XFD1048576", 1048576, 16384}));

class InvalidCellName : public testing::TestWithParam<const char*> {};

TEST_P(InvalidCellName, IsRefused) {
    EXPECT_FALSE(ParseCellName(GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, InvalidCellName,
                         testing::Values("", "A", "1", "A0", "1A", "A1 ", " A1", "A-1", "A1B",
                                         "$$A1", "A$$1", "XFE1", "A1048577", "AAAAAAAA1",
                                         "A99999999999999999999", "Ä1", "R1C1"));

TEST(ColumnName, CountsInLettersFromA) {
    const std::pair<int, const char*> cases[] = {{1, "A"},    {5, "E"},     {26, "Z"},
                                                 {27, "AA"},  {52, "AZ"},   {53, "BA"},
                                                 {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [column, name] : cases)
        EXPECT_EQ(ColumnName(column), name) << column;
    EXPECT_EQ(CellName({8, 5}), "E8");
}

TEST(AreaBetween, TakesTheCornersInAnyOrder) {
    const TCellArea area = AreaBetween({8, 1}, {2, 5});
    EXPECT_EQ(area.First, (TCellRef{2, 1}));
    EXPECT_EQ(area.Last, (TCellRef{8, 5}));
    EXPECT_EQ(area.Rows(), 7);
    EXPECT_EQ(area.Columns(), 5);
    EXPECT_EQ(area.Cells(), 35);
    EXPECT_TRUE(area.Contains({2, 5}));
    EXPECT_FALSE(area.Contains({9, 5}));
}

} // namespace
