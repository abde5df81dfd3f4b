#include "model/DefaultAnimal.h"
#include "model/ReportText.h"
#include "model/UVesk.h"

#include "report_lines.h"
#include "vesk_calc_run.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using VeskCalcTest = VeskCalcRunTest;

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::string Report(const std::vector<std::string>& data, const std::vector<std::string>& limits) {
    return Join(ExpectedReport(data, limits));
}

TEST_F(VeskCalcTest, RawDefaultAnimalIsTheWorkedExample) {
    const TRun run = Run({"--raw"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, Report(DefaultAnimalData("60"),
                              {
                                  "Proteína cruda     %           15.1720   18.2064",
                                  "Energía Neta Lact  MCal/Kg      1.6080    1.6080",
                                  "Fibra Det. Neutra  %           31.2188",
                                  "Calcio             %            0.5460    0.7800",
                                  "Fósforo            %            0.3120    0.4044",
                                  "Magnesio           %            0.2790    0.4185",
                                  "Potasio            %            1.1150",
                              }));
}

TEST_F(VeskCalcTest, DefaultAnimalPassesThroughTheInputs) {
    TVeskDairy model;
    SetDefaultAnimal(model);
    model.DIM = 52;
    model.Calculate();
    const std::vector<std::string> lines = ReportLines(model, '.');
    const TRun run = Run({});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, Report(DefaultAnimalData("52"), {lines.begin() + 24, lines.end()}));
    // The estimate of 10.992339 kg that the window shows, as 28 % of the 10 kg offered.
    EXPECT_NE(run.Out.find("Fibra Det. Neutra  %           30.7785\n"), std::string::npos);
}

TEST_F(VeskCalcTest, DryCowModelFile) {
    const std::string file =
        ModelFile("seca.VM2", "Tipo=1\r\nPeso=650\r\nFreshenning=10\r\n"
                              "GDP=0\r\nLactacion=2\r\nDIM=60\r\nConsumo=12\r\n");
    const TRun run = Run({file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, Report({"Peso de la vaca:            650.0 Kg.",
                               "Consumo diario de alimento: 12.0 Kg. Materia seca",
                               "Etapa productiva:           Vaca en seca",
                               "Número de lactación:        De 3 a más",
                               "Ganancia diaria de peso:    0.00 g."},
                              {
                                  "Proteína cruda     %           10.9958   13.1950",
                                  "Energía Neta Lact  MCal/Kg      1.2015    1.2015",
                                  "Fibra Det. Neutra  %           23.3039",
                                  "Calcio             %            0.3933    0.5625",
                                  "Fósforo            %            0.2250    0.2914",
                                  "Magnesio           %            1.2425    1.8638",
                                  "Potasio            %            5.0492",
                              }));
}

TEST_F(VeskCalcTest, HeiferModelFile) {
    const std::string file =
        ModelFile("vaquilla.VM2", "Tipo=2\r\nPeso=350\r\nADG=0.8\r\nGDP=0.8\r\nConsumo=8\r\n");
    const TRun run = Run({file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out,
              Report({"Peso de la vaca:            350.0 Kg.",
                      "Consumo diario de alimento: 8.0 Kg. Materia seca",
                      "Etapa productiva:           Vaquilla/Vaquillona",
                      "Ganancia diaria de peso:    0.80 g.", "ADG:                        0.80 g."},
                     {
                         "Proteína cruda     %           12.8512   15.4215",
                         "Energía Neta Lact  MCal/Kg      1.3784    1.3784",
                         "Fibra Det. Neutra  %           30.0547",
                         "Calcio             %            0.4288    0.6125",
                         "Fósforo            %            0.2450    0.3176",
                         "Magnesio           %            1.6025    2.4038",
                         "Potasio            %            6.5112",
                     }));
}

TEST_F(VeskCalcTest, CommaSeparatorWritesAndReads) {
    const std::string file = ModelFile("coma.VM2", "Grasa=3,8\r\nConsumo=10,25\r\nDIM=40\r\n");
    const TRun run = Run({"--decimal-separator", ",", file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find("Peso de la vaca:            450,0 Kg.\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Consumo diario de alimento: 10,3 Kg. Materia seca\n"),
              std::string::npos);
    EXPECT_NE(run.Out.find("Porcentaje de grasa:        3,80 %\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Días de lactación:          40 día(s)\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Energía Neta Lact  MCal/Kg      1,"), std::string::npos);
}

TEST_F(VeskCalcTest, FailureReportsMessageWithStop) {
    const struct {
        std::vector<std::string> Arguments;
        const char* Data;
        const char* Message;
    } cases[] = {
        {{}, "Consumo=0\r\n", "Floating point division by zero.\n"},
        {{"--raw"}, "Peso=-5\r\n", "Invalid floating point operation.\n"},
        {{}, "Peso=1e39\r\n", "Floating point overflow.\n"},
    };
    for (const auto& c : cases) {
        const std::string file = ModelFile("falla.VM2", c.Data);
        std::vector<std::string> arguments = c.Arguments;
        arguments.push_back(file);
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 1) << c.Data;
        EXPECT_EQ(run.Out, "") << c.Data;
        EXPECT_EQ(run.Err, c.Message) << c.Data;
    }
}

TEST_F(VeskCalcTest, UnreadableFileIsAnError) {
    for (const std::string& file : {FFolder.Path() + "/falta.VM2", FFolder.Path()}) {
        const TRun run = Run({file});
        EXPECT_EQ(run.ExitCode, 1) << file;
        EXPECT_EQ(run.Out, "") << file;
        EXPECT_EQ(run.Err, "No se puede leer el archivo de modelo " + file + ".\n") << file;
    }
}

TEST_F(VeskCalcTest, BadArgumentsShowUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"-r"},
        {"--decimal-separator"},
        {"--decimal-separator", ",,"},
        {"--decimal-separator", "5"},
        {"--decimal-separator", "-"},
        {"uno.VM2", "--bogus", "dos.VM2"},
    };
    for (const auto& arguments : cases) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments[0];
        EXPECT_EQ(run.Out, "") << arguments[0];
        EXPECT_TRUE(
            run.Err.starts_with("Uso: vesk-calc [--raw] [--decimal-separator C] [ARCHIVO...]\n"))
            << arguments[0];
    }
}

