#include "model/InputRoundTrip.h"

#include "model/DefaultAnimal.h"
#include "model/FloatError.h"
#include "model/UVesk.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TEST(InputRoundTrip, DefaultAnimalShowsClampedDaysInMilk) {
    TVeskDairy model;
    SetDefaultAnimal(model);
    const TInputTexts inputs = ShowInputTexts(model, '.');
    EXPECT_EQ(inputs.rgTipo, 0);
    EXPECT_EQ(inputs.rgLact, 1);
    EXPECT_EQ(inputs.ilPeso, "450");
    EXPECT_EQ(inputs.ilCons, "10.00");
    EXPECT_EQ(inputs.ilLeche, "10.00");
    EXPECT_EQ(inputs.ilGrasa, "3.50");
    EXPECT_EQ(inputs.ilProt, "3.20");
    EXPECT_EQ(inputs.ilSem, "52");
    EXPECT_EQ(inputs.ilTemp, "20.00");
    EXPECT_EQ(inputs.ilGDP, "0.00");
    EXPECT_EQ(inputs.ilADG, "0.00");
    EXPECT_EQ(inputs.sePF, "0");

    RoundTripInputs(model, '.');
    EXPECT_EQ(model.DIM, 52);
    EXPECT_EQ(model.Proteina, 3.2f);
    EXPECT_EQ(model.Peso, 450.0f);
    EXPECT_EQ(model.Lactacion, 1);
}

// Sentinels in every input field show which rows a state reads.
class ReadInputTextsTest : public testing::Test {
protected:
    void SetUp() override {
        FModel.Peso = FModel.Consumo = FModel.Leche = FModel.Grasa = -1;
        FModel.Proteina = FModel.Temperatura = FModel.GDP = FModel.ADG = -1;
        FModel.DIM = FModel.Freshenning = FModel.Lactacion = -99;
        FInputs = {.rgTipo = 0,
                   .rgLact = 1,
                   .ilPeso = "500",
                   .ilCons = "12.5",
                   .ilLeche = "30.5",
                   .ilGrasa = "4.5",
                   .ilProt = "3.1",
                   .ilSem = "40",
                   .ilGDP = "0.75",
                   .ilADG = "0.5",
                   .ilTemp = "-5",
                   .sePF = "20"};
    }

    TVeskDairy FModel;
    TInputTexts FInputs;
};

TEST_F(ReadInputTextsTest, LactatingCowReadsMilkRowsAndGain) {
    FInputs.rgTipo = 0;
    ReadInputTexts(FInputs, FModel, '.');
    EXPECT_EQ(FModel.Tipo, 0);
    EXPECT_EQ(FModel.Peso, 500.0f);
    EXPECT_EQ(FModel.Lactacion, 1);
    EXPECT_EQ(FModel.Consumo, 12.5f);
    EXPECT_EQ(FModel.Leche, 30.5f);
    EXPECT_EQ(FModel.Grasa, 4.5f);
    EXPECT_EQ(FModel.Proteina, 3.1f);
    EXPECT_EQ(FModel.DIM, 40);
    EXPECT_EQ(FModel.Temperatura, -5.0f);
    EXPECT_EQ(FModel.GDP, 0.75f);
    EXPECT_EQ(FModel.ADG, -1.0f);
    EXPECT_EQ(FModel.Freshenning, -99);
}

class OtherStateTest : public ReadInputTextsTest, public testing::WithParamInterface<int> {};

TEST_P(OtherStateTest, ReadsGainsAndDaysToCalving) {
    FInputs.rgTipo = GetParam();
    ReadInputTexts(FInputs, FModel, '.');
    EXPECT_EQ(FModel.Tipo, static_cast<uint8_t>(GetParam()));
    EXPECT_EQ(FModel.Peso, 500.0f);
    EXPECT_EQ(FModel.Consumo, 12.5f);
    EXPECT_EQ(FModel.GDP, 0.75f);
    EXPECT_EQ(FModel.ADG, 0.5f);
    EXPECT_EQ(FModel.Freshenning, 20);
    EXPECT_EQ(FModel.Leche, -1.0f);
    EXPECT_EQ(FModel.Grasa, -1.0f);
    EXPECT_EQ(FModel.Proteina, -1.0f);
    EXPECT_EQ(FModel.DIM, -99);
    EXPECT_EQ(FModel.Temperatura, -1.0f);
}

