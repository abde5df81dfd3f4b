#include "platform/spreadsheet/xlsx_writer.h"

#include <clocale>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/spreadsheet/memory_workbook.h"
#include "temp_folder.h"
#include "test_locale.h"
#include "xlsx_readback.h"

namespace {

namespace fs = std::filesystem;

class XlsxWriter : public testing::Test {
protected:
    void TearDown() override { setlocale(LC_NUMERIC, "C"); }

    // A sheet laid out as the export lays out the restrictions, in comma notation.
    void FillRestrictions() {
        FSheet->SetName("SolucionVesk");
        const char* titles[] = {"Codigo", "Nombre", "Unidad", "Mínimo", "Máximo"};
        for (int column = 1; column <= 5; ++column) {
            const std::string cell = CellName({1, column});
            FSheet->Range(cell, cell)->SetValue2(std::string(titles[column - 1]));
        }
        auto titleRange = FSheet->Range("A1", "E1");
        titleRange->Font().SetSize(8);
        titleRange->Font().SetColor(-16777208);
        titleRange->Font().SetBold(true);
        titleRange->Interior().SetColor(0xC0C0C0);
        FSheet->Range("B2", "C4")->SetNumberFormat("@");
        FSheet->Range("D2", "E4")->SetNumberFormat("0,0000");
        FSheet->Range("A2", "E4")
            ->SetValue2(TSheetBlock{
                {std::int64_t(1), std::string("Proteína cruda"), std::string("%"), 0.0025, 18.75},
                {std::int64_t(2), std::string("ENl"), std::string("Mcal/kg"), 1.5, 1234.5},
                {std::int64_t(3), std::string("FDN"), std::string("%"), 28.0, TSheetValue()}});
        auto data = FSheet->Range("A2", "E4");
        data->Font().SetSize(8);
        data->Font().SetColor(-16777208);
        FSheet->Range("A1", "E1")->EntireColumn()->AutoFit();
    }

    std::string Path() const { return (FDir / "Book1.xlsx").string(); }

