#include "herd_readback.h"
#include "vesk_calc_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Titles =
    "Nombre;Estado;Consumo;Consumo estimado;Proteína cruda Mínimo;Proteína cruda Máximo;"
    "Energía neta de lactación Mínimo;Energía neta de lactación Máximo;"
    "Fibra detergente neutra Mínimo;Fibra detergente neutra Máximo;Calcio Mínimo;Calcio Máximo;"
    "Fósforo Mínimo;Fósforo Máximo;Magnesio Mínimo;Magnesio Máximo;Potasio Mínimo;"
    "Potasio Máximo;Aviso;Error\n";

// The cells of a line without quotes.
std::vector<std::string> Cells(const std::string& line, char separator) {
    std::vector<std::string> cells;
    std::stringstream stream(line);
    for (std::string cell; std::getline(stream, cell, separator);)
        cells.push_back(cell);
    if (!line.empty() && line.back() == separator)
        cells.emplace_back();
    return cells;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class VeskCalcHerd : public VeskCalcRunTest {
protected:
    TRun Herd(const std::string& table, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--herd", File("lote.csv", table)});
        return Run(options);
    }
};

// The worked examples of the model, as rows of one herd: the limits come from the counts of the
// daily amounts, the estimate is Calculate's and the warning the window's band around the
// estimate of EstimateIntake.
TEST_F(VeskCalcHerd, WorkedExamples) {
    const TRun run = Herd("Nombre;Tipo;Consumo;Peso;Lactacion;Leche;Grasa;Proteina;DIM;"
                          "Temperatura;GDP;ADG;Freshenning\n"
                          "Vaca 450;0;10;450;1;10;3.5;3.2;60;20;0;0;0\n"
                          "Vaca 450 con 12,5;0;12.5;450;1;10;3.5;3.2;60;20;0;0;0\n"
                          "Vaca 600;0;10;600;2;30;3.8;3.1;30;30;0.2;0;0\n"
                          "Seca 650;1;12;650;2;;;;60;;0;;10\n"
                          "Seca 650 con 30 días;1;10;650;2;;;;30;;0;;10\n"
                          "Vaquilla 350;2;8;350;;;;;;;0.8;0.8;\n"
                          "Vaquilla 450;2;10;450;;;;;;;0.8;0.8;\n",
                          {"--raw", "--decimal-separator", "."});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0] + "\n", Titles);
    // Rows whose every limit the model's examples give.
    EXPECT_EQ(lines[1], "Vaca 450;Vaca en producción;10.00;11.15;15.1720;18.2064;1.6080;1.6080;"
                        "31.2188;;0.5460;0.7800;0.3120;0.4044;0.2790;0.4185;1.1150;;;");
    EXPECT_EQ(lines[4], "Seca 650;Vaca en seca;12.00;9.32;10.9958;13.1950;1.2015;1.2015;23.3039;;"
                        "0.3933;0.5625;0.2250;0.2914;1.2425;1.8638;5.0492;;"
                        "Consumo ofrecido fuera de rango;");
    EXPECT_EQ(lines[6], "Vaquilla 350;Vaquilla/Vaquillona;8.00;8.01;12.8512;15.4215;1.3784;1.3784;"
                        "30.0547;;0.4288;0.6125;0.2450;0.3176;1.6025;2.4038;6.5112;;;");
    // The same cow offered 12.5 kg: the concentrations fall.
    const std::vector<std::string> offered = Cells(lines[2], ';');
    EXPECT_EQ(offered[4], "12.1376");
    EXPECT_EQ(offered[5], "14.5651");
    EXPECT_EQ(offered[6], "1.2864");
    EXPECT_EQ(offered[8], "24.9751");
    // The cow of 600 kg with 30 days in milk at 30 °C: the daily amounts of the model's example
    // over 10 kg; the energy's 27599.5 is a tie, stored even.
    const std::vector<std::string> big = Cells(lines[3], ';');
    EXPECT_EQ(big[3], "17.19");
    EXPECT_EQ(big[4], "31.8490");
    EXPECT_EQ(big[6], "2.7600");
    EXPECT_EQ(big[10], "1.3090");
    EXPECT_EQ(big[12], "0.7480");
    EXPECT_EQ(big[14], "0.4300");
    EXPECT_EQ(big[16], "2.0630");
    // The dry cow with 30 days in milk: 46.0980 Mcal over 10 kg.
    EXPECT_EQ(Cells(lines[5], ';')[6], "4.6098");
    // The heifer above 400 kg: 13.3147 Mcal and 0.5757 kg of protein over 10 kg.
    const std::vector<std::string> heavy = Cells(lines[7], ';');
    EXPECT_EQ(heavy[3], "9.94");
    EXPECT_EQ(heavy[4], "5.7570");
    EXPECT_EQ(heavy[6], "1.3315");
}

