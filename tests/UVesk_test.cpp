#include "model/UVesk.h"

#include "model/FloatError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

namespace {

TVeskDairy LactatingCow(float peso, float leche, float grasa, float proteina, int32_t dim,
                        float temperatura, float gdp, int32_t lactacion) {
    TVeskDairy model;
    model.Tipo = 0;
    model.Peso = peso;
    model.Leche = leche;
    model.Grasa = grasa;
    model.Proteina = proteina;
    model.DIM = dim;
    model.Temperatura = temperatura;
    model.GDP = gdp;
    model.Lactacion = lactacion;
    return model;
}

// The worked example: 450 kg, 10 kg of milk at 3.5 % fat and 3.2 % protein, day 60, 20 °C.
TVeskDairy ExampleCow() {
    return LactatingCow(450, 10, 3.5f, 3.2f, 60, 20, 0, 1);
}

TVeskDairy DryCow(float peso, int32_t freshenning, float gdp, int32_t lactacion, int32_t dim) {
    TVeskDairy model;
    model.Tipo = 1;
    model.Peso = peso;
    model.Freshenning = freshenning;
    model.GDP = gdp;
    model.Lactacion = lactacion;
    model.DIM = dim;
    return model;
}

TVeskDairy Heifer(float peso, float adg, float gdp) {
    TVeskDairy model;
    model.Tipo = 2;
    model.Peso = peso;
    model.ADG = adg;
    model.GDP = gdp;
    return model;
}

float Estimate(TVeskDairy model) {
    model.EstimateIntake();
    return model.ConsumoEstimado;
}

TVeskDairy Calculated(TVeskDairy model, float consumo = 10) {
    model.Consumo = consumo;
    model.Calculate();
    return model;
}

// --- Intake estimate -------------------------------------------------------------------------

struct TIntakeCase {
    const char* Name;
    TVeskDairy Model;
    double Expected;
    double Tolerance;
};

void PrintTo(const TIntakeCase& c, std::ostream* out) {
    *out << c.Name;
}

class IntakeTest : public testing::TestWithParam<TIntakeCase> {};

TEST_P(IntakeTest, EstimatesTheIntake) {
    EXPECT_NEAR(Estimate(GetParam().Model), GetParam().Expected, GetParam().Tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    States, IntakeTest,
    testing::Values(TIntakeCase{"LactatingExample", ExampleCow(), 11.14958095550537, 1e-14},
                    TIntakeCase{"LactatingHeat", LactatingCow(600, 30, 3.8f, 3.1f, 30, 30, 0.2f, 2),
                                17.192156, 5e-7},
                    TIntakeCase{"DryFourteenDays", DryCow(650, 14, 0, 2, 60), 10.5927, 5e-5},
                    TIntakeCase{"DryThirteenDays", DryCow(650, 13, 0, 2, 60), 9.321576, 5e-7},
                    TIntakeCase{"DryCalvingDayZero", DryCow(650, 0, 0, 2, 60), 9.321576, 5e-7},
                    TIntakeCase{"DryAfterCalvingDate", DryCow(650, -3, 0, 2, 60), 9.321576, 5e-7},
                    TIntakeCase{"Heifer350", Heifer(350, 0.8f, 0.8f), 8.0145817, 5e-8},
                    TIntakeCase{"Heifer450", Heifer(450, 0.8f, 0.8f), 9.936307, 5e-7}),
    [](const auto& info) { return std::string(info.param.Name); });

// The example cow past day 70 and at 20 °C: the intake of step 3, with no factor applied.
float BaseIntake(TVeskDairy model) {
    model.DIM = 71;
    model.Temperatura = 20;
    return Estimate(model);
}

TEST(IntakeTest, BaseIntakeOfTheExample) {
    EXPECT_NEAR(BaseIntake(ExampleCow()), 11.614212, 5e-7);
}

TEST(IntakeTest, LactationWeekFactor) {
    const float base = BaseIntake(ExampleCow());
    struct {
        int32_t Dim;
        double Factor;
        double Tolerance;
    } const cases[] = {{7, 0.67, 1e-7},      {13, 0.67, 1e-7},     {60, 0.959995, 1e-6},
                       {62, 0.959995, 1e-6}, {63, 0.970848, 1e-6}, {70, 0.979582, 1e-6},
                       {71, 1, 0},           {400, 1, 0}};
    for (const auto& c : cases) {
        TVeskDairy model = ExampleCow();
        model.DIM = c.Dim;
        EXPECT_NEAR(Estimate(model) / base, c.Factor, c.Tolerance) << "DIM " << c.Dim;
    }
}

TEST(IntakeTest, TemperatureThresholds) {
    const float base = BaseIntake(ExampleCow());
    struct {
        float Temperatura;
        double Factor;
    } const cases[] = {{20, 1},
                       {20.5f, 1 - 0.9 * 0.00329},
                       {30, 0.94078},
                       {5, 1},
                       {12, 1},
                       {4.5f, 1 / (1 - 0.9 * 0.00258)},
                       {-40, 1 / (1 - 81 * 0.00258)}};
    for (const auto& c : cases) {
        TVeskDairy model = ExampleCow();
        model.DIM = 71;
        model.Temperatura = c.Temperatura;
        EXPECT_NEAR(Estimate(model) / base, c.Factor, 1e-6) << "Temperatura " << c.Temperatura;
    }
}

TEST(IntakeTest, HeiferAtExactly400KgUsesTheGrowthFormula) {
    const double h = std::pow(400.0, 0.75) * 0.118 * std::exp(0.18 * 0.8);
    EXPECT_NEAR(Estimate(Heifer(400, 0.8f, 0)),
                0.01781 * 400 - 1.54723 + 3.451 * 0.8 + 0.051464 * h, 1e-5);
    EXPECT_NEAR(Estimate(Heifer(400.5f, 0.8f, 0)),
                std::pow(400.5, 0.75) * 0.118 * std::exp(0.18 * 0.8) / 1.34, 1e-5);
}

TEST(IntakeTest, ZeroWeightGivesNoError) {
    EXPECT_NO_THROW(Estimate(LactatingCow(0, 10, 3.5f, 3.2f, 60, 20, 0, 0)));
    EXPECT_NO_THROW(Estimate(Heifer(0, 0.8f, 0)));
}

TEST(IntakeTest, OtherStateKeepsTheIntake) {
    TVeskDairy model = ExampleCow();
    model.Tipo = 3;
    model.ConsumoEstimado = 7.5f;
    EXPECT_EQ(Estimate(model), 7.5f);
}

TEST(IntakeTest, EarlyLactationWeekZeroFailsAfterTheBaseIntake) {
    const float base = BaseIntake(ExampleCow());
    for (int32_t dim = -6; dim <= 6; ++dim) {
        TVeskDairy model = ExampleCow();
        model.DIM = dim;
        model.Temperatura = 30; // the hot factor would change the intake had step 6 run
        EXPECT_THROW(model.EstimateIntake(), EZeroDivide) << "DIM " << dim;
        EXPECT_EQ(model.ConsumoEstimado, base) << "DIM " << dim;
    }
    for (int32_t dim : {-7, -70}) {
        TVeskDairy model = ExampleCow();
        model.DIM = dim;
        EXPECT_THROW(model.EstimateIntake(), EInvalidOp) << "DIM " << dim;
        EXPECT_EQ(model.ConsumoEstimado, base) << "DIM " << dim;
    }
}

TEST(IntakeTest, NegativeWeightFailsAndKeepsTheIntake) {
    for (TVeskDairy model : {ExampleCow(), Heifer(350, 0.8f, 0.8f)}) {
        model.Peso = -450;
        model.ConsumoEstimado = 7.5f;
        EXPECT_THROW(model.EstimateIntake(), EInvalidOp);
        EXPECT_EQ(model.ConsumoEstimado, 7.5f);
    }
}

// --- Daily requirements ----------------------------------------------------------------------

struct TAmountsCase {
    const char* Name;
    TVeskDairy Model;
    double Intake;
    double IntakeTolerance;
    int64_t Energia, ProteinaCruda, Fosforo, Calcio, Magnesio, Potasio;
};

void PrintTo(const TAmountsCase& c, std::ostream* out) {
    *out << c.Name;
}

class AmountsTest : public testing::TestWithParam<TAmountsCase> {};

TEST_P(AmountsTest, StoresTheDailyCounts) {
    const TAmountsCase& c = GetParam();
    const TVeskDairy model = Calculated(c.Model);
    EXPECT_NEAR(model.ConsumoEstimado, c.Intake, c.IntakeTolerance);
    EXPECT_EQ(model.Energia.Requerido.Count, c.Energia);
    EXPECT_EQ(model.ProteinaCruda.Requerido.Count, c.ProteinaCruda);
    EXPECT_EQ(model.Fosforo.Requerido.Count, c.Fosforo);
    EXPECT_EQ(model.Calcio.Requerido.Count, c.Calcio);
    EXPECT_EQ(model.Magnesio.Requerido.Count, c.Magnesio);
    EXPECT_EQ(model.Potasio.Requerido.Count, c.Potasio);
    EXPECT_EQ(model.FDN.Requerido.Count, 0);
    EXPECT_EQ(model.FDN.Max.Count, 0);
    EXPECT_EQ(model.Potasio.Max.Count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, AmountsTest,
    testing::Values(
        TAmountsCase{"LactatingExample", ExampleCow(), 11.14958095550537, 1e-14, 160805, 15172, 312,
                     546, 279, 1115},
        TAmountsCase{"LactatingFirstLactation", LactatingCow(450, 10, 3.5f, 3.2f, 60, 20, 0, 0),
                     11.149581, 5e-7, 145172, 14489, 312, 546, 279, 1115},
        TAmountsCase{"LactatingThirdLactation", LactatingCow(450, 10, 3.5f, 3.2f, 60, 20, 0, 2),
                     11.149581, 5e-7, 152988, 14830, 312, 546, 279, 1115},
        TAmountsCase{"LactatingUnknownLactation", LactatingCow(450, 10, 3.5f, 3.2f, 60, 20, 0, 3),
                     11.149581, 5e-7, 145172, 14489, 312, 546, 279, 1115},
        TAmountsCase{"LactatingHeat", LactatingCow(600, 30, 3.8f, 3.1f, 30, 30, 0.2f, 2), 17.192156,
                     5e-7, 275995, 31849, 748, 1309, 430, 2063},
        TAmountsCase{"DryExample", DryCow(650, 10, 0, 2, 60), 9.321576, 5e-7, 144180, 13195, 270,
                     472, 1491, 6059},
        TAmountsCase{"DryEarlyDaysInMilk", DryCow(650, 10, 0, 2, 30), 9.321576, 5e-7, 460980, 13195,
                     270, 472, 1491, 6059},
        TAmountsCase{"Heifer350", Heifer(350, 0.8f, 0.8f), 8.0145845413208, 1e-13, 110274, 10281,
                     196, 343, 1282, 5209},
        TAmountsCase{"Heifer450", Heifer(450, 0.8f, 0.8f), 9.936343, 5e-7, 133147, 5757, 211, 369,
                     1590, 6459}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AmountsTest, CowIntakeIsTheEstimateToTheLastBit) {
    for (const TVeskDairy& cow : {ExampleCow(), LactatingCow(600, 30, 3.8f, 3.1f, 30, 30, 0.2f, 2),
                                  DryCow(650, 10, 0, 2, 60), DryCow(650, 20, 0, 0, 60)})
        EXPECT_EQ(Calculated(cow).ConsumoEstimado, Estimate(cow));
}

TEST(AmountsTest, DaysInMilkEnergyStepEndsAtDay50) {
    auto energy = [](TVeskDairy model, int32_t dim) {
        model.DIM = dim;
        return Calculated(model).Energia.Requerido.Count;
    };
    // Lactating: 0.2 × DIM − 10.32 Mcal; dry: 1.4 × DIM − 10.32 Mcal.
    const TVeskDairy lactating = ExampleCow();
    EXPECT_EQ(energy(lactating, 51), 160805);
    EXPECT_EQ(energy(lactating, 50), 160805 - 3200);
    const TVeskDairy dry = DryCow(650, 10, 0, 2, 60);
    EXPECT_EQ(energy(dry, 51), 144180);
    EXPECT_EQ(energy(dry, 50), 144180 - 103200 + 700000);
    EXPECT_EQ(energy(dry, 0), 144180 - 103200);
}

TEST(AmountsTest, PotassiumFactorRisesAbove85Fahrenheit) {
    struct {
        float Temperatura;
        long double Factor;
    } const cases[] = {{29.4f, 0.01L}, {29.45f, 0.012L}, {30, 0.012L}, {20, 0.01L}};
    for (const auto& c : cases) {
        TVeskDairy model = ExampleCow();
        model.Temperatura = c.Temperatura;
        model = Calculated(model);
        EXPECT_EQ(model.Potasio.Requerido.Count,
                  std::llround(c.Factor * model.ConsumoEstimado * 10000))
            << "Temperatura " << c.Temperatura;
    }
}

TEST(AmountsTest, HeiferPhosphorusBands) {
    struct {
        float Peso;
        float GDP;
        int64_t Fosforo;
    } const cases[] = {
        {250, 0, 134}, {250.5f, 0, 127}, {400, 0, 159}, {400.5f, 0, 143}, {200, 0.5f, 133}};
    for (const auto& c : cases)
        EXPECT_EQ(Calculated(Heifer(c.Peso, 0.8f, c.GDP)).Fosforo.Requerido.Count, c.Fosforo)
            << "Peso " << c.Peso;
}

// A model whose every amount and limit holds a mark, to see what a failing calculation wrote.
TVeskDairy Marked(TVeskDairy model) {
    for (TRestriccion* record : {&model.Energia, &model.ProteinaCruda, &model.FDN, &model.Fosforo,
                                 &model.Magnesio, &model.Potasio, &model.Calcio}) {
        record->Requerido = TFixed{11};
        record->Min = TFixed{22};
        record->Max = TFixed{33};
    }
    model.ConsumoEstimado = 7.5f;
    model.Consumo = 10;
    return model;
}

void ExpectAmountsUnchanged(const TVeskDairy& model) {
    for (const TRestriccion* record :
         {&model.Energia, &model.ProteinaCruda, &model.FDN, &model.Fosforo, &model.Magnesio,
          &model.Potasio, &model.Calcio})
        EXPECT_EQ(record->Requerido.Count, 11);
}

void ExpectLimitsUnchanged(const TVeskDairy& model) {
    for (const TRestriccion* record :
         {&model.Energia, &model.ProteinaCruda, &model.FDN, &model.Fosforo, &model.Magnesio,
          &model.Potasio, &model.Calcio}) {
        EXPECT_EQ(record->Min.Count, 22);
        EXPECT_EQ(record->Max.Count, 33);
    }
}

TEST(CalculateFailureTest, EarlyLactationChangesNoAmount) {
    TVeskDairy model = Marked(ExampleCow());
    model.DIM = 6;
    EXPECT_THROW(model.Calculate(), EZeroDivide);
    EXPECT_EQ(model.ConsumoEstimado, BaseIntake(ExampleCow()));
    ExpectAmountsUnchanged(model);
    ExpectLimitsUnchanged(model);

    model.DIM = -7;
    EXPECT_THROW(model.Calculate(), EInvalidOp);
    ExpectAmountsUnchanged(model);
    ExpectLimitsUnchanged(model);
}

TEST(CalculateFailureTest, NegativeWeightFailsAtTheFirstPower) {
    struct {
        TVeskDairy Model;
        float IntakeAfter;
    } const cases[] = {{ExampleCow(), 7.5f},
                       {DryCow(-650, 20, 0, 2, 60), Estimate(DryCow(-650, 20, 0, 2, 60))},
                       {Heifer(350, 0.8f, 0.8f), 7.5f}};
    for (const auto& c : cases) {
        TVeskDairy model = Marked(c.Model);
        model.Peso = -650;
        EXPECT_THROW(model.Calculate(), EInvalidOp);
        EXPECT_EQ(model.ConsumoEstimado, c.IntakeAfter) << "Tipo " << int(model.Tipo);
        ExpectAmountsUnchanged(model);
        ExpectLimitsUnchanged(model);
    }
}

TEST(CalculateFailureTest, OtherStateKeepsAmountsAndRecomputesLimits) {
    TVeskDairy model = Marked(ExampleCow());
    model.Tipo = 3;
    model.Calculate();
    EXPECT_EQ(model.ConsumoEstimado, 7.5f);
    ExpectAmountsUnchanged(model);
    EXPECT_EQ(model.ProteinaCruda.Min.Count, 110);
    EXPECT_EQ(model.FDN.Min.Count, 225000); // 7.5 ÷ 10 × 30 %
    EXPECT_EQ(model.FDN.Max.Count, 33);
}

// --- Concentration limits --------------------------------------------------------------------

struct TLimitsCase {
    const char* Name;
    TVeskDairy Model;
    float Consumo;
    int64_t ProteinaMin, ProteinaMax, FdnMin, EnergiaMin, CalcioMin, CalcioMax, FosforoMin,
        FosforoMax, MagnesioMin, MagnesioMax, PotasioMin;
};

void PrintTo(const TLimitsCase& c, std::ostream* out) {
    *out << c.Name;
}

class LimitsTest : public testing::TestWithParam<TLimitsCase> {};

TEST_P(LimitsTest, StoresTheLimitCounts) {
    const TLimitsCase& c = GetParam();
    const TVeskDairy model = Calculated(c.Model, c.Consumo);
    EXPECT_EQ(model.ProteinaCruda.Min.Count, c.ProteinaMin);
    EXPECT_EQ(model.ProteinaCruda.Max.Count, c.ProteinaMax);
    EXPECT_EQ(model.FDN.Min.Count, c.FdnMin);
    EXPECT_EQ(model.FDN.Max.Count, 0);
    EXPECT_EQ(model.Energia.Min.Count, c.EnergiaMin);
    EXPECT_EQ(model.Energia.Max.Count, c.EnergiaMin);
    EXPECT_EQ(model.Calcio.Min.Count, c.CalcioMin);
    EXPECT_EQ(model.Calcio.Max.Count, c.CalcioMax);
    EXPECT_EQ(model.Fosforo.Min.Count, c.FosforoMin);
    EXPECT_EQ(model.Fosforo.Max.Count, c.FosforoMax);
    EXPECT_EQ(model.Magnesio.Min.Count, c.MagnesioMin);
    EXPECT_EQ(model.Magnesio.Max.Count, c.MagnesioMax);
    EXPECT_EQ(model.Potasio.Min.Count, c.PotasioMin);
    EXPECT_EQ(model.Potasio.Max.Count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LimitsTest,
    testing::Values(
        // 160805 ÷ 10 = 16080.5 is a tie stored as the even count 16080.
        TLimitsCase{"LactatingConsumo10", ExampleCow(), 10, 151720, 182064, 312188, 16080, 5460,
                    7800, 3120, 4044, 2790, 4185, 11150},
        TLimitsCase{"LactatingConsumo12_5", ExampleCow(), 12.5f, 121376, 145651, 249751, 12864,
                    4368, 6240, 2496, 3236, 2232, 3348, 8920},
        // 1491 ÷ 12 × 150 = 18637.5 is a tie stored as 18638.
        TLimitsCase{"DryConsumo12", DryCow(650, 10, 0, 2, 60), 12, 109958, 131950, 233039, 12015,
                    3933, 5625, 2250, 2914, 12425, 18638, 50492},
        TLimitsCase{"HeiferConsumo8", Heifer(350, 0.8f, 0.8f), 8, 128512, 154215, 300547, 13784,
                    4288, 6125, 2450, 3176, 16025, 24038, 65112},
        TLimitsCase{"NegativeConsumo", ExampleCow(), -10, -151720, -182064, -312188, -16080, -5460,
                    -7800, -3120, -4044, -2790, -4185, -11150}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LimitsTest, ConsumoEqualToTheEstimateGivesTheWholeFibreFactor) {
    struct {
        TVeskDairy Model;
        int64_t FdnMin;
    } const cases[] = {{ExampleCow(), 280000},
                       {DryCow(650, 10, 0, 2, 60), 300000},
                       {Heifer(350, 0.8f, 0.8f), 300000}};
    for (const auto& c : cases) {
        TVeskDairy model = Calculated(c.Model);
        model.Consumo = model.ConsumoEstimado;
        model.Calculate();
        EXPECT_EQ(model.FDN.Min.Count, c.FdnMin) << "Tipo " << int(model.Tipo);
    }
}

TEST(LimitsTest, ZeroConsumoChangesNoLimit) {
    TVeskDairy model = Marked(ExampleCow());
    model.Consumo = 0;
    EXPECT_THROW(model.Calculate(), EZeroDivide);
    EXPECT_EQ(model.ProteinaCruda.Requerido.Count, 15172);
    ExpectLimitsUnchanged(model);
}

TEST(LimitsTest, ZeroConsumoAndZeroProteinIsInvalid) {
    TVeskDairy model = Marked(TVeskDairy());
    model.Tipo = 3;
    model.ProteinaCruda.Requerido = TFixed{0};
    model.Consumo = 0;
    EXPECT_THROW(model.Calculate(), EInvalidOp);
    ExpectLimitsUnchanged(model);
}

TEST(LimitsTest, LimitBeyondTheFixedPointFieldKeepsTheLaterLimits) {
    // Protein fits (6.1e18 and 7.3e18 counts), the fibre minimum (1.2e19) does not.
    TVeskDairy model = Marked(ExampleCow());
    model.Consumo = 2.5e-13f;
    const long double consumo = model.Consumo;
    EXPECT_THROW(model.Calculate(), EInvalidOp);
    EXPECT_EQ(model.ProteinaCruda.Min.Count, std::llround(15172 / consumo * 100));
    EXPECT_EQ(model.ProteinaCruda.Max.Count, std::llround(15172 / consumo * 120));
    EXPECT_EQ(model.FDN.Min.Count, 22);
    EXPECT_EQ(model.Energia.Min.Count, 22);
    EXPECT_EQ(model.Potasio.Min.Count, 22);

    model.Consumo = 1e-45f;
    EXPECT_THROW(model.Calculate(), EInvalidOp);
}

} // namespace
