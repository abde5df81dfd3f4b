#include "exchange/HerdCsv.h"

#include "exchange/Csv.h"
#include "platform/number_text.h"

#include <thread>
#include <vector>

namespace {

// Reads the rows [first, last) into animals, calculates them and appends their lines to text;
// gives how many failed.
std::size_t CalculateRows(const THerdReader& reader, const std::vector<TCsvRecord>& rows,
                          std::size_t first, std::size_t last, bool raw, char decimalSeparator,
                          std::string& text) {
    THerdAnimal animal;
    std::size_t failed = 0;
    for (std::size_t i = first; i < last; ++i) {
        reader.ReadRow(rows[i], animal);
        CalculateHerdAnimal(animal, raw, decimalSeparator);
        failed += !animal.Error.empty();
        AppendHerdCsvRow(text, animal, reader.Separator(), decimalSeparator);
    }
    return failed;
}

} // namespace

void AppendHerdCsvTitles(std::string& out, const std::array<std::string, HerdColumns>& titles,
                         char separator) {
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (i > 0)
            out += separator;
        AppendCsvCell(out, titles[i], separator);
    }
    out += '\n';
}

void AppendHerdCsvRow(std::string& out, const THerdAnimal& animal, char separator,
                      char decimalSeparator) {
    using TKind = THerdCell::TKind;
    const std::array<THerdCell, HerdColumns> cells = HerdCells(animal);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += separator;
        const THerdCell& cell = cells[i];
        switch (cell.Kind) {
        case TKind::Empty:
            break;
        case TKind::Text:
            AppendCsvCell(out, cell.Text, separator);
            break;
        case TKind::Intake:
            AppendCsvCell(out, FormatFixed(cell.Intake, 2, decimalSeparator), separator);
            break;
        case TKind::Limit:
            AppendCsvCell(out, FormatTenThousandths(cell.Count, decimalSeparator), separator);
            break;
        }
    }
    out += '\n';
}

// This thread reads a batch, then it and a second one calculate half of it each, so that both
// cores of a small machine work; the batch's lines are written in their order.
std::optional<std::size_t> WriteHerdCsv(THerdReader& reader,
                                        const std::array<std::string, HerdColumns>& titles,
                                        bool raw, char decimalSeparator,
                                        const std::function<bool(const std::string&)>& write) {
    constexpr std::size_t BatchSize = 4096;
    std::vector<TCsvRecord> rows(BatchSize);
    std::string firstHalf;
    std::string secondHalf;
    AppendHerdCsvTitles(firstHalf, titles, reader.Separator());
    std::size_t failed = 0;
    std::size_t count = BatchSize;
    while (count == BatchSize) {
        count = 0;
        while (count < BatchSize && reader.NextRow(rows[count]))
            ++count;
        const std::size_t half = count / 2;
        std::size_t secondFailed = 0;
        std::thread helper([&] {
            secondFailed =
                CalculateRows(reader, rows, half, count, raw, decimalSeparator, secondHalf);
        });
        failed += CalculateRows(reader, rows, 0, half, raw, decimalSeparator, firstHalf);
        helper.join();
        failed += secondFailed;
        if (!write(firstHalf) || !write(secondHalf))
            return std::nullopt;
        firstHalf.clear();
        secondHalf.clear();
    }
    return failed;
}
