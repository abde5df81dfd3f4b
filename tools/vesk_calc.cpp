// vesk-calc: the report of each animal on standard output, as the window calculates it, or the
// limits table of a herd.

#include "exchange/HerdCsv.h"
#include "exchange/HerdLimits.h"
#include "exchange/HerdTable.h"
#include "exchange/HerdWorkbook.h"
#include "exchange/ModelFile.h"
#include "model/DefaultAnimal.h"
#include "model/InputRoundTrip.h"
#include "model/ReportText.h"
#include "model/UVesk.h"
#include "platform/error_text.h"
#include "platform/program_file.h"
#include "platform/regional.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr std::string_view Usage =
    "Uso: vesk-calc [--raw] [--decimal-separator C] [ARCHIVO...]\n"
    "     vesk-calc --herd TABLA [--xlsx LIBRO] [--raw] [--decimal-separator C]\n"
    "     vesk-calc --herd-template [--decimal-separator C]\n"
    "Calcula el animal por omisión, o el de cada archivo de modelo ARCHIVO, e imprime los\n"
    "informes uno tras otro, separados por una línea con solo un salto de página.\n"
    "Con --herd calcula cada animal de la tabla de lote TABLA (CSV; \"-\" lee la entrada\n"
    "estándar) y escribe una fila de límites por animal, en CSV en la salida estándar o,\n"
    "con --xlsx, en la hoja \"Lote\" del libro LIBRO.\n"
    "  --raw                    calcula los valores tal como están, sin pasarlos por las\n"
    "                           entradas de la ventana (límites y decimales)\n"
    "  --decimal-separator C    separador decimal C en lugar del de la configuración regional\n"
    "  --xlsx LIBRO             escribe la tabla de límites en el libro .xlsx LIBRO, entero\n"
    "                           o nada\n"
    "  --herd-template          imprime una tabla de lote con el animal por omisión\n";

struct TOptions {
    bool Raw = false;
    std::optional<char> DecimalSeparator;
    std::vector<std::string> Files;
    std::optional<std::string> Herd;
    std::optional<std::string> Xlsx;
    bool HerdTemplate = false;
};

// One printable ASCII character that cannot be read as part of a number otherwise.
bool IsSeparator(std::string_view text) {
    if (text.size() != 1) {
        return false;
    }
    const char c = text[0];
    return c > ' ' && c < 0x7F && (c < '0' || c > '9') && c != '+' && c != '-' && c != 'e' &&
           c != 'E';
}

// Model files, a herd and the template each take their own arguments; a workbook never goes to
// standard output.
bool Consistent(const TOptions& options) {
    if (options.HerdTemplate) {
        return !options.Herd && !options.Xlsx && !options.Raw && options.Files.empty();
    }
    if (options.Herd) {
        return options.Files.empty() && options.Xlsx != "-";
    }
    return !options.Xlsx;
}

std::optional<TOptions> ParseArguments(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--raw") {
            options.Raw = true;
        } else if (argument == "--decimal-separator") {
            if (i + 1 >= argc || !IsSeparator(argv[i + 1])) {
                return std::nullopt;
            }
            options.DecimalSeparator = argv[++i][0];
        } else if (argument == "--herd" || argument == "--xlsx") {
            std::optional<std::string>& value = argument == "--herd" ? options.Herd : options.Xlsx;
            if (i + 1 >= argc || value) {
                return std::nullopt;
            }
            value = argv[++i];
        } else if (argument == "--herd-template") {
            options.HerdTemplate = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return std::nullopt;
        } else {
            options.Files.emplace_back(argument);
        }
    }
    if (!Consistent(options)) {
        return std::nullopt;
    }
    return options;
}

// The report text of the model file (or of the default animal when file is null), calculated
// from a copy of named, which holds the records of the names file.
std::string Report(const TVeskDairy& named, const TOptions& options, const std::string* file,
                   char decimalSeparator) {
    TVeskDairy model = named;
    if (file) {
        // The window loads a missing file as all defaults; on the command line a mistyped name
        // would then go unnoticed, so a file that cannot be read is an error here.
        std::error_code error;
        if (!std::filesystem::is_regular_file(*file, error) || !std::ifstream(*file)) {
            throw std::runtime_error("No se puede leer el archivo de modelo " + *file);
        }
        LoadModel(*file, model, decimalSeparator);
    } else {
        SetDefaultAnimal(model);
    }
    if (!options.Raw) {
        RoundTripInputs(model, decimalSeparator);
    }
    model.Calculate();
    std::string text;
    for (const std::string& line : ReportLines(model, decimalSeparator)) {
        text += line;
        text += '\n';
    }
    return text;
}

