#include "exchange/ModelFile.h"

#include "model/FloatError.h"
#include "model/UVesk.h"

#include "model_inputs.h"
#include "temp_folder.h"
#include "two_animals.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

struct TRealCase {
    float Value;
    char Separator;
    const char* Text;
};

void PrintTo(const TRealCase& c, std::ostream* os) {
    *os << c.Text;
}

class ModelReal : public testing::TestWithParam<TRealCase> {};

TEST_P(ModelReal, HasFifteenSignificantDigits) {
    EXPECT_EQ(FormatModelReal(GetParam().Value, GetParam().Separator), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelReal,
    testing::Values(
        TRealCase{3.2f, '.', "3.20000004768372"}, TRealCase{3.2f, ',', "3,20000004768372"},
        TRealCase{0.05f, '.', "0.0500000007450581"}, TRealCase{1e-4f, '.', "9.99999974737875E-5"},
        TRealCase{1e-4f, ',', "9,99999974737875E-5"}, TRealCase{0.001f, '.', "0.00100000004749745"},
        TRealCase{450, '.', "450"}, TRealCase{-5, '.', "-5"}, TRealCase{0, '.', "0"},
        TRealCase{-0.0f, '.', "0"}, TRealCase{3.5f, '.', "3.5"}, TRealCase{20.5f, ',', "20,5"},
        TRealCase{-0.25f, '.', "-0.25"}, TRealCase{1e10f, '.', "10000000000"},
        TRealCase{1e15f, '.', "999999986991104"}, TRealCase{1e16f, '.', "1.00000002725642E16"},
        TRealCase{std::numeric_limits<float>::max(), '.', "3.40282346638529E38"},
        TRealCase{std::numeric_limits<float>::denorm_min(), '.', "1.40129846432482E-45"}));

TVeskDairy Defaults() {
    TVeskDairy m;
    m.Tipo = 0;
    m.Consumo = 10;
    m.Peso = 450;
    m.Lactacion = 1;
    m.Leche = 15;
    m.Grasa = 3.5f;
    m.Proteina = 3.2f;
    m.DIM = 60;
    m.Temperatura = 20;
    m.GDP = 0;
    m.ADG = 0;
    m.Freshenning = 0;
    return m;
}

class ModelFile : public testing::Test {
protected:
    void Store(const std::string& text) { StoreFile(FPath, text); }
    std::string Contents() const { return FileContents(FPath); }

    TTempFolder FFolder{"model_file"};
    std::string FPath = FFolder.Path() + "/vaca.VM2";
};

class ModelFileRoundTrip : public ModelFile, public testing::WithParamInterface<char> {};

TEST_P(ModelFileRoundTrip, EveryKeyReadsBackAsSaved) {
    SaveModel(FPath, FirstAnimal(), GetParam());
    TVeskDairy loaded = Defaults();
    LoadModel(FPath, loaded, GetParam());
    ExpectInputs(loaded, FirstAnimal());
}

INSTANTIATE_TEST_SUITE_P(Separators, ModelFileRoundTrip, testing::Values('.', ','));

TEST_F(ModelFile, NewFileHoldsTheTwelveKeysInOrder) {
    SaveModel(FPath, FirstAnimal(), ',');
    EXPECT_EQ(Contents(),
              "[Data]\r\nTipo=2\r\nConsumo=18,2999992370605\r\nPeso=612,700012207031\r\n"
              "Lactacion=2\r\nLeche=31,3999996185303\r\nGrasa=3,20000004768372\r\n"
              "Proteina=3,04999995231628\r\nDIM=145\r\nTemperatura=20,5\r\n"
              "GDP=0,25\r\nADG=9,99999974737875E-5\r\nFreshenning=-5\r\n");
}

struct TLoadCase {
    const char* Name;
    const char* Text;                        // nullptr: no file
    std::function<void(TVeskDairy&)> Change; // applied to the defaults
};

void PrintTo(const TLoadCase& c, std::ostream* os) {
    *os << c.Name;
}

class ModelFileLoad : public ModelFile, public testing::WithParamInterface<TLoadCase> {};

TEST_P(ModelFileLoad, ReadsKeysOrDefaults) {
    if (GetParam().Text)
        Store(GetParam().Text);
    TVeskDairy loaded = FirstAnimal();
    LoadModel(FPath, loaded, '.');
    TVeskDairy expected = Defaults();
    GetParam().Change(expected);
    ExpectInputs(loaded, expected);
}

const TLoadCase LoadCases[] = {
    {"MissingFile", nullptr, [](TVeskDairy&) {}},
    {"EmptyFile", "", [](TVeskDairy&) {}},
    {"NoSectionData", "[Otra]\r\nPeso=500\r\n", [](TVeskDairy&) {}},
    {"MissingLeche", "[Data]\r\nTipo=1\r\nPeso=500\r\n",
     [](TVeskDairy& m) {
         m.Tipo = 1;
         m.Peso = 500;
     }},
    {"CommaWhereThePointIsTheSeparator", "[Data]\r\nGrasa=3,7\r\nPeso=450\r\nLeche=22\r\n",
     [](TVeskDairy& m) { m.Leche = 22; }},
    {"TipoLowEightBits", "[Data]\r\nTipo=258\r\n", [](TVeskDairy& m) { m.Tipo = 2; }},
    {"TipoNegative", "[Data]\r\nTipo=-1\r\n", [](TVeskDairy& m) { m.Tipo = 255; }},
    {"HexWholeNumbers", "[Data]\r\nDIM=0x1F\r\nLactacion=$2\r\nFreshenning=-12\r\n",
     [](TVeskDairy& m) {
         m.DIM = 31;
         m.Lactacion = 2;
         m.Freshenning = -12;
     }},
    {"ValuesThatDoNotParse",
     "[Data]\r\nDIM=12a\r\nPeso=abc\r\nLeche=\r\nGDP=1.5.2\r\nADG=1 000\r\n", [](TVeskDairy&) {}},
    {"ExponentAndSign", "[Data]\r\nPeso=4.5e2\r\nGDP=-2.5E-1\r\nADG=+.5\r\n",
     [](TVeskDairy& m) {
         m.Peso = 450;
         m.GDP = -0.25f;
         m.ADG = 0.5f;
     }},
    {"HandEditedFile", "; vaca de prueba\n[otra]\nPeso=1\n\n[DATA]\n  peso = \"500\" \n;Leche=1\n",
     [](TVeskDairy& m) { m.Peso = 500; }},
    {"RealNearestSingle", "[Data]\r\nGrasa=3.2\r\nTemperatura=20.5\r\n",
     [](TVeskDairy& m) {
         m.Grasa = 3.2f;
         m.Temperatura = 20.5f;
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, ModelFileLoad, testing::ValuesIn(LoadCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ModelFile, OverflowStopsTheLoadWithEarlierKeysStored) {
    Store("[Data]\r\nTipo=1\r\nPeso=500\r\nLactacion=2\r\nLeche=1e39\r\nGrasa=4\r\nConsumo=12\r\n");
    TVeskDairy loaded = FirstAnimal();
    try {
        LoadModel(FPath, loaded, '.');
        FAIL() << "no overflow";
    } catch (const EOverflow& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    TVeskDairy expected = FirstAnimal();
    expected.Tipo = 1;
    expected.Peso = 500;
    expected.Lactacion = 2;
    ExpectInputs(loaded, expected);
}

TEST_F(ModelFile, SaveKeepsWhatWasAddedByHand) {
    Store("; nota\r\n[Data]\r\nNota=hola\r\nPeso=1\r\n\r\n[Otra]\r\nx=1\r\n");
    SaveModel(FPath, FirstAnimal(), '.');
    EXPECT_EQ(Contents(), "; nota\r\n[Data]\r\nNota=hola\r\nPeso=612.700012207031\r\nTipo=2\r\n"
                          "Consumo=18.2999992370605\r\nLactacion=2\r\nLeche=31.3999996185303\r\n"
                          "Grasa=3.20000004768372\r\nProteina=3.04999995231628\r\nDIM=145\r\n"
                          "Temperatura=20.5\r\nGDP=0.25\r\nADG=9.99999974737875E-5\r\n"
                          "Freshenning=-5\r\n\r\n[Otra]\r\nx=1\r\n");
}

TEST_F(ModelFile, SavingTwiceKeepsTheSecondValues) {
    SaveModel(FPath, Defaults(), '.');
    SaveModel(FPath, FirstAnimal(), '.');
    std::string twice = Contents();
    fs::remove(FPath);
    SaveModel(FPath, FirstAnimal(), '.');
    EXPECT_EQ(twice, Contents());
}

TEST_F(ModelFile, NameWithBlanksAroundIt) {
    std::string path = FFolder.Path() + "/  vaca 1  .VM2";
    SaveModel(path, FirstAnimal(), '.');
    ASSERT_TRUE(fs::exists(path));
    TVeskDairy loaded;
    LoadModel(path, loaded, '.');
    ExpectInputs(loaded, FirstAnimal());
}

TEST_F(ModelFile, FailingSaveNamesThePathAndLeavesTheFileWhole) {
    const std::string before = "[Data]\r\nTipo=1\r\n";
    Store(before);
    fs::permissions(FPath, fs::perms::owner_read);
    std::string missing = FFolder.Path() + "/falta/vaca.VM2";
    for (const std::string& path : {FPath, missing}) {
        try {
            SaveModel(path, FirstAnimal(), '.');
            ADD_FAILURE() << "saved to " << path;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), "Unable to write to " + path);
        }
    }
    EXPECT_EQ(Contents(), before);
    EXPECT_FALSE(fs::exists(FFolder.Path() + "/falta"));
    EXPECT_EQ(FFolder.Entries(), 1);
}

} // namespace
