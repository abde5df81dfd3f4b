#include "exchange/HerdCsv.h"

#include "exchange/Csv.h"
#include "platform/number_text.h"

#include <array>
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

// A second thread calculates the end of each batch while this one calculates its start and then
// reads the next batch, so that both cores of a small machine work; the lines are written in
// their order.
std::optional<std::size_t> WriteHerdCsv(THerdReader& reader,
                                        const std::array<std::string, HerdColumns>& titles,
                                        bool raw, char decimalSeparator,
                                        const std::function<bool(const std::string&)>& write) {
    constexpr std::size_t BatchSize = 4096;
    std::array<std::vector<TCsvRecord>, 2> batches;
    const auto read = [&](std::vector<TCsvRecord>& rows) {
        rows.resize(BatchSize);
        std::size_t count = 0;
        while (count < BatchSize && reader.NextRow(rows[count]))
            ++count;
        return count;
    };
    std::string start;
    std::string end;
    AppendHerdCsvTitles(start, titles, reader.Separator());
    if (!write(start))
        return std::nullopt;
    start.clear();
    std::size_t failed = 0;
    for (std::size_t batch = 0, count = read(batches[0]); count > 0; ++batch) {
        const std::vector<TCsvRecord>& rows = batches[batch % 2];
        // Less than half for this thread, which reads the next batch as well.
        const std::size_t split = count * 9 / 20;
        std::size_t endFailed = 0;
        std::size_t next = 0;
        {
            const std::jthread helper([&] {
                endFailed = CalculateRows(reader, rows, split, count, raw, decimalSeparator, end);
            });
            failed += CalculateRows(reader, rows, 0, split, raw, decimalSeparator, start);
            if (count == BatchSize)
                next = read(batches[(batch + 1) % 2]);
        }
        failed += endFailed;
        if (!write(start) || !write(end))
            return std::nullopt;
        start.clear();
        end.clear();
        count = next;
    }
    return failed;
}