    TTempFolder FFolder{"xlsx_writer"};
    const fs::path FDir = FFolder.Path();
    TMemoryWorkbook FBook{"Book1", TRegional{',', "."}};
    std::shared_ptr<TMemoryWorksheet> FSheet = FBook.Worksheets()[0];
};

// The file stores a column's width with the cell padding of 5 pixels of a 7-pixel digit added,
// rounded to whole pixels.
void ExpectFileWidth(const std::string& fileWidth, double width) {
    EXPECT_NEAR(std::stod(fileWidth), width + 5.0 / 7.0, 1.0 / 7.0) << fileWidth;
}

std::string Printed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

TEST_F(XlsxWriter, WritesNamesValuesAndFormats) {
    FillRestrictions();
    SaveXlsx(FBook, Path());
    const TReadSheet read = ReadXlsx(Path());
    EXPECT_EQ(read.Name, "SolucionVesk");

    for (const char* title : {"A1", "B1", "C1", "D1", "E1"}) {
        const TReadCell& cell = read.Cells.at(title);
        EXPECT_EQ(cell.Type, "s") << title;
        EXPECT_TRUE(cell.Bold) << title;
        EXPECT_EQ(cell.Fill, "FFC0C0C0") << title;
        EXPECT_EQ(cell.FontColor, "FF000000") << title;
        EXPECT_EQ(cell.Size, "8.0") << title;
    }
    EXPECT_EQ(read.Cells.at("D1").Value, "'Mínimo'");

    const TReadCell& code = read.Cells.at("A2");
    EXPECT_EQ(code.Type, "n");
    EXPECT_EQ(code.Value, "1");
    EXPECT_FALSE(code.Bold);
    EXPECT_EQ(code.Fill, "None");
    EXPECT_EQ(code.FontColor, "FF000000");
    EXPECT_EQ(read.Cells.at("B2").Value, "'Proteína cruda'");
    EXPECT_EQ(read.Cells.at("B2").NumberFormat, "@");

    const TReadCell& minimum = read.Cells.at("D2");
    EXPECT_EQ(minimum.Type, "n");
    EXPECT_EQ(minimum.Value, "0.0025");
    EXPECT_EQ(minimum.NumberFormat, "0.0000");
    EXPECT_EQ(read.Cells.at("E3").Value, "1234.5");

    const TReadCell& empty = read.Cells.at("E4");
    EXPECT_EQ(empty.Type, "None");
    EXPECT_EQ(empty.Value, "None");
    EXPECT_EQ(empty.NumberFormat, "0.0000") << "an empty cell keeps its format";

    for (const char* column : {"A", "B", "C", "D", "E"})
        ASSERT_TRUE(read.ColumnWidths.count(column)) << column;
    ExpectFileWidth(read.ColumnWidths.at("B"), *FSheet->ColumnWidth(2));
    EXPECT_FALSE(read.ColumnWidths.count("F"));
}

TEST_F(XlsxWriter, WritesFontStylesAndAlignment) {
    auto range = FSheet->Range("A1", "A1");
    range->SetValue2(std::string("x"));
    range->Font().SetItalic(true);
    range->Font().SetUnderline(true);
    range->Font().SetName("Liberation Mono");
    range->Font().SetColor(0x0000FF);
    range->SetOrientation(45);
    range->SetWrapText(true);
    range->SetHorizontalAlignment(xlCenter);
    range->Interior().SetColor(0);
    SaveXlsx(FBook, Path());
    const TReadCell cell = ReadXlsx(Path()).Cells.at("A1");
    EXPECT_TRUE(cell.Italic);
    EXPECT_TRUE(cell.Underline);
    EXPECT_FALSE(cell.Bold);
    EXPECT_EQ(cell.FontColor, "FFFF0000") << "0x0000FF is red in blue-green-red order";
    EXPECT_EQ(cell.Fill, "FF000000");
    EXPECT_EQ(cell.Size, "11.0");
    EXPECT_EQ(cell.Rotation, "45");
    EXPECT_TRUE(cell.Wrap);
    EXPECT_EQ(cell.Alignment, "center");
}

// The writer formats numbers with the C library's locale; a decimal comma must not reach the
// file, and the caller's locale must be back afterwards.
TEST_F(XlsxWriter, NumbersStayIntactUnderACommaNumericLocale) {
    // Qt sets the process's locale to the user's, here one with a decimal comma.
    const TTestLocale comma("de_DE");
    if (comma.Name().empty())
        GTEST_SKIP() << "de_DE.UTF-8 cannot be built: localedef or the locales package is missing";
    ASSERT_TRUE(setlocale(LC_NUMERIC, comma.Name().c_str()));
    ASSERT_EQ(Printed(0.25), "0,25") << "the condition of the test";
    FillRestrictions();
    SaveXlsx(FBook, Path());
    EXPECT_EQ(Printed(0.25), "0,25") << "the caller's locale comes back";
    setlocale(LC_NUMERIC, "C");

    const TReadSheet read = ReadXlsx(Path());
    EXPECT_EQ(read.Cells.at("D2").Value, "0.0025");
    EXPECT_EQ(read.Cells.at("E2").Value, "18.75");
    EXPECT_EQ(read.Cells.at("E3").Value, "1234.5");
    EXPECT_EQ(read.Cells.at("D2").NumberFormat, "0.0000");
    ExpectFileWidth(read.ColumnWidths.at("B"), *FSheet->ColumnWidth(2));
}

TEST_F(XlsxWriter, AFailedSaveLeavesNoFileBehind) {
    FillRestrictions();
    const std::string missing = (FDir / "missing" / "Book1.xlsx").string();
    EXPECT_THROW(SaveXlsx(FBook, missing), ESheetError);
    EXPECT_FALSE(fs::exists(FDir / "missing"));

    // A target that cannot be replaced keeps what it was; the temporary file is removed.
    fs::create_directories(FDir / "Book1.xlsx" / "inside");
    try {
        SaveXlsx(FBook, Path());
        FAIL() << "a folder cannot be replaced by the file";
    } catch (const ESheetError& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("Cannot save the workbook as " + Path() + ": ", 0), 0u)
            << error.what();
    }
    EXPECT_TRUE(fs::is_directory(FDir / "Book1.xlsx" / "inside"));
    EXPECT_EQ(FFolder.Entries(), 1);
}

} // namespace
