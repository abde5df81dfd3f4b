#include "platform/table_field.h"

#include "database_error_text.h"
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
        Min.DisplayLabel = "Mínimo";
        Min.DisplayFormat = "0.0000";
        Enviar.TrueText = "Sí";
        Enviar.FalseText = "No";
    }
    void TearDown() override { SetRegional(FSaved); }
    static void UseSeparator(char separator) { SetRegional({separator, ""}); }

    TTableField Codigo{.FieldName = "Codigo", .Kind = TFieldKind::Integer};
    TTableField Unidad{.FieldName = "Unidad", .Kind = TFieldKind::Text, .Size = 10};
    TTableField Min{.FieldName = "Min", .Kind = TFieldKind::Currency};
    TTableField Enviar{.FieldName = "Enviar", .Kind = TFieldKind::Boolean};

private:
    TRegional FSaved;
};

TEST_F(TableFieldTest, DisplayLabelIsTheFieldNameUntilSet) {
    EXPECT_EQ(Codigo.DisplayLabel, "Codigo");
    EXPECT_EQ(Min.DisplayLabel, "Mínimo");
}

TEST_F(TableFieldTest, CurrencyShowsFourDecimalsWithRegionalSeparator) {
    UseSeparator('.');
    EXPECT_EQ(Min.DisplayText(0.0025), "0.0025");
    EXPECT_EQ(Min.DisplayText(12.5), "12.5000");
    EXPECT_EQ(Min.DisplayText(-3.0), "-3.0000");
    UseSeparator(',');
    EXPECT_EQ(Min.DisplayText(0.0025), "0,0025");
    EXPECT_EQ(Min.DisplayText(1234.56789), "1234,5679");
}

TEST_F(TableFieldTest, DisplayFormatSetsTheDecimals) {
    UseSeparator('.');
    Min.DisplayFormat = "0";
    EXPECT_EQ(Min.DisplayText(2.5), "3");
    Min.DisplayFormat = "0.0";
    EXPECT_EQ(Min.DisplayText(2.25), "2.3");
}

TEST_F(TableFieldTest, EachKindShowsItsValueAndNullShowsEmpty) {
    EXPECT_EQ(Codigo.DisplayText(int32_t{-42}), "-42");
    EXPECT_EQ(Unidad.DisplayText(std::string("g/día")), "g/día");
    EXPECT_EQ(Enviar.DisplayText(true), "Sí");
    EXPECT_EQ(Enviar.DisplayText(false), "No");
    for (const TTableField* field : {&Codigo, &Unidad, &Min, &Enviar})
        EXPECT_EQ(field->DisplayText(TFieldValue{}), "") << field->FieldName;
}

TEST_F(TableFieldTest, BooleanTextsAreTrueAndFalseUntilSet) {
    const TTableField flag{.FieldName = "Flag", .Kind = TFieldKind::Boolean};
    EXPECT_EQ(flag.DisplayText(true), "True");
    EXPECT_EQ(flag.DisplayText(false), "False");
    EXPECT_EQ(flag.FromText("f"), TFieldValue(false));
}

TEST_F(TableFieldTest, TextIsCutToSizeByCharacters) {
    EXPECT_EQ(Unidad.FromText("g/kg MS"), TFieldValue(std::string("g/kg MS")));
    EXPECT_EQ(Unidad.FromText("ABCDEFGHIJKL"), TFieldValue(std::string("ABCDEFGHIJ")));
    EXPECT_EQ(Unidad.FromText("ñññññññññññ"), TFieldValue(std::string("ññññññññññ")));
    EXPECT_EQ(Unidad.FromText(""), TFieldValue(std::string()));
    EXPECT_EQ(Min.Fitted(0.5), TFieldValue(0.5));
    EXPECT_EQ(Unidad.Fitted(std::string("áéíóúáéíóúá")), TFieldValue(std::string("áéíóúáéíóú")));
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
    EXPECT_EQ(ErrorOf([&] { Codigo.FromText("1.5"); }),
              "'1.5' is not a valid integer value for field 'Codigo'");
    EXPECT_EQ(ErrorOf([&] { Codigo.FromText("99999999999"); }),
              "'99999999999' is not a valid integer value for field 'Codigo'");
}

} // namespace
