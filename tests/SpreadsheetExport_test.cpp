#include "exchange/SpreadsheetExport.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/spreadsheet/memory_sheet_application.h"
#include "recording_sheet.h"
#include "temp_folder.h"
#include "xlsx_readback.h"

namespace {

using testing::ElementsAreArray;

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

const char* const SevenRows =
    "Range(A2:E8).Value2={1|'Proteína cruda'|'%'|0.0025|18.75};{2|'ENl'|'Mcal/kg'|1.52|1.8};"
    "{3|'FDN'|'%'|28|};{4|'Calcio'|'%'|0.62|1};{5|'Fósforo'|'%'|0.35|0.5};"
    "{6|'Magnesio'|'%'|0.2|0.4};{7|'Potasio'|'%'|1|}";

// The restrictions table as the window walks it after a calculation, without the send flags,
// which the export command hides.
class SpreadsheetExport : public testing::Test {
protected:
    SpreadsheetExport() {
        for (TTableField* field : {&FMin, &FMax})
            field->DisplayFormat = "0.0000";
        FMin.DisplayLabel = "Mínimo";
        FMax.DisplayLabel = "Máximo";
        FTable.Fields = {&FCodigo, &FNombre, &FUnidad, &FMin, &FMax};
        for (const auto& r : Restrictions)
            FTable.Rows.push_back({r.Codigo, std::string(r.Nombre), std::string(r.Unidad), r.Min,
                                   r.Max ? TFieldValue(*r.Max) : TFieldValue()});
    }

    TSpreadsheetExport::TConnect Connect() {
        return [this]() -> std::shared_ptr<ISheetApplication> {
            ++FConnects;
            if (FConnectFails)
                throw ESheetError("Class not registered");
            return std::make_shared<TRecordingApplication>(FLog);
        };
    }

    void Export() { FExport.Export(FTable); }

    std::vector<std::string> TakeCalls() { return std::exchange(FLog.Calls, {}); }

    TSheetLog FLog;
    int FConnects = 0;
    bool FConnectFails = false;
    TTableField FCodigo{.FieldName = "Codigo", .Kind = TFieldKind::Integer};
    TTableField FNombre{.FieldName = "Nombre", .Size = 25};
    TTableField FUnidad{.FieldName = "Unidad", .Size = 10};
    TTableField FMin{.FieldName = "Min", .Kind = TFieldKind::Currency};
    TTableField FMax{.FieldName = "Max", .Kind = TFieldKind::Currency};
    TExportTable FTable;
    TSpreadsheetExport FExport{Connect(), TRegional{'.', ","}, 96};
};

// The calls that format a range with the 8-point window-text font.
std::vector<std::string> Formatted(const std::string& range, bool title) {
    std::vector<std::string> calls{range + ".Font.Size=8", range + ".Font.Color=-16777208",
                                   range + ".Font.Bold=" + (title ? "1" : "0"),
                                   range + ".Font.Italic=0", range + ".Font.Underline=0"};
    if (title)
        calls.push_back(range + ".Interior.Color=12632256");
    for (const char* call : {".Orientation=0", ".WrapText=0", ".HorizontalAlignment=1"})
        calls.push_back(range + call);
    return calls;
}

std::vector<std::string> TitleCalls() {
    std::vector<std::string> calls{"Range(A1:A1).Value2='Codigo'", "Range(B1:B1).Value2='Nombre'",
                                   "Range(C1:C1).Value2='Unidad'", "Range(D1:D1).Value2='Mínimo'",
                                   "Range(E1:E1).Value2='Máximo'"};
    for (auto& call : Formatted("Range(A1:E1)", true))
        calls.push_back(call);
    return calls;
}

std::vector<std::string> FormatCalls(int first, int last, const std::string& real) {
    std::vector<std::string> calls;
    for (const char* column : {"B", "C", "D", "E"})
        calls.push_back(std::string("Range(") + column + std::to_string(first) + ":" + column +
                        std::to_string(last) + ").NumberFormat=" + (column[0] < 'D' ? "@" : real));
    return calls;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> Ending{"Range(A1:E1).EntireColumn.AutoFit", "ScreenUpdating=1",
                                      "Visible=1"};

TEST_F(SpreadsheetExport, FirstExportConnectsAndWritesTitlesRowsFormatsAndShows) {
    Export();
    const auto expected = Concat(
        {{"Workbooks.Add(-4167)", "Worksheets.Item(1)", "ScreenUpdating=0", "Name=SolucionVesk"},
         TitleCalls(),
         FormatCalls(2, 8, "0.0000"),
         {SevenRows},
         Formatted("Range(A2:E8)", false),
         Ending});
    EXPECT_THAT(TakeCalls(), ElementsAreArray(expected));
    EXPECT_TRUE(FExport.Connected());
}

TEST_F(SpreadsheetExport, LaterExportsWriteIntoTheSameWorksheetWithoutConnecting) {
    Export();
    TakeCalls();
    FTable.Rows[0][3] = 0.5;
    Export();
    const auto calls = TakeCalls();
    EXPECT_EQ(FConnects, 1);
    EXPECT_EQ(calls.front(), "Range(A1:A1).Value2='Codigo'");
    EXPECT_THAT(calls, testing::Contains(testing::StartsWith(
                           "Range(A2:E8).Value2={1|'Proteína cruda'|'%'|0.5|18.75};")));
    EXPECT_THAT(calls, testing::Not(testing::Contains("ScreenUpdating=0")));
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()), Ending);
}

