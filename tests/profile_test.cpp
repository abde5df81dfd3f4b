#include "platform/profile.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace std::string_literals;

namespace {

struct TReadCase {
    const char* Name;
    std::string Text;
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << c.Name;
}

class ProfileRead : public testing::TestWithParam<TReadCase> {};

TEST_P(ProfileRead, FindsTheValue) {
    const TReadCase& c = GetParam();
    EXPECT_EQ(TProfile::Parse(c.Text).Read(c.Section, c.Key), c.Expected);
}

const TReadCase ReadCases[] = {
    {"Plain", "[N0]\nCodigo=5\n", "N0", "Codigo", "5"},
    {"CrLf", "[N0]\r\nNombre=Proteína\r\nUnidad=%\r\n", "N0", "Unidad", "%"},
    {"LoneCr", "[N0]\rNombre=a\rUnidad=b\r", "N0", "Unidad", "b"},
    {"NoFinalNewline", "[N0]\nNombre=abc", "N0", "Nombre", "abc"},
    {"Bom", "\xEF\xBB\xBF[N0]\nNombre=a\n", "N0", "Nombre", "a"},
    {"BlanksTrimmed", "  [ N0 ]  \n \t Nombre \t=  dos  palabras \t\n", "N0", "Nombre",
     "dos  palabras"},
    {"OnlyFirstEqualsSplits", "[N0]\nNombre=a=b\n", "N0", "Nombre", "a=b"},
    {"SectionCase", "[n3]\nNombre=Calcio\n", "N3", "Nombre", "Calcio"},
    {"KeyCase", "[Data]\nTIPO=2\n", "data", "tipo", "2"},
    {"DoubleQuotes", "[N0]\nNombre=\" entre comillas \"\n", "N0", "Nombre", " entre comillas "},
    {"SingleQuotes", "[N0]\nNombre='x'\n", "N0", "Nombre", "x"},
    {"OnlyOnePairOfQuotes", "[N0]\nNombre=\"\"x\"\"\n", "N0", "Nombre", "\"x\""},
    {"UnmatchedQuotes", "[N0]\nNombre=\"x'\n", "N0", "Nombre", "\"x'"},
    {"LoneQuote", "[N0]\nNombre=\"\n", "N0", "Nombre", "\""},
    {"EmptyValue", "[N0]\nNombre=\n", "N0", "Nombre", ""},
    {"EmptyQuotedValue", "[N0]\nNombre=\"\"\n", "N0", "Nombre", ""},
    {"MissingKey", "[N0]\nNombre=a\n", "N0", "Unidad", std::nullopt},
    {"MissingSection", "[N0]\nNombre=a\n", "N1", "Nombre", std::nullopt},
    {"EmptyText", "", "N0", "Nombre", std::nullopt},
    {"KeyInOtherSection", "[N0]\n[N1]\nNombre=a\n", "N0", "Nombre", std::nullopt},
    {"KeyBeforeAnySection", "Nombre=a\n[N0]\n", "N0", "Nombre", std::nullopt},
    {"Comment", "[N0]\n;Nombre=a\n  ; Nombre=b\nNombre=c\n", "N0", "Nombre", "c"},
    {"SemicolonInsideValue", "[N0]\nNombre=a;b\n", "N0", "Nombre", "a;b"},
    {"LineWithoutEquals", "[N0]\nNombre\nNombre=b\n", "N0", "Nombre", "b"},
    {"FirstKeyWins", "[N0]\nNombre=a\nnombre=b\n", "N0", "Nombre", "a"},
    {"FirstSectionWins", "[N0]\nNombre=a\n[N0]\nNombre=b\n", "N0", "Nombre", "a"},
    {"DuplicateSectionNotSearched", "[N0]\nUnidad=u\n[n0]\nNombre=b\n", "N0", "Nombre",
     std::nullopt},
    {"HeaderWithoutBracketIsNoHeader", "[N0]\n[N1\nNombre=a\n", "N0", "Nombre", "a"},
    {"TextAfterBracketIgnored", "[N0] ; c\nNombre=a\n", "N0", "Nombre", "a"},
    {"EmptyKeyIgnored", "[N0]\n=a\n", "N0", "", std::nullopt},
    {"NulBytes", "[N0]\nNom\0bre=x\nNombre=a\0b\n"s, "N0", "Nombre", "a\0b"s},
    {"HugeLine", "[N0]\nLargo=" + std::string(1 << 20, 'x') + "\nNombre=a\n", "N0", "Nombre", "a"},
    {"HugeValue", "[N0]\nNombre=" + std::string(1 << 20, 'y'), "N0", "Nombre",
     std::string(1 << 20, 'y')},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, testing::ValuesIn(ReadCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ProfileLoad, MissingOrUnreadableFileReadsAsEmpty) {
    TTempFolder folder("profile_load");
    for (const std::string& path : {std::string("/nonexistent/folder/file.ini"), folder.Path()}) {
        TProfile profile = TProfile::Load(path);
        EXPECT_EQ(profile.Read("N0", "Nombre"), std::nullopt) << path;
    }
}

TEST(ProfileLoad, ReadsTheFileBytes) {
    TTempFolder folder("profile_load");
    std::string path = folder.Path() + "/vaca.VM2";
    StoreFile(path, "[Data]\r\nPeso=450\r\nNombre=a\0b\r\n"s);
    TProfile profile = TProfile::Load(path);
    EXPECT_EQ(profile.Read("Data", "Peso"), "450");
    EXPECT_EQ(profile.Read("Data", "Nombre"), "a\0b"s);
}

} // namespace