// -1 is a group with nothing selected: it stores 255.
INSTANTIATE_TEST_SUITE_P(States, OtherStateTest, testing::Values(1, 2, -1));

TEST_F(ReadInputTextsTest, NoLactationSelectedStoresMinusOne) {
    FInputs.rgLact = -1;
    ReadInputTexts(FInputs, FModel, '.');
    EXPECT_EQ(FModel.Lactacion, -1);
}

TEST_F(ReadInputTextsTest, ConversionErrorKeepsRowsBeforeIt) {
    FInputs.ilSem = "99999999999";
    EXPECT_THROW(ReadInputTexts(FInputs, FModel, '.'), EConvertError);
    EXPECT_EQ(FModel.Proteina, 3.1f);
    EXPECT_EQ(FModel.DIM, -99);
    EXPECT_EQ(FModel.Temperatura, -1.0f);
    EXPECT_EQ(FModel.GDP, -1.0f);
}

TEST_F(ReadInputTextsTest, RealBeyondSinglePrecisionOverflowsWhenStored) {
    FInputs.ilCons = "1e39";
    EXPECT_THROW(ReadInputTexts(FInputs, FModel, '.'), EOverflow);
    EXPECT_EQ(FModel.Lactacion, 1);
    EXPECT_EQ(FModel.Consumo, -1.0f);
    EXPECT_EQ(FModel.Leche, -1.0f);
}

struct TIndexCase {
    int Stored;
    int Shown;
    int ReadBack;
};

void PrintTo(const TIndexCase& c, std::ostream* os) {
    *os << c.Stored;
}

class TipoRoundTripTest : public testing::TestWithParam<TIndexCase> {};

TEST_P(TipoRoundTripTest, ClampsToTheThreeStates) {
    TVeskDairy model;
    model.Tipo = static_cast<uint8_t>(GetParam().Stored);
    EXPECT_EQ(ShowInputTexts(model, '.').rgTipo, GetParam().Shown);
    RoundTripInputs(model, '.');
    EXPECT_EQ(model.Tipo, GetParam().ReadBack);
}

INSTANTIATE_TEST_SUITE_P(Cases, TipoRoundTripTest,
                         testing::Values(TIndexCase{0, 0, 0}, TIndexCase{2, 2, 2},
                                         TIndexCase{3, 2, 2}, TIndexCase{255, 2, 2}));

class LactacionRoundTripTest : public testing::TestWithParam<TIndexCase> {};

TEST_P(LactacionRoundTripTest, ClampsToNothingSelectedOrLastItem) {
    TVeskDairy model;
    model.Lactacion = GetParam().Stored;
    EXPECT_EQ(ShowInputTexts(model, '.').rgLact, GetParam().Shown);
    RoundTripInputs(model, '.');
    EXPECT_EQ(model.Lactacion, GetParam().ReadBack);
}

INSTANTIATE_TEST_SUITE_P(Cases, LactacionRoundTripTest,
                         testing::Values(TIndexCase{1, 1, 1}, TIndexCase{5, 2, 2},
                                         TIndexCase{-3, -1, -1}, TIndexCase{-1, -1, -1}));

TEST(InputRoundTrip, ValuesComeBackClampedAndRounded) {
    TVeskDairy model;
    SetDefaultAnimal(model);
    model.Leche = 600;
    model.Temperatura = -50;
    model.Consumo = 10.255f;
    model.Grasa = 3.456f;
    model.Peso = 450.5f;
    RoundTripInputs(model, ',');
    EXPECT_EQ(model.Leche, 45.0f);
    EXPECT_EQ(model.Temperatura, -40.0f);
    EXPECT_EQ(model.Consumo, 10.26f);
    EXPECT_EQ(model.Grasa, 3.46f);
    EXPECT_EQ(model.Peso, 450.0f);
}

} // namespace
