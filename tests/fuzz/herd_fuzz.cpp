// Arbitrary bytes as a herd table, read with either decimal separator and calculated both
// through the window's inputs and raw. Rows come in the order of their lines; a row that reads
// holds only finite reals; every row of the limits table reads back as CSV as twenty cells that
// hold the animal's name and failure as they are.

#include "fuzz_support.h"
#include "model_checks.h"

#include "exchange/Csv.h"
#include "exchange/HerdCsv.h"
#include "exchange/HerdLimits.h"
#include "exchange/HerdTable.h"

#include <initializer_list>
#include <sstream>
#include <string>

namespace {

void CheckRow(const THerdAnimal& animal, char separator, char decimalSeparator) {
    // After a first line, as in the table, where a name may start with a byte order mark.
    std::string text = "-\n";
    AppendHerdCsvRow(text, animal, separator, decimalSeparator);
    std::istringstream in(text);
    TCsvReader reader(in);
    reader.SetSeparator(separator);
    TCsvRecord record;
    Require(reader.Next(record) && reader.Next(record));
    Require(!record.Unterminated && record.StrayText == record.Count);
    Require(record.Count == HerdColumns);
    Require(record.Cells[0] == animal.Nombre);
    Require(record.Cells[HerdColumns - 1] == animal.Error);
    Require(!reader.Next(record));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(AsText(data, size));
    for (const char decimalSeparator : {'.', ','}) {
        for (const bool raw : {false, true}) {
            std::istringstream in(text);
            try {
                THerdReader reader(in, "lote", decimalSeparator);
                long line = 0;
                for (THerdAnimal animal; reader.Next(animal);) {
                    Require(animal.Line > line);
                    line = animal.Line;
                    Require(!animal.Error.empty() || FiniteReals(animal.Model));
                    CalculateHerdAnimal(animal, raw, decimalSeparator);
                    CheckRow(animal, reader.Separator(), decimalSeparator);
                }
            } catch (const EHerdError&) {
            }
        }
    }
    return 0;
}
