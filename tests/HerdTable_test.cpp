#include "exchange/HerdTable.h"

#include "exchange/ModelFile.h"
#include "model/DefaultAnimal.h"

#include "model_inputs.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What a model file without any key loads: the defaults of every cell a herd leaves empty.
TVeskDairy LoadDefaults() {
    TVeskDairy model;
    LoadModel("/nonexistent/vaca.VM2", model, '.');
    return model;
}

std::vector<THerdAnimal> ReadAnimals(THerdReader& reader) {
    std::vector<THerdAnimal> animals;
    for (THerdAnimal animal; reader.Next(animal);)
        animals.push_back(animal);
    return animals;
}

struct THeaderCase {
    const char* Name;
    std::string Text;
    char Separator;
    std::vector<std::string> Ignored;
    // The refusal, after "t.csv: "; empty when the header is a herd's.
    std::string Error;
};

void PrintTo(const THeaderCase& c, std::ostream* os) {
    *os << c.Name;
}

class HerdHeader : public testing::TestWithParam<THeaderCase> {};

TEST_P(HerdHeader, NamesTheColumnsOrIsRefused) {
    const THeaderCase& c = GetParam();
    std::istringstream in(c.Text);
    try {
        THerdReader reader(in, "t.csv", '.');
        EXPECT_EQ(c.Error, "");
        EXPECT_EQ(reader.Separator(), c.Separator);
        EXPECT_EQ(reader.IgnoredColumns(), c.Ignored);
    } catch (const EHerdError& error) {
        EXPECT_EQ(error.what(), "t.csv: " + c.Error);
    }
}

const std::string NoKey = "no es una tabla de lote, su cabecera no tiene ninguna de las columnas "
                          "Tipo, Consumo, Peso, Lactacion, Leche, Grasa, Proteina, DIM, "
                          "Temperatura, GDP, ADG, Freshenning.";

const THeaderCase HeaderCases[] = {
    {"Semicolon", "Peso;Leche\n", ';', {}, ""},
    {"AnyCaseAndBlanks", "  peso ,LECHE,Arete, Corral \n", ',', {"Arete", "Corral"}, ""},
    {"TabsAroundTitles", "\tpeso ;Leche\t\n", ';', {}, ""},
    {"Tab", "Nombre\tTipo\n", '\t', {}, ""},
    {"QuotedTitles", "\"Nombre\";\"Peso\"\r\n", ';', {}, ""},
    {"ByteOrderMark",
     "\xEF\xBB\xBF"
     "Tipo,Peso\n",
     ',',
     {},
     ""},
    {"UntitledColumnsAreIgnored", "Peso;;Leche;\n", ';', {"", ""}, ""},
    {"OneColumnTakesTheDefaultSeparator", "Peso\n", ',', {}, ""},
    {"NoKey", "Arete;Corral\n", ';', {}, NoKey},
    {"NombreIsNoKey", "Nombre\n", ',', {}, NoKey},
    {"FirstLineEmpty", "\nPeso;Leche\n", ',', {}, NoKey},
    {"Empty", "", ',', {}, "no es una tabla de lote, no tiene ninguna línea."},
    {"ByteOrderMarkOnly",
     "\xEF\xBB\xBF",
     ',',
     {},
     "no es una tabla de lote, no tiene ninguna línea."},
    {"KeyTwice", "Peso;Leche;peso\n", ';', {}, "la columna peso aparece dos veces en la cabecera."},
    {"NombreTwice",
     "Nombre;Peso;NOMBRE\n",
     ';',
     {},
     "la columna NOMBRE aparece dos veces en la cabecera."},
    {"UnterminatedQuote",
     "Peso;\"Leche\n1;2\n",
     ';',
     {},
     "faltan las comillas de cierre en la cabecera."},
};

