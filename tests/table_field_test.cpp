#include "platform/table_field.h"

#include "database_error_text.h"
#include "platform/database_error.h"
#include "platform/regional.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

// The fields of the restrictions table, under a notation chosen per test.
class TableFieldTest : public testing::Test {
protected:
    void SetUp() override {
        FSaved = Regional();
        Min.SetDisplayLabel("Mínimo");
        Min.SetDisplayFormat("0.0000");
        Enviar.SetDisplayValues("Sí;No");
    }
    void TearDown() override { SetRegional(FSaved); }
    static void UseSeparator(char separator) { SetRegional({separator, ""}); }

    TTableField Codigo{"Codigo", TFieldKind::Integer, 0, 0};
    TTableField Unidad{"Unidad", TFieldKind::Text, 10, 2};
    TTableField Min{"Min", TFieldKind::Currency, 0, 3};
    TTableField Enviar{"Enviar", TFieldKind::Boolean, 0, 5};

private:
    TRegional FSaved;
};

TEST_F(TableFieldTest, DisplayLabelFallsBackToFieldName) {
    EXPECT_EQ(Codigo.DisplayLabel(), "Codigo");
    EXPECT_EQ(Min.DisplayLabel(), "Mínimo");
    EXPECT_EQ(Min.FieldName(), "Min");
}

TEST_F(TableFieldTest, AlignmentFollowsKindUntilSet) {
    EXPECT_EQ(Codigo.Alignment(), TFieldAlignment::Right);
    EXPECT_EQ(Min.Alignment(), TFieldAlignment::Right);
    EXPECT_EQ(Unidad.Alignment(), TFieldAlignment::Left);
    EXPECT_EQ(Enviar.Alignment(), TFieldAlignment::Left);
    Enviar.SetAlignment(TFieldAlignment::Center);
    EXPECT_EQ(Enviar.Alignment(), TFieldAlignment::Center);
}

TEST_F(TableFieldTest, CurrencyShowsFourDecimalsWithRegionalSeparator) {
    UseSeparator('.');
    EXPECT_EQ(Min.DisplayText(0.0025), "0.0025");
    EXPECT_EQ(Min.EditText(0.0025), "0.0025");
    EXPECT_EQ(Min.DisplayText(12.5), "12.5000");
    EXPECT_EQ(Min.DisplayText(-3.0), "-3.0000");
    UseSeparator(',');
    EXPECT_EQ(Min.DisplayText(0.0025), "0,0025");
    EXPECT_EQ(Min.EditText(1234.56789), "1234,5679");
}

TEST_F(TableFieldTest, DisplayFormatSetsTheDecimals) {
    UseSeparator('.');
    Min.SetDisplayFormat("0");
    EXPECT_EQ(Min.DisplayText(2.5), "3");
    Min.SetDisplayFormat("0.0");
    EXPECT_EQ(Min.DisplayText(2.25), "2.3");
    EXPECT_EQ(Min.DisplayFormat(), "0.0");
    for (const char* format : {"", "0.", "#.##", "0.00x", "00.0"})
        EXPECT_EQ(ErrorOf([&] { Min.SetDisplayFormat(format); }),
                  "Invalid display format '" + std::string(format) + "' for field 'Min'");
    EXPECT_EQ(Min.DisplayFormat(), "0.0");
    EXPECT_EQ(ErrorOf([&] { Unidad.SetDisplayFormat("0.00"); }),
              "Field 'Unidad' has no display format");
}

TEST_F(TableFieldTest, EachKindShowsItsValueAndNullShowsEmpty) {
    EXPECT_EQ(Codigo.DisplayText(int32_t{-42}), "-42");
    EXPECT_EQ(Unidad.DisplayText(std::string("g/día")), "g/día");
    EXPECT_EQ(Enviar.DisplayText(true), "Sí");
    EXPECT_EQ(Enviar.EditText(false), "No");
    for (const TTableField* field : {&Codigo, &Unidad, &Min, &Enviar}) {
        EXPECT_EQ(field->DisplayText(TFieldValue{}), "") << field->FieldName();
        EXPECT_EQ(field->EditText(TFieldValue{}), "") << field->FieldName();
    }
}

TEST_F(TableFieldTest, BooleanDisplayValuesWithoutSeparatorLeaveFalseEmpty) {
    TTableField flag{"Flag", TFieldKind::Boolean, 0, 0};
    EXPECT_EQ(flag.DisplayText(true), "True");
    EXPECT_EQ(flag.DisplayText(false), "False");
    flag.SetDisplayValues("Yes");
    EXPECT_EQ(flag.DisplayText(true), "Yes");
    EXPECT_EQ(flag.DisplayText(false), "");
    EXPECT_EQ(ErrorOf([&] { Min.SetDisplayValues("a;b"); }), "Field 'Min' has no display values");
}

TEST_F(TableFieldTest, TextIsCutToSizeByCharacters) {
    EXPECT_EQ(Unidad.FromText("g/kg MS"), TFieldValue(std::string("g/kg MS")));
    EXPECT_EQ(Unidad.FromText("ABCDEFGHIJKL"), TFieldValue(std::string("ABCDEFGHIJ")));
    EXPECT_EQ(Unidad.FromText("ñññññññññññ"), TFieldValue(std::string("ññññññññññ")));
    EXPECT_EQ(Unidad.FromText(""), TFieldValue(std::string()));
    EXPECT_EQ(Unidad.Checked(std::string("áéíóúáéíóúá")), TFieldValue(std::string("áéíóúáéíóú")));
}