// Many files in one run give what one run per file gives: the reports in order, each after a
// form feed line but the first, a failing file's report left empty and its message on standard
// error after its name, exit 1 when any file failed.
TEST_F(VeskCalcTest, ManyFilesGiveTheReportOfEachInOrder) {
    const std::string seca = ModelFile("seca.VM2", "Tipo=1\r\nPeso=650\r\nFreshenning=10\r\n");
    const std::string vaquilla = ModelFile("vaquilla.VM2", "Tipo=2\r\nPeso=350\r\nADG=0.8\r\n");
    const std::string vaca = ModelFile("vaca.VM2", "Grasa=3,8\r\nConsumo=12\r\nDIM=40\r\n");
    const std::string falla = ModelFile("falla.VM2", "Consumo=0\r\n");
    const std::string falta = FFolder.Path() + "/falta.VM2";
    std::vector<std::string> hundred;
    for (int i = 0; i < 100; ++i) {
        hundred.push_back(i % 3 == 0 ? seca : i % 3 == 1 ? vaquilla : vaca);
    }
    const struct {
        const char* Name;
        std::vector<std::string> Options;
        std::vector<std::string> Files;
    } cases[] = {
        {"each state", {}, {seca, vaquilla, vaca}},
        {"raw with comma", {"--raw", "--decimal-separator", ","}, {vaca, seca, vaca}},
        {"a missing file between", {}, {seca, falta, vaquilla}},
        {"failures first and last", {}, {falla, vaca, FFolder.Path()}},
        {"only failures", {"--raw"}, {falta, falla}},
        {"more than one buffer of output", {}, hundred},
    };
    for (const auto& c : cases) {
        std::string out;
        std::string err;
        int exitCode = 0;
        std::map<std::string, TRun> single;
        for (std::size_t i = 0; i < c.Files.size(); ++i) {
            if (!single.contains(c.Files[i])) {
                std::vector<std::string> arguments = c.Options;
                arguments.push_back(c.Files[i]);
                single[c.Files[i]] = Run(arguments);
            }
            const TRun& one = single[c.Files[i]];
            out += (i > 0 ? "\f\n" : "") + one.Out;
            if (one.ExitCode != 0) {
                err += c.Files[i] + ": " + one.Err;
                exitCode = one.ExitCode;
            }
        }
        std::vector<std::string> arguments = c.Options;
        arguments.insert(arguments.end(), c.Files.begin(), c.Files.end());
        const TRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, exitCode) << c.Name;
        EXPECT_EQ(run.Out, out) << c.Name;
        EXPECT_EQ(run.Err, err) << c.Name;
    }
}

} // namespace