TEST_F(SpreadsheetExport, RowsGoInBlocksOfTwentyWithOneFormatCallPerColumnAndBlock) {
    for (int32_t code = 8; code <= 45; ++code)
        FTable.Rows.push_back({code, std::string("Extra"), std::string(""), 1.5, TFieldValue()});
    Export();
    auto calls = TakeCalls();
    calls.erase(calls.begin(), calls.begin() + 4 + TitleCalls().size());
    std::vector<std::string> blocks;
    for (const auto& call : calls)
        if (call.find(".Value2=") != std::string::npos ||
            call.find("NumberFormat") != std::string::npos)
            blocks.push_back(call.substr(0, call.find('=')));
    const std::vector<std::string> expected{
        "Range(B2:B21).NumberFormat",  "Range(C2:C21).NumberFormat",  "Range(D2:D21).NumberFormat",
        "Range(E2:E21).NumberFormat",  "Range(A2:E21).Value2",        "Range(B22:B41).NumberFormat",
        "Range(C22:C41).NumberFormat", "Range(D22:D41).NumberFormat", "Range(E22:E41).NumberFormat",
        "Range(A22:E41).Value2",       "Range(B42:B46).NumberFormat", "Range(C42:C46).NumberFormat",
        "Range(D42:D46).NumberFormat", "Range(E42:E46).NumberFormat", "Range(A42:E46).Value2"};
    EXPECT_EQ(blocks, expected);
    EXPECT_THAT(calls, testing::Contains("Range(A2:E46).Font.Size=8"));
}

TEST_F(SpreadsheetExport, AddedRowsFollowTheSevenWithEmptyCodesAndEmptyNameTexts) {
    FTable.Rows.push_back({{}, {}, {}, 2.0, {}});
    Export();
    std::string rows = SevenRows;
    rows.replace(rows.find("E8"), 2, "E9");
    EXPECT_THAT(TakeCalls(), testing::Contains(rows + ";{|''|''|2|}"));
}

TEST_F(SpreadsheetExport, OneDataRowKeepsTheDefaultDataFont) {
    FExport.Export({{&FCodigo}, {{int32_t(1)}}});
    const auto calls = TakeCalls();
    EXPECT_THAT(calls, testing::Contains("Range(A2:A2).Value2={1}"));
    EXPECT_THAT(calls, testing::Not(testing::Contains(testing::StartsWith("Range(A2:A2).Font"))));
    EXPECT_THAT(calls, testing::Not(testing::Contains(testing::HasSubstr("NumberFormat"))));
}

