#include "exchange/HerdWorkbook.h"

#include "model/Fixed.h"
#include "model/TextEncoding.h"
#include "platform/number_text.h"
#include "platform/utf8_text.h"

#include <charconv>

namespace {

// The most characters a cell of a workbook holds.
constexpr std::size_t CellCharacters = 32767;

// The number that the CSV's text shows: the intake rounded to two decimals as the CSV rounds it.
double Number(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A text of any bytes as a cell can hold it: UTF-8, cut to the cell's size.
std::string CellText(std::string_view text) {
    const std::string utf8 = TextToUtf8(text);
    return std::string(Utf8Left(utf8, CellCharacters));
}

TWorkbookSheet Sheet(const std::array<std::string, HerdColumns>& titles) {
    using TKind = THerdCell::TKind;
    TWorkbookSheet sheet{"Lote", {}, 0};
    for (std::size_t column = 0; column < HerdColumns; ++column) {
        const TKind kind = HerdColumnKind(column);
        sheet.Columns.push_back({titles[column], kind == TKind::Intake  ? "0.00"
                                                 : kind == TKind::Limit ? "0.0000"
                                                                        : ""});
    }
    return sheet;
}

} // namespace

THerdWorkbook::THerdWorkbook(const std::string& path,
                             const std::array<std::string, HerdColumns>& titles)
    : FWriter(path, Sheet(titles)) {}

void THerdWorkbook::Add(const THerdAnimal& animal) {
    using TKind = THerdCell::TKind;
    FRow.clear();
    for (const THerdCell& cell : HerdCells(animal)) {
        switch (cell.Kind) {
        case TKind::Empty:
            FRow.emplace_back();
            break;
        case TKind::Text:
            FRow.emplace_back(CellText(cell.Text));
            break;
        case TKind::Intake:
            FRow.emplace_back(Number(FormatFixed(cell.Intake, 2, '.')));
            break;
        case TKind::Limit:
            FRow.emplace_back(TFixed{cell.Count}.ToDouble());
            break;
        }
    }
    FWriter.AddRow(FRow);
}
