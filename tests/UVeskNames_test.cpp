#include "model/UVesk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A program file in a fresh folder; its names file is written beside it by each test.
class NamesFileTest : public testing::Test {
protected:
    void SetUp() override {
        FDir = fs::path(testing::TempDir()) /
               ("vesk_names_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string ProgramFile() const { return (FDir / "vesk").string(); }

    TVeskDairy WithNames(const std::string& bytes) const {
        std::ofstream(FDir / "vesk.ini", std::ios::binary) << bytes;
        return TVeskDairy(ProgramFile());
    }

    fs::path FDir;
};

std::vector<const TRestriccion*> SectionOrder(const TVeskDairy& model) {
    return {&model.ProteinaCruda, &model.Energia,  &model.FDN,    &model.Calcio,
            &model.Fosforo,       &model.Magnesio, &model.Potasio};
}

TEST_F(NamesFileTest, MissingFileGivesTheDefaults) {
    const TVeskDairy model(ProgramFile());
    for (const TRestriccion* record : SectionOrder(model)) {
        EXPECT_EQ(record->Codigo, 0);
        EXPECT_EQ(record->Nombre, "SinNombre");
        EXPECT_EQ(record->Unidad, "SinUnidad");
        EXPECT_TRUE(record->Enviar);
        EXPECT_EQ(record->Requerido.Count, 0);
        EXPECT_EQ(record->Min.Count, 0);
        EXPECT_EQ(record->Max.Count, 0);
    }
    EXPECT_EQ(model.Tipo, 0);
    EXPECT_EQ(model.Peso, 0);
    EXPECT_EQ(model.Consumo, 0);
    EXPECT_EQ(model.ConsumoEstimado, 0);
}

TEST_F(NamesFileTest, SectionsFillTheRecordsInTheirOrder) {
    std::string text;
    for (int i = 0; i < 7; ++i)
        text += "[N" + std::to_string(i) + "]\r\nCodigo=" + std::to_string(100 + i) +
                "\r\nNombre=Name" + std::to_string(i) + "\r\nUnidad=U" + std::to_string(i) + "\r\n";
    const TVeskDairy model = WithNames(text);
    const auto records = SectionOrder(model);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(records[i]->Codigo, 100 + i);
        const std::string number = std::to_string(i);
        EXPECT_EQ(records[i]->Nombre, std::string("Name").append(number));
        EXPECT_EQ(records[i]->Unidad, std::string("U").append(number));
        EXPECT_TRUE(records[i]->Enviar);
    }
}

TEST_F(NamesFileTest, SectionAndKeyNamesIgnoreCase) {
    const TVeskDairy model = WithNames("[n3]\nCODIGO=7\nnombre=Calcio\nUnidad=%\n");
    EXPECT_EQ(model.Calcio.Codigo, 7);
    EXPECT_EQ(model.Calcio.Nombre, "Calcio");
    EXPECT_EQ(model.Calcio.Unidad, "%");
    EXPECT_EQ(model.Fosforo.Nombre, "SinNombre");
}

struct TCodigoCase {
    const char* Text;
    int32_t Codigo;
};

void PrintTo(const TCodigoCase& c, std::ostream* out) {
    *out << '"' << c.Text << '"';
}

class CodigoTest : public NamesFileTest, public testing::WithParamInterface<TCodigoCase> {};

TEST_P(CodigoTest, ReadsTheCode) {
    const TVeskDairy model = WithNames(std::string("[N0]\nCodigo=") + GetParam().Text + "\n");
    EXPECT_EQ(model.ProteinaCruda.Codigo, GetParam().Codigo);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodigoTest,
                         testing::Values(TCodigoCase{"101", 101}, TCodigoCase{"-5", -5},
                                         TCodigoCase{"+8", 8}, TCodigoCase{"0x1F", 31},
                                         TCodigoCase{"0X1f", 31}, TCodigoCase{"$1F", 31},
                                         TCodigoCase{"12a", 0}, TCodigoCase{"", 0},
                                         TCodigoCase{"1.5", 0}, TCodigoCase{"99999999999", 0},
                                         TCodigoCase{"  42  ", 42}, TCodigoCase{"\"43\"", 43}));

TEST_F(NamesFileTest, EmptyValueGivesEmptyText) {
    const TVeskDairy model = WithNames("[N0]\nNombre=\nUnidad=  \n");
    EXPECT_EQ(model.ProteinaCruda.Nombre, "");
    EXPECT_EQ(model.ProteinaCruda.Unidad, "");
}

TEST_F(NamesFileTest, LongTextsAreCutByCharacters) {
    const TVeskDairy model =
        WithNames("[N0]\nNombre=abcdefghijklmnopqrstuvwxyz1234\nUnidad=Mcal/kg MS.\n"
                  "[N1]\nNombre=Energía neta de lactación láctea\n"
                  "Unidad=ñáéíóúüÑÁÉÍ\n");
    EXPECT_EQ(model.ProteinaCruda.Nombre, "abcdefghijklmnopqrstuvwxy");
    EXPECT_EQ(model.ProteinaCruda.Unidad, "Mcal/kg MS");
    EXPECT_EQ(model.Energia.Nombre, "Energía neta de lactación");
    EXPECT_EQ(model.Energia.Unidad, "ñáéíóúüÑÁÉ");
}

TEST_F(NamesFileTest, SingleByteNamesAreConvertedFromWindows1252) {
    const TVeskDairy model =
        WithNames("[N4]\nNombre=F\xF3sforo \x80\x96\x93x\x94\nUnidad=g/d\xEDg\n"
                  "[N1]\nNombre=Energ\xEDz neta de lactaci\xF3n l\xE1\x63tea\n");
    EXPECT_EQ(model.Fosforo.Nombre, "Fósforo €–“x”");
    EXPECT_EQ(model.Fosforo.Unidad, "g/díg");
    EXPECT_EQ(model.Energia.Nombre, "Energíz neta de lactación");
}

TEST_F(NamesFileTest, ShippedNamesFileKeepsWholeNames) {
    const TVeskDairy model(VESK_SOURCE_DIR "/resources/vesk");
    EXPECT_EQ(model.Energia.Nombre, "Energía neta de lactación");
    EXPECT_EQ(model.Fosforo.Nombre, "Fósforo");
    for (const TRestriccion* record : SectionOrder(model))
        EXPECT_NE(record->Codigo, 0);
}

TEST(NamesFilePathTest, ReplacesTheExtensionOfTheFileName) {
    struct {
        const char* Program;
        const char* Names;
    } const cases[] = {{"/opt/vesk/vesk", "/opt/vesk/vesk.ini"},
                       {"/opt/vesk/vesk.bin", "/opt/vesk/vesk.ini"},
                       {"/opt/v1.2/vesk", "/opt/v1.2/vesk.ini"},
                       {"/opt/vesk.tar.gz", "/opt/vesk.tar.ini"},
                       {"vesk", "vesk.ini"}};
    for (const auto& c : cases)
        EXPECT_EQ(NamesFilePath(c.Program), c.Names);
}

} // namespace
