#include "platform/spreadsheet/memory_range.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/spreadsheet/memory_worksheet.h"

namespace {

class MemoryRange : public testing::Test {
protected:
    const TSheetCell& At(const char* name) {
        const TSheetCell* cell = FSheet->Cell(*ParseCellName(name));
        if (!cell)
            throw std::runtime_error(std::string("no cell ") + name);
        return *cell;
    }
    // The style of a cell, the default one when the cell is not used.
    TSheetStyle StyleOf(const char* name) { return Used(name) ? At(name).Style : TSheetStyle(); }
    bool Used(const char* name) { return FSheet->Cell(*ParseCellName(name)) != nullptr; }

    std::shared_ptr<TMemoryWorksheet> FSheet =
        std::make_shared<TMemoryWorksheet>("Sheet1", TRegional{',', "."});
};

TEST_F(MemoryRange, SingleValueGoesIntoEveryCellOfTheRange) {
    FSheet->Range("A1", "A1")->SetValue2(std::string("Codigo"));
    FSheet->Range("C3", "B2")->SetValue2(std::int64_t(7));
    EXPECT_EQ(std::get<std::string>(At("A1").Value), "Codigo");
    for (const char* name : {"B2", "C2", "B3", "C3"})
        EXPECT_EQ(std::get<std::int64_t>(At(name).Value), 7) << name;
    EXPECT_FALSE(Used("D3"));
    EXPECT_FALSE(Used("B4"));
}

TEST_F(MemoryRange, BlockFillsTheRangeCellByCellAndEmptyValuesLeaveCellsEmpty) {
    FSheet->Range("E4", "E4")->SetValue2(9.5);
    const TSheetBlock block{{std::int64_t(3), std::string("FDN"), 0.0025, TSheetValue()},
                            {TSheetValue(), std::string(""), -1.5, 1e300}};
    FSheet->Range("B3", "E4")->SetValue2(block);
    EXPECT_EQ(std::get<std::int64_t>(At("B3").Value), 3);
    EXPECT_EQ(std::get<std::string>(At("C3").Value), "FDN");
    EXPECT_EQ(std::get<double>(At("D3").Value), 0.0025);
    EXPECT_FALSE(Used("E3"));
    EXPECT_FALSE(Used("B4"));
    EXPECT_EQ(std::get<std::string>(At("C4").Value), "");
    EXPECT_EQ(std::get<double>(At("E4").Value), 1e300);
}

TEST_F(MemoryRange, EmptyValueEmptiesACellButKeepsItsFormat) {
    auto range = FSheet->Range("A1", "B1");
    range->SetValue2(1.5);
    FSheet->Range("B1", "B1")->Font().SetBold(true);
    range->SetValue2(TSheetValue());
    EXPECT_FALSE(Used("A1"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(At("B1").Value));
    EXPECT_TRUE(At("B1").Style.Font.Bold);
}

TEST_F(MemoryRange, RefusesBlocksOfAnotherShapeAndValuesTheSheetCannotHold) {
    auto range = FSheet->Range("A2", "E3");
    const std::vector<TSheetValue> five(5, 1.0);
    const TSheetBlock wrong[] = {{five}, {five, five, five}, {five, {1.0, 2.0}}, {}};
    for (const auto& block : wrong)
        EXPECT_THROW(range->SetValue2(block), ESheetError);
    const TSheetValue refused[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   std::string(32768, 'x')};
    for (const auto& value : refused) {
        EXPECT_THROW(range->SetValue2(value), ESheetError);
        EXPECT_THROW(range->SetValue2(TSheetBlock{five, {1.0, 1.0, value, 1.0, 1.0}}), ESheetError);
    }
    EXPECT_TRUE(FSheet->Cells().empty()) << "a refused write changes nothing";
    EXPECT_NO_THROW(range->SetValue2(std::string(32767, 'x')));
}

TEST_F(MemoryRange, NumberFormatIsKeptAsGivenAndRefusedFormatsChangeNothing) {
    auto range = FSheet->Range("D2", "D21");
    range->SetNumberFormat("0,0000");
    EXPECT_EQ(At("D2").Style.NumberFormat, "0,0000");
    EXPECT_EQ(At("D21").Style.NumberFormat, "0,0000");
    EXPECT_EQ(FSheet->FileFormat(At("D2").Style.NumberFormat), "0.0000");
    try {
        range->SetNumberFormat("0,00\"");
        FAIL() << "an unclosed quote is refused";
    } catch (const ESheetError& error) {
        EXPECT_STREQ(error.what(), "Unable to set the NumberFormat property: \"0,00\"\" is not a "
                                   "number format the spreadsheet accepts");
    }
    EXPECT_EQ(At("D2").Style.NumberFormat, "0,0000");
}

TEST_F(MemoryRange, FontSettingsGoToEveryCell) {
    auto range = FSheet->Range("A1", "E1");
    ISheetFont& font = range->Font();
    font.SetSize(8);
    font.SetColor(-16777208);
    font.SetBold(true);
    font.SetItalic(true);
    font.SetUnderline(true);
    font.SetName("Liberation Sans");
    font.SetItalic(false);
    for (const char* name : {"A1", "E1"}) {
        const TSheetFontStyle& style = At(name).Style.Font;
        EXPECT_EQ(style.Size, 8);
        EXPECT_EQ(style.Color, 0x000000u) << "window text is black";
        EXPECT_TRUE(style.Bold);
        EXPECT_FALSE(style.Italic);
        EXPECT_TRUE(style.Underline);
        EXPECT_EQ(style.Name, "Liberation Sans");
    }
    EXPECT_FALSE(Used("F1"));
}

TEST_F(MemoryRange, ColoursAreBlueGreenRedOrSystemColours) {
    const std::pair<std::int32_t, std::uint32_t> shown[] = {{0xC0C0C0, 0xC0C0C0},
                                                            {0x0000FF, 0x0000FF},
                                                            {0, 0},
                                                            {0xFFFFFF, 0xFFFFFF},
                                                            {std::int32_t(0xFF000008), 0x000000},
                                                            {std::int32_t(0xFF000005), 0xFFFFFF},
                                                            {std::int32_t(0xFF00000F), 0xF0F0F0}};
    auto range = FSheet->Range("A1", "A1");
    for (const auto& [value, color] : shown) {
        range->Interior().SetColor(value);
        range->Font().SetColor(value);
        EXPECT_EQ(At("A1").Style.InteriorColor, color) << value;
        EXPECT_EQ(At("A1").Style.Font.Color, color) << value;
    }
    for (const std::int32_t value : {0x1000000, -1, std::int32_t(0xFF000063), -4142}) {
        EXPECT_THROW(range->Interior().SetColor(value), ESheetError) << value;
        EXPECT_THROW(range->Font().SetColor(value), ESheetError) << value;
    }
}

TEST_F(MemoryRange, RefusesFontSizesAndNamesOutOfReach) {
    auto range = FSheet->Range("A1", "A1");
    for (const double size : {0.0, 0.5, 410.0, -8.0, std::nan("")})
        EXPECT_THROW(range->Font().SetSize(size), ESheetError) << size;
    EXPECT_THROW(range->Font().SetName(""), ESheetError);
    EXPECT_THROW(range->Font().SetName(std::string(32, 'F')), ESheetError);
    EXPECT_FALSE(Used("A1"));
}

TEST_F(MemoryRange, OrientationWrappingAndAlignment) {
    auto range = FSheet->Range("A1", "B2");
    const std::pair<int, int> rotations[] = {
        {0, 0},         {45, 45},          {-90, -90},        {90, 90},
        {xlUpward, 90}, {xlDownward, -90}, {xlVertical, 270}, {xlHorizontal, 0}};
    for (const auto& [orientation, rotation] : rotations) {
        range->SetOrientation(orientation);
        EXPECT_EQ(StyleOf("B2").Rotation, rotation) << orientation;
    }
    EXPECT_THROW(range->SetOrientation(91), ESheetError);
    EXPECT_THROW(range->SetOrientation(-91), ESheetError);
    range->SetWrapText(true);
    EXPECT_TRUE(At("A2").Style.WrapText);
    range->SetWrapText(false);
    for (const int alignment : {xlLeft, xlCenter, xlRight, xlFill, xlJustify,
                                xlCenterAcrossSelection, xlDistributed, xlGeneral}) {
        range->SetHorizontalAlignment(alignment);
        EXPECT_EQ(StyleOf("A1").HorizontalAlignment, alignment);
    }
    EXPECT_THROW(range->SetHorizontalAlignment(0), ESheetError);
    EXPECT_THROW(range->SetHorizontalAlignment(2), ESheetError);
    EXPECT_TRUE(FSheet->Cells().empty()) << "orientation 0, no wrapping and general alignment "
                                            "are a cell's defaults";
}

} // namespace
