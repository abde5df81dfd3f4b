#include "platform/spreadsheet/sheet_colors.h"

#include <array>
#include <utility>

namespace {

constexpr std::uint32_t SystemColorBase = 0xFF000000;

// The system colours of the window toolkit by index, with the light desktop theme's colours.
constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 9> SystemColors{{
    {5, 0xFFFFFF},  // window background
    {6, 0x000000},  // window frame
    {7, 0x000000},  // menu text
    {8, 0x000000},  // window text
    {13, 0xD77800}, // highlight
    {14, 0xFFFFFF}, // highlighted text
    {15, 0xF0F0F0}, // button face
    {17, 0x6D6D6D}, // greyed text
    {18, 0x000000}, // button text
}};

} // namespace

std::optional<std::uint32_t> ShownColor(std::int32_t color) {
    const auto value = std::uint32_t(color);
    if (value <= 0xFFFFFF)
        return value;
    for (const auto& [index, shown] : SystemColors)
        if (value == SystemColorBase + index)
            return shown;
    return std::nullopt;
}

std::uint32_t RgbOf(std::uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