// One random animal's keys as the same texts in a herd row and in a model file.
struct TAnimalText {
    std::vector<std::string> Values;
};

const char* const Keys[] = {"Tipo",        "Consumo", "Peso",     "Lactacion",
                            "Leche",       "Grasa",   "Proteina", "DIM",
                            "Temperatura", "GDP",     "ADG",      "Freshenning"};

// Animals around and beyond the window's limits, some that fail (days in milk below 7, a
// negative weight, nothing offered) and states beyond the three.
TAnimalText RandomAnimal(std::mt19937& random) {
    const auto real = [&](double low, double high) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f",
                      std::uniform_real_distribution<double>(low, high)(random));
        return std::string(text);
    };
    const auto whole = [&](int low, int high) {
        return std::to_string(std::uniform_int_distribution<int>(low, high)(random));
    };
    return {{whole(0, 3), random() % 20 == 0 ? "0" : real(-1, 50), real(-20, 800), whole(-1, 3),
             real(-5, 60), real(0, 7), real(0, 25), whole(0, 90), real(-50, 50), real(0, 2),
             real(0, 12), whole(-5, 320)}};
}

// Every row of a random herd is what vesk-calc reports for the same animal as a model file, with
// and without the window's inputs: the state's name and every limit, or the failure's message.
TEST_F(VeskCalcHerd, EveryRowIsTheReportOfItsAnimal) {
    std::mt19937 random(2024);
    std::vector<TAnimalText> animals;
    std::string table = "Nombre";
    for (const char* key : Keys)
        table += std::string(";") + key;
    table += "\n";
    std::vector<std::string> files;
    for (int i = 0; i < 150; ++i) {
        animals.push_back(RandomAnimal(random));
        table += "Animal " + std::to_string(i);
        std::string model;
        for (size_t k = 0; k < std::size(Keys); ++k) {
            table += ";" + animals.back().Values[k];
            model += std::string(Keys[k]) + "=" + animals.back().Values[k] + "\r\n";
        }
        table += "\n";
        files.push_back(ModelFile(std::to_string(i) + ".VM2", model));
    }
    for (const bool raw : {false, true}) {
        std::vector<std::string> options = {"--decimal-separator", "."};
        if (raw)
            options.push_back("--raw");
        const TRun herd = Herd(table, options);
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), files.begin(), files.end());
        const TRun reports = Run(arguments);

        const std::vector<std::string> rows = Lines(herd.Out);
        ASSERT_EQ(rows.size(), animals.size() + 1);
        std::vector<std::string> report;
        std::stringstream stream(reports.Out + "\f\n");
        std::string line;
        bool failed = false;
        for (size_t i = 0; i < animals.size(); ++i) {
            report.clear();
            while (std::getline(stream, line) && line != "\f")
                report.push_back(line);
            const std::vector<std::string> row = Cells(rows[i + 1], ';');
            ASSERT_EQ(row.size(), 20u) << rows[i + 1];
            EXPECT_EQ(row[0], "Animal " + std::to_string(i));
            if (report.empty()) {
                // Its message follows the file's name on standard error.
                failed = true;
                EXPECT_NE(reports.Err.find(files[i] + ": " + row[19] + "\n"), std::string::npos)
                    << row[19];
                EXPECT_TRUE(std::all_of(row.begin() + 1, row.end() - 1,
                                        [](const std::string& cell) { return cell.empty(); }));
                continue;
            }
            EXPECT_EQ(row[19], "");
            EXPECT_EQ("Etapa productiva:           " + row[1], report[11]) << rows[i + 1];
            std::vector<std::string> limits;
            for (size_t l = report.size() - 7; l < report.size(); ++l) {
                std::vector<std::string> words;
                std::stringstream amounts(report[l]);
                for (std::string word; amounts >> word;)
                    words.push_back(word);
                const bool hasMax = l != report.size() - 5 && l != report.size() - 1;
                limits.push_back(hasMax ? words[words.size() - 2] : words.back());
                limits.push_back(hasMax ? words.back() : "");
            }
            EXPECT_EQ(std::vector<std::string>(row.begin() + 4, row.begin() + 18), limits)
                << rows[i + 1] << (raw ? " raw" : "");
        }
        EXPECT_TRUE(failed) << "no failing animal in the herd";
        EXPECT_EQ(herd.ExitCode, 1);
    }
}

