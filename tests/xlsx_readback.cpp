#include "xlsx_readback.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

namespace {

// One tab-separated line per finding: the sheet's name, each cell, each column width.
constexpr const char* Script = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print('sheet', ws.title, sep='\t')
for row in ws.iter_rows():
    for c in row:
        fill = c.fill.fgColor.rgb if c.fill.fill_type == 'solid' else None
        print('cell', c.coordinate, c.data_type if c.value is not None else None, repr(c.value),
              c.number_format, int(bool(c.font.b)), c.font.sz, fill, sep='\t')
for letter, dim in ws.column_dimensions.items():
    if dim.customWidth:
        print('width', letter, dim.width, sep='\t')
)";

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        fields.push_back(field);
    return fields;
}

} // namespace

TReadSheet ReadXlsx(const std::string& path) {
    TReadSheet sheet;
    std::string command = "/usr/bin/python3 -c \"$VESK_READ_XLSX\" '" + path + "'";
    setenv("VESK_READ_XLSX", Script, 1);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run python3";
        return sheet;
    }
    std::string output;
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), n);
    EXPECT_EQ(pclose(pipe), 0) << "reading " << path << " failed";
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const auto f = Split(line);
        if (f.size() == 2 && f[0] == "sheet")
            sheet.Name = f[1];
        else if (f.size() == 3 && f[0] == "width")
            sheet.ColumnWidths[f[1]] = f[2];
        else if (f.size() == 8 && f[0] == "cell")
            sheet.Cells[f[1]] = {f[2], f[3], f[4], f[5] == "1", f[6], f[7]};
    }
    return sheet;
}

void ExpectCells(const TReadSheet& sheet, const std::vector<TExpectedCell>& cells) {
    for (const TExpectedCell& expected : cells) {
        const auto found = sheet.Cells.find(expected.Cell);
        if (found == sheet.Cells.end()) {
            EXPECT_STREQ(expected.Type, "None") << expected.Cell << " is missing";
            continue;
        }
        const TReadCell& cell = found->second;
        EXPECT_EQ(cell.Type, expected.Type) << expected.Cell;
        EXPECT_EQ(cell.Value, expected.Value) << expected.Cell;
        EXPECT_EQ(cell.NumberFormat, expected.NumberFormat) << expected.Cell;
        EXPECT_FALSE(cell.Bold) << expected.Cell;
    }
}

void ExpectTitles(const TReadSheet& sheet, const std::vector<std::string>& titles,
                  const std::string& size) {
    for (size_t column = 0; column < titles.size(); ++column) {
        const std::string name = std::string(1, char('A' + column)) + "1";
        const auto found = sheet.Cells.find(name);
        ASSERT_NE(found, sheet.Cells.end()) << name;
        const TReadCell& title = found->second;
        EXPECT_EQ(title.Type, "s") << name;
        EXPECT_EQ(title.Value, std::string("'") + titles[column] + "'") << name;
        EXPECT_TRUE(title.Bold) << name;
        EXPECT_EQ(title.Fill, "FFC0C0C0") << name;
        EXPECT_EQ(title.Size, size) << name;
    }
}
