// vesk-calc: the report of one animal on standard output, as the window calculates it.

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
    "Uso: vesk-calc [--raw] [--decimal-separator C] [ARCHIVO]\n"
    "Calcula el animal por omisión, o el del archivo de modelo ARCHIVO, e imprime el informe.\n"
    "  --raw                    calcula los valores tal como están, sin pasarlos por las\n"
    "                           entradas de la ventana (límites y decimales)\n"
    "  --decimal-separator C    separador decimal C en lugar del de la configuración regional\n";

struct TOptions {
    bool Raw = false;
    std::optional<char> DecimalSeparator;
    std::optional<std::string> File;
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
        } else if (argument.size() > 1 && argument[0] == '-') {
            return std::nullopt;
        } else if (options.File) {
            return std::nullopt;
        } else {
            options.File = std::string(argument);
        }
    }
    return options;
}

std::vector<std::string> Report(const TOptions& options, char decimalSeparator) {
    TVeskDairy model(ProgramFile());
    if (options.File) {
        // The window loads a missing file as all defaults; on the command line a mistyped name
        // would then go unnoticed, so a file that cannot be read is an error here.
        std::error_code error;
        if (!std::filesystem::is_regular_file(*options.File, error) ||
            !std::ifstream(*options.File)) {
            throw std::runtime_error("Cannot read the model file " + *options.File);
        }
        LoadModel(*options.File, model, decimalSeparator);
    } else {
        SetDefaultAnimal(model);
    }
    if (!options.Raw) {
        RoundTripInputs(model, decimalSeparator);
    }
    model.Calculate();
    return ReportLines(model, decimalSeparator);
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
    // The whole report is made before anything is printed, so a failure prints no half report.
    std::string text;
    try {
        for (const std::string& line : Report(*options, Regional().DecimalSeparator)) {
            text += line;
            text += '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << ErrorReportText(error.what()) << '\n';
        return 1;
    }
    std::cout << text << std::flush;
    if (!std::cout) {
        std::cerr << ErrorReportText("Unable to write to standard output") << '\n';
        return 1;
    }
    return 0;
}