// Writes text to standard output; false when the output cannot take it.
bool Put(const std::string& text) {
    return static_cast<bool>(
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size())).flush());
}

constexpr const char* OutputFailure = "No se puede escribir en la salida estándar.\n";

// Writes text to standard output, or says why it cannot.
bool Write(const std::string& text) {
    if (!Put(text)) {
        std::cerr << OutputFailure;
        return false;
    }
    return true;
}

// One report of the default animal or of one file; a failure prints no half report.
int OneReport(const TVeskDairy& named, const TOptions& options, char decimalSeparator) {
    std::string text;
    try {
        text = Report(named, options, options.Files.empty() ? nullptr : &options.Files[0],
                      decimalSeparator);
    } catch (const std::exception& error) {
        std::cerr << ErrorReportText(error.what()) << '\n';
        return 1;
    }
    return Write(text) ? 0 : 1;
}

// The reports of every file in order, each after a form feed line but the first. A file that
// fails leaves its report empty, so the n-th report still belongs to the n-th file, and prints
// its message, after its name, on standard error; the others are still written.
int ManyReports(const TVeskDairy& named, const TOptions& options, char decimalSeparator) {
    constexpr std::size_t FlushSize = 1 << 16;
    std::string text;
    int exitCode = 0;
    for (std::size_t i = 0; i < options.Files.size(); ++i) {
        if (i > 0) {
            text += "\f\n";
        }
        try {
            text += Report(named, options, &options.Files[i], decimalSeparator);
        } catch (const std::exception& error) {
            std::cerr << options.Files[i] << ": " << ErrorReportText(error.what()) << '\n';
            exitCode = 1;
        }
        if (text.size() >= FlushSize) {
            if (!Write(text)) {
                return 1;
            }
            text.clear();
        }
    }
    return Write(text) ? exitCode : 1;
}

// The limits table into the workbook of --xlsx, whole or not at all.
int HerdToWorkbook(THerdReader& reader, const TVeskDairy& named, const TOptions& options,
                   char decimalSeparator) {
    try {
        THerdWorkbook book(*options.Xlsx, HerdTitles(named));
        std::size_t failed = 0;
        for (THerdAnimal animal; reader.Next(animal);) {
            CalculateHerdAnimal(animal, options.Raw, decimalSeparator);
            failed += !animal.Error.empty();
            book.Add(animal);
        }
        book.Commit();
        return failed > 0 ? 1 : 0;
    } catch (const EWorkbookError& error) {
        std::cerr << "No se puede escribir el libro " << *options.Xlsx << ": "
                  << ErrorReportText(error.what()) << '\n';
        return 2;
    }
}

// Reads the herd table of --herd and writes its limits table.
int Herd(const TVeskDairy& named, const TOptions& options, char decimalSeparator) {
    const bool standardInput = *options.Herd == "-";
    const std::string name = standardInput ? "entrada estándar" : *options.Herd;
    try {
        std::ifstream file;
        if (!standardInput) {
            file = OpenHerdFile(name);
        }
        THerdReader reader(standardInput ? std::cin : file, name, decimalSeparator);
        std::string ignored;
        for (const std::string& column : reader.IgnoredColumns()) {
            ignored += (ignored.empty() ? "" : ", ") + (column.empty() ? "(sin título)" : column);
        }
        if (!ignored.empty()) {
            std::cerr << "Columnas que no se usan: " << ignored << ".\n";
        }
        if (options.Xlsx) {
            return HerdToWorkbook(reader, named, options, decimalSeparator);
        }
        const std::optional<std::size_t> failed =
            WriteHerdCsv(reader, HerdTitles(named), options.Raw, decimalSeparator, Put);
        if (!failed) {
            std::cerr << OutputFailure;
            return 2;
        }
        return *failed > 0 ? 1 : 0;
    } catch (const EHerdError& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<TOptions> options = ParseArguments(argc, argv);
    if (!options) {
        std::cerr << Usage;
        return 2;
    }
    if (options->DecimalSeparator) {
        TRegional regional = Regional();
        regional.DecimalSeparator = *options->DecimalSeparator;
        SetRegional(regional);
    }
    const char decimalSeparator = Regional().DecimalSeparator;
    if (options->HerdTemplate) {
        if (!Put(HerdTemplate(decimalSeparator))) {
            std::cerr << OutputFailure;
            return 2;
        }
        return 0;
    }
    // The names file is read once; every report starts from a copy of its records.
    const TVeskDairy named(ProgramFile());
    if (options->Herd) {
        return Herd(named, *options, decimalSeparator);
    }
    return options->Files.size() > 1 ? ManyReports(named, *options, decimalSeparator)
                                     : OneReport(named, *options, decimalSeparator);
}
