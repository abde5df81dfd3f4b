#pragma once

#include <cstdint>
#include <optional>

// The colour an automation colour value shows, as 0xBBGGRR: a value from 0 to 0xFFFFFF is
// itself; a system colour of the window toolkit (0xFF000000 plus its index) is the colour it
// has on this desktop. Empty for any other value, which the spreadsheet refuses.
std::optional<std::uint32_t> ShownColor(std::int32_t color);

// A 0xBBGGRR colour as 0xRRGGBB, the order of the workbook file.
std::uint32_t RgbOf(std::uint32_t bgr);