INSTANTIATE_TEST_SUITE_P(Cases, HerdHeader, testing::ValuesIn(HeaderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HerdHeaderSeparator, ASingleColumnTableWithCommaDecimalsTakesTheSemicolon) {
    std::istringstream in("Grasa\n3,5\n");
    THerdReader reader(in, "t.csv", ',');
    EXPECT_EQ(reader.Separator(), ';');
    THerdAnimal animal;
    ASSERT_TRUE(reader.Next(animal));
    EXPECT_EQ(animal.Error, "");
    EXPECT_EQ(animal.Model.Grasa, 3.5f);
}

struct TCellCase {
    const char* Name;
    std::string Text;
    char DecimalSeparator;
    // Applied to the load defaults; the inputs of a failing row are not compared.
    std::function<void(TVeskDairy&)> Change;
    std::string Error;
    std::string Nombre;
};

void PrintTo(const TCellCase& c, std::ostream* os) {
    *os << c.Name;
}

class HerdCells : public testing::TestWithParam<TCellCase> {};

TEST_P(HerdCells, ReadAsAModelFileReadsItsKeys) {
    const TCellCase& c = GetParam();
    std::istringstream in(c.Text);
    THerdReader reader(in, "t.csv", c.DecimalSeparator);
    const std::vector<THerdAnimal> animals = ReadAnimals(reader);
    ASSERT_EQ(animals.size(), 1u);
    const THerdAnimal& animal = animals.front();
    EXPECT_EQ(animal.Line, 2);
    EXPECT_EQ(animal.Nombre, c.Nombre);
    EXPECT_EQ(animal.Error, c.Error);
    if (c.Error.empty()) {
        TVeskDairy expected = LoadDefaults();
        c.Change(expected);
        ExpectInputs(animal.Model, expected);
    }
}

const auto NoChange = [](TVeskDairy&) {};

const TCellCase CellCases[] = {
    {"MissingColumnsTakeTheLoadDefaults", "Peso\n500\n", '.', [](TVeskDairy& m) { m.Peso = 500; },
     "", ""},
    {"EmptyCellsTakeTheLoadDefaults", "Nombre;Leche;Peso\nA; ;\n", '.', NoChange, "", "A"},
    {"FewerCellsThanTitles", "Nombre;Peso;Leche\nA\n", '.', NoChange, "", "A"},
    {"EveryKey",
     "tipo;CONSUMO;Peso;Lactacion;Leche;Grasa;Proteina;DIM;Temperatura;GDP;ADG;Freshenning\n"
     "1;12.5;600;2;30;3.8;3.1;30;-5.5;0.2;0.7;10\n",
     '.',
     [](TVeskDairy& m) {
         m.Tipo = 1;
         m.Consumo = 12.5f;
         m.Peso = 600;
         m.Lactacion = 2;
         m.Leche = 30;
         m.Grasa = 3.8f;
         m.Proteina = 3.1f;
         m.DIM = 30;
         m.Temperatura = -5.5f;
         m.GDP = 0.2f;
         m.ADG = 0.7f;
         m.Freshenning = 10;
     },
     "", ""},
    {"HexadecimalWholeNumbers", "DIM;Lactacion;Freshenning\n0x1F;$2;-12\n", '.',
     [](TVeskDairy& m) {
         m.DIM = 31;
         m.Lactacion = 2;
         m.Freshenning = -12;
     },
     "", ""},
    {"TipoKeepsItsLowEightBits", "Tipo;Peso\n258;450\n", '.', [](TVeskDairy& m) { m.Tipo = 2; }, "",
     ""},
    {"ExponentAndSign", "GDP;ADG;Peso\n-2.5E-1;+.5;4.5e2\n", '.',
     [](TVeskDairy& m) {
         m.GDP = -0.25f;
         m.ADG = 0.5f;
     },
     "", ""},
    {"BlanksAroundNumbers", "Peso;Grasa\n 500 ;\t3.7\n", '.',
     [](TVeskDairy& m) {
         m.Peso = 500;
         m.Grasa = 3.7f;
     },
     "", ""},
    {"CommaDecimals", "Peso;Grasa\n450;3,7\n", ',', [](TVeskDairy& m) { m.Grasa = 3.7f; }, "", ""},
    {"NombreAsGiven", "Nombre;Peso\n  Vaca \"1\" ;450\n", '.', NoChange, "", "  Vaca \"1\" "},
    {"NombreQuoted", "Nombre,Peso\n\"Lote 3, \"\"altas\"\"\",450\n", '.', NoChange, "",
     "Lote 3, \"altas\""},
    {"OtherColumnsAreNotRead", "Peso;Arete\n450;abc\n", '.', NoChange, "", ""},
    {"BadNumber", "Nombre;Peso\nA;45x\n", '.', NoChange,
     "Línea 2, columna Peso: «45x» no es un número.", "A"},
    {"ColumnAsTitled", " PESO ;Nombre\n45x;A\n", '.', NoChange,
     "Línea 2, columna PESO: «45x» no es un número.", "A"},
    {"WholeNumberWithDecimals", "DIM\n6.5\n", '.', NoChange,
     "Línea 2, columna DIM: «6.5» no es un número entero.", ""},
    {"CommaDecimalWhereThePointIsInForce", "Peso;Grasa\n450;3,7\n", '.', NoChange,
     "Línea 2, columna Grasa: «3,7» no es un número.", ""},
    {"BeyondSinglePrecision", "Peso\n1e39\n", '.', NoChange,
     "Línea 2, columna Peso: «1e39» excede el rango de la precisión simple.", ""},
    {"BeyondExtendedPrecision", "Peso\n1e5000\n", '.', NoChange,
     "Línea 2, columna Peso: «1e5000» no es un número.", ""},
    {"TheFirstFailingCellNamesTheRow", "Leche;Peso\nx;y\n", '.', NoChange,
     "Línea 2, columna Leche: «x» no es un número.", ""},
    {"ExtraCell", "Nombre;Peso\nA;450;x\n", '.', NoChange,
     "Línea 2, columna 3: «x» está de más, la cabecera tiene 2 columnas.", "A"},
    {"ExtraEmptyCell", "Nombre;Peso\nA;450;\n", '.', NoChange,
     "Línea 2, columna 3: «» está de más, la cabecera tiene 2 columnas.", "A"},
    {"UntitledColumn", "Peso;;Leche\n450;\"x\"y;1\n", '.', NoChange,
     "Línea 2, columna 2: «xy» tiene texto tras las comillas de cierre.", ""},
    {"TextAfterTheClosingQuote", "Nombre;Peso\nA;\"450\"x\n", '.', NoChange,
     "Línea 2, columna Peso: «450x» tiene texto tras las comillas de cierre.", "A"},
    {"UnterminatedQuote", "Nombre;Peso\n\"A;450\n", '.', NoChange,
     "Línea 2, columna Nombre: «A;450\n» no cierra sus comillas.", "A;450\n"},
    {"LongTextIsCut", "Peso\n" + std::string(50, '9') + "x\n", '.', NoChange,
     "Línea 2, columna Peso: «" + std::string(40, '9') + "…» no es un número.", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, HerdCells, testing::ValuesIn(CellCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Rows are the non-empty lines; each names the line it starts on, quoted line breaks counted.
TEST(HerdRows, EmptyLinesAreNoAnimals) {
    std::istringstream in("Nombre;Peso\r\n\r\n\"a\nb\";1x\r\n;;\r\n  ;\r\nC;2x\r\nD;500");
    THerdReader reader(in, "t.csv", '.');
    const std::vector<THerdAnimal> animals = ReadAnimals(reader);
    ASSERT_EQ(animals.size(), 3u);
    EXPECT_EQ(animals[0].Nombre, "a\nb");
    EXPECT_EQ(animals[0].Error, "Línea 3, columna Peso: «1x» no es un número.");
    EXPECT_EQ(animals[1].Error, "Línea 7, columna Peso: «2x» no es un número.");
    EXPECT_EQ(animals[2].Line, 8);
    EXPECT_EQ(animals[2].Error, "");
    EXPECT_EQ(animals[2].Model.Peso, 500);
}

// Every row starts from a new model: nothing of the animal before it stays.
TEST(HerdRows, EachRowStartsFromTheDefaults) {
    std::istringstream in("Nombre;Peso;Leche\nA;600;30\nB\n");
    THerdReader reader(in, "t.csv", '.');
    const std::vector<THerdAnimal> animals = ReadAnimals(reader);
    ASSERT_EQ(animals.size(), 2u);
    ExpectInputs(animals[1].Model, LoadDefaults());
}

TEST(HerdTemplate, HoldsTheDefaultAnimalOfTheWindow) {
    EXPECT_EQ(HerdTemplate('.'),
              "Tipo,Consumo,Peso,Lactacion,Leche,Grasa,Proteina,DIM,Temperatura,GDP,ADG,"
              "Freshenning\n0,10,450,1,10,3.5,3.2,60,20,0,0,0\n");
    for (const char separator : {'.', ','}) {
        std::istringstream in(HerdTemplate(separator));
        THerdReader reader(in, "plantilla", separator);
        EXPECT_TRUE(reader.IgnoredColumns().empty());
        const std::vector<THerdAnimal> animals = ReadAnimals(reader);
        ASSERT_EQ(animals.size(), 1u);
        EXPECT_EQ(animals[0].Error, "");
        TVeskDairy expected;
        SetDefaultAnimal(expected);
        ExpectInputs(animals[0].Model, expected);
    }
    EXPECT_EQ(HerdTemplate(',').substr(HerdTemplate(',').find('\n')),
              "\n0;10;450;1;10;3,5;3,2;60;20;0;0;0\n");
}

} // namespace
