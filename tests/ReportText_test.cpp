#include "model/ReportText.h"

#include "model/DefaultAnimal.h"
#include "model/UVesk.h"

#include "report_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace {

// Characters of a UTF-8 text: every byte but the continuation bytes starts one.
size_t Characters(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The text from character column `column` (1-based) on.
std::string FromColumn(const std::string& text, size_t column) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters == column) {
            return text.substr(i);
        }
    }
    return {};
}

// The default animal as the window calculates it (days in milk clamped to 52), with amounts
// chosen so that every column shows.
class ReportTextTest : public testing::Test {
protected:
    void SetUp() override {
        SetDefaultAnimal(FModel);
        FModel.DIM = 52;
        FModel.ProteinaCruda.Min.Count = 123456;
        FModel.ProteinaCruda.Max.Count = 167890;
        FModel.Energia.Min.Count = 15500;
        FModel.Energia.Max.Count = 15500;
        FModel.FDN.Min.Count = 280000;
        FModel.Calcio.Min.Count = 5100;
        FModel.Calcio.Max.Count = 10200;
        FModel.Fosforo.Min.Count = 3300;
        FModel.Fosforo.Max.Count = 6600;
        FModel.Magnesio.Min.Count = 2000;
        FModel.Magnesio.Max.Count = 4000;
        FModel.Potasio.Min.Count = 9000;
    }

    TVeskDairy FModel;
};

TEST_F(ReportTextTest, LactatingCowReportLineByLine) {
    const std::vector<std::string> expected =
        ExpectedReport(DefaultAnimalData("52"), {"Proteína cruda     %           12.3456   16.7890",
                                                 "Energía Neta Lact  MCal/Kg      1.5500    1.5500",
                                                 "Fibra Det. Neutra  %           28.0000",
                                                 "Calcio             %            0.5100    1.0200",
                                                 "Fósforo            %            0.3300    0.6600",
                                                 "Magnesio           %            0.2000    0.4000",
                                                 "Potasio            %            0.9000"});
    EXPECT_EQ(ReportLines(FModel, '.'), expected);
}

TEST_F(ReportTextTest, DataValuesStartInColumn29) {
    const std::vector<std::string> lines = ReportLines(FModel, '.');
    const std::vector<std::string> values = {"450.0 Kg.",
                                             "10.0 Kg. Materia seca",
                                             "Vaca en producción",
                                             "Segunda lactación",
                                             "10.00 Kg.",
                                             "3.50 %",
                                             "3.20 %",
                                             "52 día(s)",
                                             "20.00 °C"};
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(FromColumn(lines[9 + i], 29), values[i]) << lines[9 + i];
    }
}

TEST_F(ReportTextTest, AmountsEndInColumns38And48) {
    const std::vector<std::string> lines = ReportLines(FModel, '.');
    EXPECT_EQ(Characters(lines[22]), 48u);
    for (size_t i = 24; i < lines.size(); ++i) {
        const bool minimumOnly = i == 26 || i == 30;
        EXPECT_EQ(Characters(lines[i]), minimumOnly ? 38u : 48u) << lines[i];
        EXPECT_NE(FromColumn(lines[i], 38).front(), ' ') << lines[i];
        EXPECT_EQ(FromColumn(lines[i], 39).substr(0, 1), minimumOnly ? "" : " ") << lines[i];
    }
}

struct TStateCase {
    uint8_t Tipo;
    size_t Lines;
    const char* State;
    bool Lactation, Milk, Gain, Adg;
};

void PrintTo(const TStateCase& c, std::ostream* os) {
    *os << int{c.Tipo};
}

class ReportStateTest : public ReportTextTest, public testing::WithParamInterface<TStateCase> {};

