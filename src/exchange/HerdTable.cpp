#include "exchange/HerdTable.h"

#include "exchange/ModelFile.h"
#include "model/DefaultAnimal.h"
#include "model/FloatError.h"
#include "platform/utf8_text.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <ios>
#include <type_traits>
#include <variant>

namespace {

constexpr std::string_view Nombre = "Nombre";
// A cell's text in a message is cut to this many characters. Spanish quotation marks, since
// quotes would be doubled in the table's CSV.
constexpr std::size_t QuotedLength = 40;

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Quoted(std::string_view text) {
    const std::string_view cut = Utf8Left(text, QuotedLength);
    std::string quoted = "«";
    quoted += cut;
    quoted += cut.size() < text.size() ? "…»" : "»";
    return quoted;
}

bool EmptyRecord(const TCsvRecord& record) {
    return !record.Unterminated &&
           std::all_of(record.Cells.begin(), record.Cells.begin() + std::ptrdiff_t(record.Count),
                       [](const std::string& cell) { return Trimmed(cell).empty(); });
}

// The shortest text that reads back as the same single-precision value.
std::string ShortestReal(float value, char decimalSeparator) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::replace(text, end, '.', decimalSeparator);
    return std::string(text, end);
}

} // namespace

std::ifstream OpenHerdFile(const std::string& path) {
    std::ifstream file;
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        file.open(path, std::ios::binary);
    if (!file.is_open())
        throw EHerdError(path + ": no se puede leer.");
    return file;
}

char DefaultHerdSeparator(char decimalSeparator) {
    return decimalSeparator == ',' ? ';' : ',';
}

THerdReader::THerdReader(std::istream& in, std::string name, char decimalSeparator)
    : FName(std::move(name)), FDecimalSeparator(decimalSeparator), FCsv(in) {
    ReadHeader();
}

bool THerdReader::NextRecord(TCsvRecord& record) {
    try {
        return FCsv.Next(record);
    } catch (const std::ios_base::failure&) {
        throw EHerdError(FName + ": no se puede leer.");
    }
}

void THerdReader::ReadHeader() {
    try {
        FSeparator = FCsv.DetectSeparator(DefaultHerdSeparator(FDecimalSeparator));
    } catch (const std::ios_base::failure&) {
        throw EHerdError(FName + ": no se puede leer.");
    }
    FCsv.SetSeparator(FSeparator);
    TCsvRecord header;
    if (!NextRecord(header))
        throw EHerdError(FName + ": no es una tabla de lote, no tiene ninguna línea.");
    if (header.Unterminated)
        throw EHerdError(FName + ": faltan las comillas de cierre en la cabecera.");
    bool anyKey = false;
    for (std::size_t i = 0; i < header.Count; ++i) {
        const std::string title(Trimmed(header.Cells[i]));
        const auto key = std::find_if(ModelKeys.begin(), ModelKeys.end(), [&](const TModelKey& k) {
            return Utf8SameText(k.Name, title);
        });
        int column = IgnoredColumn;
        if (key != ModelKeys.end())
            column = static_cast<int>(key - ModelKeys.begin());
        else if (Utf8SameText(title, Nombre))
            column = NombreColumn;
        if (column != IgnoredColumn &&
            std::find(FColumns.begin(), FColumns.end(), column) != FColumns.end())
            throw EHerdError(FName + ": la columna " + title +
                             " aparece dos veces en la cabecera.");
        if (column == NombreColumn)
            FNombre = i;
        else if (column == IgnoredColumn)
            FIgnored.push_back(title);
        anyKey = anyKey || column >= 0;
        FColumns.push_back(column);
        FTitles.push_back(title);
    }
    if (!anyKey) {
        std::string keys;
        for (const TModelKey& key : ModelKeys)
            keys += (keys.empty() ? "" : ", ") + std::string(key.Name);
        throw EHerdError(FName +
                         ": no es una tabla de lote, su cabecera no tiene ninguna de las "
                         "columnas " +
                         keys + ".");
    }
}

bool THerdReader::Next(THerdAnimal& animal) {
    if (!NextRow(FRow))
        return false;
    ReadRow(FRow, animal);
    return true;
}

bool THerdReader::NextRow(TCsvRecord& row) {
    do {
        if (!NextRecord(row))
            return false;
    } while (EmptyRecord(row));
    return true;
}

void THerdReader::ReadRow(const TCsvRecord& row, THerdAnimal& animal) const {
    animal.Line = row.Line;
    if (FNombre < row.Count)
        animal.Nombre = row.Cells[FNombre];
    else
        animal.Nombre.clear();
    animal.Model = TVeskDairy();
    animal.Estado.clear();
    animal.OutsideBand = false;
    animal.Error = ReadCells(row, animal.Model);
}

std::string THerdReader::ReadCells(const TCsvRecord& row, TVeskDairy& model) const {
    for (const TModelKey& key : ModelKeys)
        SetModelKeyDefault(key, model);
    for (std::size_t i = 0; i < row.Count; ++i) {
        const std::string_view text = Trimmed(row.Cells[i]);
        if (i >= FColumns.size())
            return CellError(row, i,
                             "está de más, la cabecera tiene " + std::to_string(FColumns.size()) +
                                 " columnas");
        if (i == row.StrayText)
            return CellError(row, i, "tiene texto tras las comillas de cierre");
        if (row.Unterminated && i + 1 == row.Count)
            return CellError(row, i, "no cierra sus comillas");
        if (FColumns[i] < 0 || text.empty())
            continue;
        const TModelKey& key = ModelKeys[static_cast<std::size_t>(FColumns[i])];
        try {
            if (!ReadModelKey(key, text, model, FDecimalSeparator))
                return CellError(row, i,
                                 IsWholeKey(key) ? "no es un número entero" : "no es un número");
        } catch (const EOverflow&) {
            return CellError(row, i, "excede el rango de la precisión simple");
        }
    }
    return {};
}

std::string THerdReader::CellError(const TCsvRecord& row, std::size_t column,
                                   std::string_view what) const {
    const bool titled = column < FTitles.size() && !FTitles[column].empty();
    return "Línea " + std::to_string(row.Line) + ", columna " +
           (titled ? FTitles[column] : std::to_string(column + 1)) + ": " +
           Quoted(row.Cells[column]) + " " + std::string(what) + ".";
}

std::string HerdTemplate(char decimalSeparator) {
    TVeskDairy animal;
    SetDefaultAnimal(animal);
    const char separator = DefaultHerdSeparator(decimalSeparator);
    std::string header;
    std::string row;
    for (const TModelKey& key : ModelKeys) {
        if (!header.empty()) {
            header += separator;
            row += separator;
        }
        header += key.Name;
        std::visit(
            [&](auto field) {
                const auto value = animal.*field;
                if constexpr (std::is_same_v<decltype(value), const float>)
                    row += ShortestReal(value, decimalSeparator);
                else
                    row += std::to_string(+value);
            },
            key.Field);
    }
    return header + "\n" + row + "\n";
}