// Bad tables and bad outputs, each with the run's end: a failing row has its Error cell and exit
// code 1; a table that is no herd, cannot be read or an output that cannot be written end with 2
// and their message, leaving nothing behind. Good variants give the reference's limits table.
TEST_F(VeskCalcHerd, BadInputs) {
    const std::string reference = "Nombre;Peso;Grasa\nA;450;3.5\nB;600;4\n";
    const TRun good = Herd(reference);
    ASSERT_EQ(good.ExitCode, 0);
    ASSERT_EQ(Lines(good.Out).size(), 3u);
    const std::string rowA = Lines(good.Out)[1] + "\n";
    const std::string rowB = Lines(good.Out)[2] + "\n";
    const auto withSeparator = [](std::string text, char separator) {
        std::replace(text.begin(), text.end(), ';', separator);
        return text;
    };
    // With the comma as decimal separator every number has a comma.
    std::string commaDecimals = good.Out;
    std::replace(commaDecimals.begin(), commaDecimals.end(), '.', ',');
    const auto failing = [](const std::string& name, const std::string& error) {
        return name + ";;;;;;;;;;;;;;;;;;;" + error + "\n";
    };
    const struct {
        const char* Name;
        std::string Table; // empty: the file is missing
        std::vector<std::string> Options;
        int ExitCode;
        std::string Out;
        std::string Err;
    } cases[] = {
        {"unterminated quote",
         "Nombre;Peso;Grasa\nA;450;3.5\n\"B;600;4\n",
         {},
         1,
         Titles + rowA +
             failing("\"B;600;4\n\"",
                     "\"Línea 3, columna Nombre: «B;600;4\n» no cierra sus comillas.\""),
         ""},
        {"bad number",
         "Nombre;Peso;Grasa\nA;450;3.5\nB;6OO;4\n",
         {},
         1,
         Titles + rowA + failing("B", "Línea 3, columna Peso: «6OO» no es un número."),
         ""},
        {"extra cells",
         "Nombre;Peso;Grasa\nA;450;3.5;x\nB;600;4\n",
         {},
         1,
         Titles +
             failing("A", "Línea 2, columna 4: «x» está de más, la cabecera tiene 3 columnas.") +
             rowB,
         ""},
        {"empty file",
         "",
         {},
         2,
         "",
         "/lote.csv: no es una tabla de lote, no tiene ninguna línea.\n"},
        {"header only", "Nombre;Peso;Grasa\n", {}, 0, Titles, ""},
        {"no herd",
         "Arete;Corral\n1;2\n",
         {},
         2,
         "",
         "/lote.csv: no es una tabla de lote, su cabecera"},
        {"byte order mark", "\xEF\xBB\xBF" + reference, {}, 0, good.Out, ""},
        {"CRLF", "Nombre;Peso;Grasa\r\nA;450;3.5\r\nB;600;4\r\n", {}, 0, good.Out, ""},
        {"no line end at the end", "Nombre;Peso;Grasa\nA;450;3.5\nB;600;4", {}, 0, good.Out, ""},
        {"tab", withSeparator(reference, '\t'), {}, 0, withSeparator(good.Out, '\t'), ""},
        {"comma", withSeparator(reference, ','), {}, 0, withSeparator(good.Out, ','), ""},
        {"comma decimals where the point is in force",
         "Nombre;Peso;Grasa\nA;450;3,5\nB;600;4\n",
         {},
         1,
         Titles + failing("A", "Línea 2, columna Grasa: «3,5» no es un número.") + rowB,
         ""},
        {"comma decimals",
         "Nombre;Peso;Grasa\nA;450;3,5\nB;600;4\n",
         {"--decimal-separator", ","},
         0,
         commaDecimals,
         ""},
        {"missing file", "", {}, 2, "", "/falta.csv: no se puede leer.\n"},
    };
    for (const auto& c : cases) {
        std::string path = FFolder.Path() + "/falta.csv";
        if (std::string(c.Name) != "missing file")
            path = File("lote.csv", c.Table);
        std::vector<std::string> arguments = {"--herd", path};
        arguments.insert(arguments.end(), c.Options.begin(), c.Options.end());
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Name;
        EXPECT_EQ(run.Out, c.Out) << c.Name;
        EXPECT_EQ(run.Err.empty(), c.Err.empty()) << c.Name << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.Err), std::string::npos) << c.Name << ": " << run.Err;
    }
    // A directory is no readable table either, and a full output ends the run with 2.
    EXPECT_EQ(Run({"--herd", FFolder.Path()}).ExitCode, 2);
    const TRun full = Run({"--herd", File("lote.csv", reference)}, "/dev/null", "/dev/full");
    EXPECT_EQ(full.ExitCode, 2);
    EXPECT_EQ(full.Err, "No se puede escribir en la salida estándar.\n");
}