struct TTextCase {
    const char* Text;
    char Separator;
    TFieldValue Expected;
};

void PrintTo(const TTextCase& c, std::ostream* os) {
    *os << "'" << c.Text << "'";
}

class CurrencyFromTextTest : public TableFieldTest,
                             public testing::WithParamInterface<TTextCase> {};

TEST_P(CurrencyFromTextTest, ReadsRegionalNotation) {
    UseSeparator(GetParam().Separator);
    EXPECT_EQ(Min.FromText(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CurrencyFromTextTest,
                         testing::Values(TTextCase{"", '.', TFieldValue{}},
                                         TTextCase{"0.0025", '.', 0.0025},
                                         TTextCase{"0,0025", ',', 0.0025},
                                         TTextCase{"-3", ',', -3.0}, TTextCase{"1e-3", '.', 0.001},
                                         TTextCase{" 2,5 ", ',', 2.5}));

class CurrencyRefusedTest : public TableFieldTest, public testing::WithParamInterface<TTextCase> {};

TEST_P(CurrencyRefusedTest, NamesTextAndDisplayLabel) {
    UseSeparator(GetParam().Separator);
    const std::string text = GetParam().Text;
    EXPECT_EQ(ErrorOf([&] { Min.FromText(text); }),
              "'" + text + "' is not a valid floating point value for field 'Mínimo'");
}

INSTANTIATE_TEST_SUITE_P(Cases, CurrencyRefusedTest,
                         testing::Values(TTextCase{"abc", '.', {}}, TTextCase{"1.5", ',', {}},
                                         TTextCase{"1,5", '.', {}}, TTextCase{"1.000,5", ',', {}},
                                         TTextCase{" ", '.', {}},
                                         // Beyond a double: refused, never an infinity.
                                         TTextCase{"1e400", '.', {}}));

struct TBooleanCase {
    const char* Text;
    TFieldValue Expected;
};

void PrintTo(const TBooleanCase& c, std::ostream* os) {
    *os << "'" << c.Text << "'";
}

class BooleanFromTextTest : public TableFieldTest,
                            public testing::WithParamInterface<TBooleanCase> {};

TEST_P(BooleanFromTextTest, MatchesLeadingCharactersOfNoThenSi) {
    EXPECT_EQ(Enviar.FromText(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BooleanFromTextTest,
                         testing::Values(TBooleanCase{"", TFieldValue{}}, TBooleanCase{"n", false},
                                         TBooleanCase{"No", false}, TBooleanCase{"NO", false},
                                         TBooleanCase{"nO", false}, TBooleanCase{"s", true},
                                         TBooleanCase{"S", true}, TBooleanCase{"sí", true},
                                         TBooleanCase{"SÍ", true}, TBooleanCase{"Sí", true}));

class BooleanRefusedTest : public TableFieldTest,
                           public testing::WithParamInterface<const char*> {};

TEST_P(BooleanRefusedTest, NamesTextAndFieldName) {
    const std::string text = GetParam();
    EXPECT_EQ(ErrorOf([&] { Enviar.FromText(text); }),
              "'" + text + "' is not a valid boolean value for field 'Enviar'");
}

INSTANTIATE_TEST_SUITE_P(Cases, BooleanRefusedTest,
                         testing::Values("x", "si", "SI", "nos", "sí ", " s", "í", "True"));

TEST_F(TableFieldTest, IntegerFromText) {
    EXPECT_EQ(Codigo.FromText(""), TFieldValue{});
    EXPECT_EQ(Codigo.FromText("-17"), TFieldValue(int32_t{-17}));
    for (const char* text : {"1.5", "abc", "99999999999"})
        EXPECT_EQ(ErrorOf([&] { Codigo.FromText(text); }),
                  "'" + std::string(text) + "' is not a valid integer value for field 'Codigo'");
}

TEST_F(TableFieldTest, CheckedRefusesAnotherKind) {
    EXPECT_EQ(Min.Checked(0.5), TFieldValue(0.5));
    EXPECT_EQ(Min.Checked(TFieldValue{}), TFieldValue{});
    EXPECT_EQ(ErrorOf([&] { Min.Checked(int32_t{1}); }), "Type mismatch for field 'Min'");
    EXPECT_EQ(ErrorOf([&] { Enviar.Checked(std::string("Sí")); }),
              "Type mismatch for field 'Enviar'");
    EXPECT_EQ(ErrorOf([&] { Codigo.Checked(true); }), "Type mismatch for field 'Codigo'");
}

TEST(TableFieldSizeTest, OnlyTextFieldsHaveASize) {
    EXPECT_THROW(TTableField("Nombre", TFieldKind::Text, 0, 0), EDatabaseError);
    EXPECT_THROW(TTableField("Codigo", TFieldKind::Integer, 4, 0), EDatabaseError);
    EXPECT_EQ(TTableField("Nombre", TFieldKind::Text, 30, 1).Size(), 30);
}

} // namespace
