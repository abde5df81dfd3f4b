#pragma once

#include "xlsx_readback.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// Checks that a workbook's sheet "Lote" holds the limits table of the CSV text, which must have
// no quoted cells: the titles bold on silver, then every line's cells, the intakes and limits as
// the numbers shown with the formats "0.00" and "0.0000", texts as texts, empty cells empty.
inline void ExpectHerdSheet(const TReadSheet& sheet, const std::string& csv, char separator) {
    EXPECT_EQ(sheet.Name, "Lote");
    std::vector<std::vector<std::string>> lines;
    std::stringstream text(csv);
    for (std::string line; std::getline(text, line);) {
        std::vector<std::string>& cells = lines.emplace_back();
        std::stringstream stream(line + separator);
        for (std::string cell; std::getline(stream, cell, separator);)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), 20u) << line;
    }
    ASSERT_FALSE(lines.empty());
    ExpectTitles(sheet, lines[0], "11.0");
    for (std::size_t row = 1; row < lines.size(); ++row) {
        for (std::size_t column = 0; column < 20; ++column) {
            std::string name(1, char('A' + column));
            name += std::to_string(row + 1);
            const std::string& shown = lines[row][column];
            const auto found = sheet.Cells.find(name);
            if (shown.empty()) {
                EXPECT_TRUE(found == sheet.Cells.end() || found->second.Type == "None") << name;
                continue;
            }
            ASSERT_NE(found, sheet.Cells.end()) << name;
            const TReadCell& cell = found->second;
            EXPECT_FALSE(cell.Bold) << name;
            if (column < 2 || column >= 18) {
                EXPECT_EQ(cell.Type, "s") << name;
                std::string quoted(1, '\'');
                quoted += shown;
                quoted += '\'';
                EXPECT_EQ(cell.Value, quoted) << name;
                continue;
            }
            std::string number = shown;
            for (char& c : number)
                c = c == ',' ? '.' : c;
            EXPECT_EQ(cell.Type, "n") << name;
            EXPECT_EQ(std::strtod(cell.Value.c_str(), nullptr),
                      std::strtod(number.c_str(), nullptr))
                << name << " " << cell.Value << " " << shown;
            EXPECT_EQ(cell.NumberFormat, column < 4 ? "0.00" : "0.0000") << name;
        }
    }
    std::string after(1, 'A');
    after += std::to_string(lines.size() + 1);
    EXPECT_EQ(sheet.Cells.count(after), 0u);
}