TEST_P(ReportStateTest, LinesOfTheState) {
    const TStateCase& c = GetParam();
    FModel.Tipo = c.Tipo;
    const std::vector<std::string> lines = ReportLines(FModel, '.');
    const auto has = [&lines](std::string_view start) {
        return std::any_of(lines.begin(), lines.end(),
                           [start](const std::string& line) { return line.starts_with(start); });
    };
    EXPECT_EQ(lines.size(), c.Lines);
    EXPECT_EQ(lines[11], std::string("Etapa productiva:           ") + c.State);
    EXPECT_EQ(has("Número de lactación:"), c.Lactation);
    for (const char* label :
         {"Producción diaria de leche:", "Porcentaje de grasa:", "Porcentaje de proteina:",
          "Días de lactación:", "Temperatura ambiente:"}) {
        EXPECT_EQ(has(label), c.Milk) << label;
    }
    EXPECT_EQ(has("Ganancia diaria de peso:    0.00 g."), c.Gain);
    EXPECT_EQ(has("ADG:                        0.00 g."), c.Adg);
    EXPECT_FALSE(has("Días para el parto"));
}

INSTANTIATE_TEST_SUITE_P(
    States, ReportStateTest,
    testing::Values(TStateCase{0, 31, "Vaca en producción", true, true, false, false},
                    TStateCase{1, 27, "Vaca en seca", true, false, true, false},
                    TStateCase{2, 27, "Vaquilla/Vaquillona", false, false, true, true},
                    TStateCase{255, 27, "Vaquilla/Vaquillona", true, false, true, false}));

TEST_F(ReportTextTest, RealsRoundHalvesAwayFromZero) {
    FModel.Consumo = 10.25f;
    FModel.Peso = 450.05f; // the single is slightly below 450.05
    FModel.Temperatura = -0.125f;
    const std::vector<std::string> lines = ReportLines(FModel, '.');
    EXPECT_EQ(lines[9], "Peso de la vaca:            450.0 Kg.");
    EXPECT_EQ(lines[10], "Consumo diario de alimento: 10.3 Kg. Materia seca");
    EXPECT_EQ(lines[17], "Temperatura ambiente:       -0.13 °C");
}

TEST_F(ReportTextTest, DaysInMilkTakeAtLeastTwoCharacters) {
    const struct {
        int32_t Dim;
        const char* Line;
    } cases[] = {{7, "Días de lactación:           7 día(s)"},
                 {120, "Días de lactación:          120 día(s)"},
                 {-3, "Días de lactación:          -3 día(s)"}};
    for (const auto& c : cases) {
        FModel.DIM = c.Dim;
        EXPECT_EQ(ReportLines(FModel, '.')[16], c.Line);
    }
}

TEST_F(ReportTextTest, NegativeMinimumAndWideMaximum) {
    FModel.ProteinaCruda.Min.Count = -12345;
    FModel.Calcio.Max.Count = 12345678;
    FModel.Energia.Min.Count = 123456789012;
    const std::vector<std::string> lines = ReportLines(FModel, '.');
    EXPECT_EQ(lines[24], "Proteína cruda     %           -1.2345   16.7890");
    EXPECT_EQ(lines[27], "Calcio             %            0.5100  1234.5678");
    EXPECT_EQ(Characters(lines[27]), 49u);
    EXPECT_EQ(lines[25], "Energía Neta Lact  MCal/Kg 12345678.9012    1.5500");
}

TEST_F(ReportTextTest, LactationOutsideTheSelectorStillPrintsLabel) {
    FModel.Lactacion = -1;
    EXPECT_EQ(ReportLines(FModel, '.')[12], "Número de lactación:        Sin indicar");
}

TEST_F(ReportTextTest, RegionalSeparator) {
    const std::vector<std::string> lines = ReportLines(FModel, ',');
    EXPECT_EQ(lines[9], "Peso de la vaca:            450,0 Kg.");
    EXPECT_EQ(lines[14], "Porcentaje de grasa:        3,50 %");
    EXPECT_EQ(lines[24], "Proteína cruda     %           12,3456   16,7890");
}

} // namespace