// A herd of several batches keeps its order: line k is animal k, as the animal's own herd of one
// row gives it.
TEST_F(VeskCalcHerd, LargeHerdKeepsItsOrder) {
    const char* const animals[] = {"0;10;450;1;10;3.5;3.2;60;20;0;0;0",
                                   "0;10;600;2;30;3.8;3.1;3",
                                   "1;12;650;2;;;;60;;0;;10",
                                   "2;8;350;;;;;;;0.8;0.8;",
                                   "2;10;450;;;;;;;0.8;0.8;",
                                   "0;0;450",
                                   "1;9;-5"};
    const std::string header = "Nombre;Tipo;Consumo;Peso;Lactacion;Leche;Grasa;Proteina;DIM;"
                               "Temperatura;GDP;ADG;Freshenning\n";
    std::vector<std::string> alone;
    for (const char* animal : animals) {
        const std::vector<std::string> lines = Lines(Herd(header + "x;" + animal + "\n").Out);
        ASSERT_EQ(lines.size(), 2u);
        alone.push_back(lines[1].substr(1));
    }
    std::string table = header;
    const int rows = 10000;
    for (int i = 0; i < rows; ++i)
        table += std::to_string(i) + ";" + animals[i % std::size(animals)] + "\n";
    const TRun run = Herd(table);
    EXPECT_EQ(run.ExitCode, 1);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), rows + 1u);
    for (int i = 0; i < rows; ++i)
        ASSERT_EQ(lines[i + 1], std::to_string(i) + alone[i % std::size(animals)]) << i;
}