TEST_F(SpreadsheetExport, AFailedConnectionPassesOnAndIsTriedAgain) {
    FConnectFails = true;
    EXPECT_THROW(Export(), ESheetError);
    EXPECT_FALSE(FExport.Connected());
    FConnectFails = false;
    Export();
    EXPECT_EQ(FConnects, 2);
    EXPECT_TRUE(FExport.Connected());
    EXPECT_EQ(TakeCalls().front(), "Workbooks.Add(-4167)");
}

TEST_F(SpreadsheetExport, UsesTheLocalNotationAndFallsBackWhenTheFormatIsRefused) {
    TSpreadsheetExport comma(Connect(), TRegional{',', "."}, 96);
    FLog.RefusedFormats = {"0,0000"};
    comma.Export(FTable);
    const auto calls = TakeCalls();
    const auto at = std::find(calls.begin(), calls.end(), "Range(D2:D8).NumberFormat=0,0000");
    ASSERT_NE(at, calls.end());
    EXPECT_EQ(*(at + 1), "Range(D2:D8).NumberFormat=0,00");
    EXPECT_EQ(*(at + 2), "Range(E2:E8).NumberFormat=0,0000");
    EXPECT_EQ(*(at + 3), "Range(E2:E8).NumberFormat=0,00");
}

TEST(SpreadsheetExportFont, ElevenPixelsInPointsWithHalvesRoundedUp) {
    const std::pair<int, int> cases[] = {{96, 8}, {120, 7}, {144, 6}, {72, 11}, {192, 4}};
    for (const auto& [pixelsPerInch, points] : cases)
        EXPECT_EQ(TSpreadsheetExport::FontPoints(pixelsPerInch), points) << pixelsPerInch;
}

// The whole way to a real file: the workbook saved and read back as a spreadsheet reads it.
TEST_F(SpreadsheetExport, TheSavedWorkbookHoldsTheRestrictions) {
    TTempFolder temp("spreadsheet_export");
    setenv("TMPDIR", temp.Path().c_str(), 1);
    std::vector<std::string> opened;
    TSpreadsheetExport real(
        [&] {
            return std::make_shared<TMemorySheetApplication>(
                [&](const std::string& path) {
                    opened.push_back(path);
                    return true;
                },
                TRegional{',', "."});
        },
        TRegional{',', "."}, 96);
    real.Export(FTable);
    unsetenv("TMPDIR");
    ASSERT_EQ(opened.size(), 1u);
    const TReadSheet read = ReadXlsx(opened[0]);
    EXPECT_EQ(read.Name, "SolucionVesk");
    for (const char* title : {"A1", "B1", "C1", "D1", "E1"}) {
        EXPECT_TRUE(read.Cells.at(title).Bold) << title;
        EXPECT_EQ(read.Cells.at(title).Fill, "FFC0C0C0") << title;
    }
    EXPECT_EQ(read.Cells.at("D1").Value, "'Mínimo'");
    EXPECT_EQ(read.Cells.at("A8").Value, "7");
    EXPECT_FALSE(read.Cells.count("A9"));
    EXPECT_FALSE(read.Cells.count("F1")) << "the send flags appear nowhere";
    EXPECT_EQ(read.Cells.at("E4").Type, "None");
    EXPECT_EQ(read.Cells.at("E8").Type, "None");
    EXPECT_EQ(read.Cells.at("D2").Type, "n");
    EXPECT_EQ(read.Cells.at("D2").Value, "0.0025");
    EXPECT_EQ(read.Cells.at("D2").NumberFormat, "0.0000");
    EXPECT_EQ(read.Cells.at("E2").NumberFormat, "0.0000");
    EXPECT_EQ(read.Cells.at("B2").NumberFormat, "@");
    EXPECT_FALSE(read.Cells.at("B2").Bold);
    EXPECT_EQ(read.Cells.at("B2").Size, "8.0");
    EXPECT_EQ(read.ColumnWidths.size(), 5u);
}

} // namespace
