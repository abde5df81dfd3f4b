#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/spreadsheet/spreadsheet.h"

// The standard font of a new workbook: its size, and its name left to the file's default.
constexpr double StandardFontSize = 11;

struct TSheetFontStyle {
    std::string Name; // empty: the workbook's standard font
    double Size = StandardFontSize;
    std::optional<std::uint32_t> Color; // 0xBBGGRR; empty: automatic
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    auto operator<=>(const TSheetFontStyle&) const = default;
};

struct TSheetStyle {
    std::string NumberFormat; // as given, in the user's notation; empty: general
    TSheetFontStyle Font;
    std::optional<std::uint32_t> InteriorColor; // 0xBBGGRR; empty: no fill
    int Rotation = 0;                           // degrees -90 to 90, or 270 for stacked text
    bool WrapText = false;
    int HorizontalAlignment = xlGeneral;
    auto operator<=>(const TSheetStyle&) const = default;
};

struct TSheetCell {
    TSheetValue Value;
    TSheetStyle Style;
};