// --xlsx: the same table in the one sheet of a workbook, nothing on standard output; a workbook
// that cannot be written ends with 2 and leaves nothing behind, an earlier file included.
TEST_F(VeskCalcHerd, WorkbookHoldsTheTableOfTheCsv) {
    for (const char separator : {'.', ','}) {
        const std::string table = separator == '.'
                                      ? "Nombre;Peso;Grasa;Consumo\nA;450;3.5;10\nB;6OO;4;12\n"
                                        "C;600;4;20\n;350;;8.25\n"
                                      : "Nombre;Peso;Grasa;Consumo\nA;450;3,5;10\nB;6OO;4;12\n"
                                        "C;600;4;20\n;350;;8,25\n";
        const std::vector<std::string> options = {"--decimal-separator", std::string(1, separator)};
        const TRun csv = Herd(table, options);
        std::vector<std::string> arguments = options;
        const std::string book = FFolder.Path() + "/lote.xlsx";
        arguments.insert(arguments.end(), {"--herd", FFolder.Path() + "/lote.csv", "--xlsx", book});
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "");
        ExpectHerdSheet(ReadXlsx(book), csv.Out, ';');
    }
    // A folder that is missing or a file, and a folder in the workbook's place, which fails the
    // rename at the end, after every row was written.
    std::filesystem::create_directory(FFolder.Path() + "/libro.xlsx");
    const long entries = FFolder.Entries();
    for (const std::string& target :
         {FFolder.Path() + "/falta/lote.xlsx", FFolder.Path() + "/lote.csv/lote.xlsx",
          FFolder.Path() + "/libro.xlsx"}) {
        const TRun run = Run({"--herd", FFolder.Path() + "/lote.csv", "--xlsx", target});
        EXPECT_EQ(run.ExitCode, 2) << target;
        EXPECT_EQ(run.Out, "") << target;
        EXPECT_TRUE(run.Err.starts_with("No se puede escribir el libro " + target + ": "))
            << run.Err;
        EXPECT_EQ(FFolder.Entries(), entries) << target;
    }
    EXPECT_TRUE(std::filesystem::is_empty(FFolder.Path() + "/libro.xlsx"));
}

TEST_F(VeskCalcHerd, StandardInputIsADash) {
    const std::string table = "Peso;Grasa\n450;3.5\n";
    const TRun fromFile = Herd(table);
    const TRun fromInput = Run({"--herd", "-"}, File("entrada.csv", table));
    EXPECT_EQ(fromInput.ExitCode, 0);
    EXPECT_EQ(fromInput.Out, fromFile.Out);
    EXPECT_EQ(Run({"--herd", "-"}).Err,
              "entrada estándar: no es una tabla de lote, no tiene ninguna línea.\n");
}

TEST_F(VeskCalcHerd, OtherColumnsAreNamedOnce) {
    const TRun run = Herd("Arete;Peso; Corral \n1;450;a\n2;500;b\n3;550;c\n");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(Lines(run.Out).size(), 4u);
    EXPECT_EQ(run.Err, "Columnas que no se usan: Arete, Corral.\n");
}

TEST_F(VeskCalcHerd, TemplateHoldsTheDefaultAnimal) {
    const TRun point = Run({"--herd-template", "--decimal-separator", "."});
    EXPECT_EQ(point.ExitCode, 0);
    EXPECT_EQ(point.Out, "Tipo,Consumo,Peso,Lactacion,Leche,Grasa,Proteina,DIM,Temperatura,GDP,"
                         "ADG,Freshenning\n0,10,450,1,10,3.5,3.2,60,20,0,0,0\n");
    const TRun comma = Run({"--herd-template", "--decimal-separator", ","});
    EXPECT_EQ(Lines(comma.Out).at(1), "0;10;450;1;10;3,5;3,2;60;20;0;0;0");
    // As a herd it calculates as the default animal of vesk-calc does.
    const std::vector<std::string> row =
        Cells(Lines(Herd(point.Out, {"--decimal-separator", "."}).Out).at(1), ',');
    const std::vector<std::string> report = Lines(Run({"--decimal-separator", "."}).Out);
    ASSERT_EQ(report.size(), 31u);
    EXPECT_EQ(report[24], "Proteína cruda     %           " + row.at(4) + "   " + row.at(5));
}

TEST_F(VeskCalcHerd, WrongArgumentsShowTheUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {"--herd"},
        {"--herd", "a.csv", "b.VM2"},
        {"--herd", "a.csv", "--herd", "b.csv"},
        {"--xlsx", "lote.xlsx"},
        {"--herd", "a.csv", "--xlsx"},
        {"--herd", "a.csv", "--xlsx", "-"},
        {"--herd-template", "--raw"},
        {"--herd-template", "a.VM2"},
        {"--herd-template", "--herd", "a.csv"},
    };
    for (const auto& arguments : cases) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments.back();
        EXPECT_EQ(run.Out, "") << arguments.back();
        EXPECT_NE(run.Err.find("     vesk-calc --herd TABLA [--xlsx LIBRO]"), std::string::npos)
            << arguments.back();
    }
}

} // namespace
