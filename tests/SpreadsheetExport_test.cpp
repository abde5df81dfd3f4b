#include "exchange/SpreadsheetExport.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "temp_folder.h"
#include "xlsx_readback.h"

namespace {

namespace fs = std::filesystem;

struct TRestrictionRow {
    int32_t Codigo;
    const char* Nombre;
    const char* Unidad;
    double Min;
    std::optional<double> Max;
};

const TRestrictionRow Restrictions[] = {{1, "Proteína cruda", "%", 0.0025, 18.75},
                                        {2, "ENl", "Mcal/kg", 1.52, 1.8},
                                        {3, "FDN", "%", 28, std::nullopt},
                                        {4, "Calcio", "%", 0.62, 1},
                                        {5, "Fósforo", "%", 0.35, 0.5},
                                        {6, "Magnesio", "%", 0.2, 0.4},
                                        {7, "Potasio", "%", 1, std::nullopt}};

TTableField Field(const char* name, TFieldKind kind, int size, int index, const char* label = "") {
    TTableField field{.FieldName = name, .Kind = kind, .Size = size, .Index = index};
    if (*label)
        field.DisplayLabel = label;
    if (kind == TFieldKind::Currency)
        field.DisplayFormat = "0.0000";
    return field;
}

// The restrictions table after a calculation as the window hands it over, the send flags left
// out; the workbook folders go into a temporary directory of the test.
class SpreadsheetExport : public testing::Test {
protected:
    SpreadsheetExport() {
        FTable.Fields = {Field("Codigo", TFieldKind::Integer, 0, 0),
                         Field("Nombre", TFieldKind::Text, 30, 1),
                         Field("Unidad", TFieldKind::Text, 10, 2),
                         Field("Min", TFieldKind::Currency, 0, 3, "Mínimo"),
                         Field("Max", TFieldKind::Currency, 0, 4, "Máximo")};
        for (const auto& r : Restrictions)
            FTable.Rows.push_back({r.Codigo, std::string(r.Nombre), std::string(r.Unidad), r.Min,
                                   r.Max ? TFieldValue(*r.Max) : TFieldValue()});
        setenv("TMPDIR", FTemp.Path().c_str(), 1);
    }
    ~SpreadsheetExport() override { unsetenv("TMPDIR"); }

    // A row the user added in the grid: no code, no name, a minimum.
    void AddRow() {
        FTable.Rows.push_back({TFieldValue(), std::string(), std::string(), 2.0, TFieldValue()});
    }

    TTempFolder FTemp{"spreadsheet_export"};
    TExportTable FTable;
    TSpreadsheetExport FExport{96};
};

TEST_F(SpreadsheetExport, TheFirstExportWritesTheSheetInAFolderOfItsOwn) {
    const fs::path file = FExport.Export(FTable);
    EXPECT_EQ(file.filename(), "Book1.xlsx");
    EXPECT_EQ(file.parent_path().parent_path(), fs::path(FTemp.Path()));
    EXPECT_EQ(file.parent_path().filename().string().rfind("vesk-", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1);

    const TReadSheet read = ReadXlsx(file);
    EXPECT_EQ(read.Name, "SolucionVesk");
    ExpectTitles(read, {"Codigo", "Nombre", "Unidad", "Mínimo", "Máximo"}, "8.0");
    ExpectCells(read, {
                          {"A2", "n", "1", "General"},
                          {"B2", "s", "'Proteína cruda'", "@"},
                          {"C2", "s", "'%'", "@"},
                          {"D2", "n", "0.0025", "0.0000"},
                          {"E2", "n", "18.75", "0.0000"},
                          {"C3", "s", "'Mcal/kg'", "@"},
                          {"E4", "None", "None", "0.0000"},
                          {"A8", "n", "7", "General"},
                          {"D8", "n", "1", "0.0000"},
                          {"E8", "None", "None", "0.0000"},
                      });
    for (const auto& [name, cell] : read.Cells)
        EXPECT_EQ(cell.Size, "8.0") << name;
    EXPECT_FALSE(read.Cells.count("A9"));
    EXPECT_FALSE(read.Cells.count("F1"));
    EXPECT_EQ(read.ColumnWidths.size(), 5u);
}

TEST_F(SpreadsheetExport, AddedRowsFollowTheSevenWithEmptyCodesAndNames) {
    AddRow();
    const TReadSheet read = ReadXlsx(FExport.Export(FTable));
    EXPECT_EQ(read.Cells.at("A9").Type, "None");
    EXPECT_EQ(read.Cells.at("B9").Type, "None");
    EXPECT_EQ(read.Cells.at("B9").NumberFormat, "@");
    EXPECT_EQ(read.Cells.at("D9").Value, "2");
    EXPECT_FALSE(read.Cells.count("A10"));
}

// As in a worksheet written over: the present table replaces the titles and its rows, and the
// rows of an earlier, longer table stay below it.
TEST_F(SpreadsheetExport, ALaterExportRewritesTheSameFileWithThePresentTable) {
    AddRow();
    const std::string first = FExport.Export(FTable);
    FTable.Rows.pop_back();
    FTable.Rows[0][3] = 0.5;
    FTable.Rows[2][4] = 30.0;
    const std::string second = FExport.Export(FTable);
    EXPECT_EQ(second, first);
    const TReadSheet read = ReadXlsx(second);
    EXPECT_EQ(read.Cells.at("D2").Value, "0.5");
    EXPECT_EQ(read.Cells.at("E4").Value, "30");
    EXPECT_EQ(read.Cells.at("D9").Value, "2");
    EXPECT_EQ(read.Cells.at("D1").Value, "'Mínimo'");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(second).parent_path()),
                            fs::directory_iterator()),
              1);
}

TEST_F(SpreadsheetExport, AFailedSaveIsReportedAndTheNextExportTriesTheSameFileAgain) {
    const std::string file = FExport.Export(FTable);
    fs::remove(file);
    fs::create_directories(fs::path(file) / "blocked");
    try {
        FExport.Export(FTable);
        FAIL() << "a folder stands where the file goes";
    } catch (const EWorkbookError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot save the workbook as " + file + ": ", 0),
                  0u)
            << error.what();
    }
    fs::remove_all(file);
    EXPECT_EQ(FExport.Export(FTable), file);
    EXPECT_EQ(ReadXlsx(file).Cells.at("A8").Value, "7");
}

TEST(SpreadsheetExportFont, ElevenPixelsInPointsWithHalvesRoundedUp) {
    const std::pair<int, int> cases[] = {{96, 8}, {120, 7}, {144, 6}, {72, 11}, {192, 4}};
    for (const auto& [pixelsPerInch, points] : cases)
        EXPECT_EQ(TSpreadsheetExport::FontPoints(pixelsPerInch), points) << pixelsPerInch;
}

} // namespace
