#include "platform/spreadsheet/memory_worksheet.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<TMemoryWorksheet> Sheet() {
    return std::make_shared<TMemoryWorksheet>("Sheet1", TRegional{',', "."});
}

TEST(MemoryWorksheet, TakesValidNames) {
    auto sheet = Sheet();
    for (const std::string& name : {std::string("SolucionVesk"), std::string("Hoja de cálculo 2"),
                                    std::string("a'b"), std::string(31, 'x')}) {
        sheet->SetName(name);
        EXPECT_EQ(sheet->Name(), name);
    }
    sheet->SetName("Solución ñandú 1234567890123456"); // 31 characters, more bytes
    EXPECT_EQ(sheet->Name(), "Solución ñandú 1234567890123456");
}

TEST(MemoryWorksheet, RefusesNamesTheSpreadsheetRefusesAndKeepsItsName) {
    auto sheet = Sheet();
    sheet->SetName("SolucionVesk");
    const std::string refused[] = {"",    std::string(32, 'x'),
                                   "a:b", "a\\b",
                                   "a/b", "a?b",
                                   "a*b", "a[b",
                                   "a]b", "'ab",
                                   "ab'", "history"};
    for (const auto& name : refused)
        EXPECT_THROW(sheet->SetName(name), ESheetError) << name;
    EXPECT_EQ(sheet->Name(), "SolucionVesk");
}

TEST(MemoryWorksheet, RangeNeedsTwoCellNames) {
    auto sheet = Sheet();
    EXPECT_NO_THROW(sheet->Range("A1", "E8"));
    EXPECT_NO_THROW(sheet->Range("$e$8", "a1"));
    try {
        sheet->Range("A1", "E0");
        FAIL() << "E0 is no cell";
    } catch (const ESheetError& error) {
        EXPECT_STREQ(error.what(), "\"E0\" is not a cell name in A1 form");
    }
    EXPECT_THROW(sheet->Range("", "A1"), ESheetError);
    EXPECT_THROW(sheet->Range("A1:E8", "E8"), ESheetError);
}

TEST(MemoryWorksheet, RefusesChangingAHugeRangeAtOnce) {
    auto sheet = Sheet();
    EXPECT_THROW(sheet->Range("A1", "XFD1048576")->Font().SetBold(true), ESheetError);
    EXPECT_TRUE(sheet->Cells().empty());
}

// Widths count the characters shown, scaled by the font size against the standard 11 points
// and widened a tenth for bold, plus the cell margins.
TEST(MemoryWorksheet, AutoFitFitsEachColumnToItsLongestShownText) {
    auto sheet = Sheet();
    sheet->Range("A1", "A1")->SetValue2(std::string("Codigo"));
    sheet->Range("B1", "B1")->SetValue2(std::string("Nombre"));
    sheet->Range("A1", "B1")->Font().SetBold(true);
    sheet->Range("A2", "B3")
        ->SetValue2(TSheetBlock{{std::int64_t(1), std::string("Proteína cruda")},
                                {std::int64_t(12345678), std::string("Ca")}});
    sheet->Range("D2", "D2")->SetValue2(0.0025);
    sheet->Range("D2", "D2")->SetNumberFormat("0,0000");
    sheet->Range("E2", "E2")->SetValue2(1234567.5);
    sheet->Range("E2", "E2")->SetNumberFormat("#.##0,00");
    sheet->Range("E2", "E2")->Font().SetSize(22);
    sheet->Range("A1", "F1")->EntireColumn()->AutoFit();

    const double margin = 5.0 / 7.0;
    EXPECT_NEAR(*sheet->ColumnWidth(1), 8 + margin, 0.01) << "\"12345678\" beats bold \"Codigo\"";
    EXPECT_NEAR(*sheet->ColumnWidth(2), 14 + margin, 0.01) << "14 characters, 15 bytes";
    EXPECT_FALSE(sheet->ColumnWidth(3)) << "an empty column keeps the standard width";
    EXPECT_NEAR(*sheet->ColumnWidth(4), 6 + margin, 0.01) << "0.0025 shown with four decimals";
    EXPECT_NEAR(*sheet->ColumnWidth(5), 12 * 2 + margin, 0.01) << "1,234,567.50 at 22 points";
    EXPECT_FALSE(sheet->ColumnWidth(6));

    sheet->Range("B1", "B1")->Font().SetSize(8);
    sheet->Range("B2", "B2")->SetValue2(TSheetValue());
    sheet->Range("B1", "B1")->EntireColumn()->AutoFit();
    EXPECT_NEAR(*sheet->ColumnWidth(2), 6 * 8 / 11.0 * 1.1 + margin, 0.01);
    EXPECT_NEAR(*sheet->ColumnWidth(1), 8 + margin, 0.01) << "columns outside are left alone";

    sheet->Range("D2", "D2")->SetValue2(TSheetValue());
    sheet->Range("D1", "D1")->EntireColumn()->AutoFit();
    EXPECT_FALSE(sheet->ColumnWidth(4)) << "a column emptied again goes back to the standard";
}

} // namespace
