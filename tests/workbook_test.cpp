#include "platform/workbook.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "run_unprivileged.h"
#include "temp_folder.h"
#include "test_locale.h"
#include "xlsx_readback.h"

namespace {

namespace fs = std::filesystem;

using TRow = std::vector<TWorkbookCell>;

class Workbook : public testing::Test {
protected:
    void TearDown() override { setlocale(LC_NUMERIC, "C"); }

    // Writes the rows under the columns' titles and reads the file back.
    TReadSheet Write(const TWorkbookSheet& sheet, const std::vector<TRow>& rows) {
        TWorkbookWriter writer(Path(), sheet);
        for (const TRow& row : rows)
            writer.AddRow(row);
        writer.Commit();
        return ReadXlsx(Path());
    }

    std::string Path() const { return FFolder.Path() + "/Lote.xlsx"; }

    TTempFolder FFolder{"workbook"};
};

double Width(const TReadSheet& sheet, const std::string& column) {
    const auto found = sheet.ColumnWidths.find(column);
    return found == sheet.ColumnWidths.end() ? std::nan("") : std::stod(found->second);
}

const TWorkbookSheet Restrictions{
    "SolucionVesk",
    {{"Codigo", ""}, {"Nombre", "@"}, {"Mínimo", "0.0000"}, {"Máximo", "0.0000"}},
    0};

TEST_F(Workbook, WritesTypedCellsWithTheirColumnsFormats) {
    const TReadSheet read =
        Write(Restrictions, {{std::int64_t(1), std::string("Proteína cruda"), 0.0025, 18.75},
                             {std::int64_t(3), std::string("FDN"), 28.0, TWorkbookCell()},
                             {TWorkbookCell(), std::string()},
                             {std::int64_t(-7)}});
    EXPECT_EQ(read.Name, "SolucionVesk");
    ExpectCells(read, {
                          {"A2", "n", "1", "General"},
                          {"B2", "s", "'Proteína cruda'", "@"},
                          {"C2", "n", "0.0025", "0.0000"},
                          {"D2", "n", "18.75", "0.0000"},
                          {"C3", "n", "28", "0.0000"},
                          // Empty cells, given or missing, hold nothing but keep their column's
                          // format.
                          {"D3", "None", "None", "0.0000"},
                          {"A4", "None", "None", "General"},
                          {"B4", "None", "None", "@"},
                          {"D5", "None", "None", "0.0000"},
                          {"A5", "n", "-7", "General"},
                      });
    for (const auto& [name, cell] : read.Cells)
        EXPECT_EQ(cell.Fill, name.substr(1) == "1" ? "FFC0C0C0" : "None") << name;
    EXPECT_FALSE(read.Cells.count("A6"));
    EXPECT_FALSE(read.Cells.count("E1"));
}

class WorkbookFont : public Workbook,
                     public testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(WorkbookFont, TitlesAreBoldOnSilverAndEveryCellHasTheSheetsSize) {
    TWorkbookSheet sheet = Restrictions;
    sheet.FontPoints = GetParam().first;
    const TReadSheet read = Write(sheet, {{std::int64_t(1), std::string("ENl"), 1.5}});
    ExpectTitles(read, {"Codigo", "Nombre", "Mínimo", "Máximo"}, GetParam().second);
    for (const char* data : {"A2", "B2", "C2", "D2"})
        EXPECT_EQ(read.Cells.at(data).Size, GetParam().second) << data;
}

INSTANTIATE_TEST_SUITE_P(Points, WorkbookFont,
                         testing::Values(std::pair(0, "11.0"), std::pair(8, "8.0")));

// Each case puts a value into a column of its format and the text it should show into a text
// column beside it: both columns come out equally wide.
TEST_F(Workbook, ColumnsFitTheTextsTheyShow) {
    struct TCase {
        TWorkbookCell Value;
        const char* Format;
        const char* Shown;
    };
    const TCase cases[] = {
        {0.0025, "0.0000", "0.0025"},
        {1234.5, "0.0000", "1234.5000"},
        {std::int64_t(7), "0.0000", "7.0000"},
        {-0.5, "0.00", "-0.50"},
        {600.0, "0", "600"},
        {1234.5, "", "1234.5"},
        {std::int64_t(42), "", "42"},
        {1.0 / 3, "", "0.333333333"},
        {123456789012345.0, "", "1.23457E+14"},
        {0.0025, "@", "0.0025"},
        // Characters, not bytes.
        {std::string("Proteína cruda"), "@", "Proteina cruda"},
    };
    TWorkbookSheet sheet{"Anchos", {}, 0};
    TRow row;
    for (const TCase& c : cases) {
        sheet.Columns.push_back({"x", c.Format});
        sheet.Columns.push_back({"x", "@"});
        row.push_back(c.Value);
        row.push_back(std::string(c.Shown));
    }
    const TReadSheet read = Write(sheet, {row});
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string value(1, char('A' + 2 * i));
        const std::string shown(1, char('B' + 2 * i));
        EXPECT_EQ(Width(read, value), Width(read, shown)) << cases[i].Shown;
    }
    const double ten = Width(Write({"Anchos", {{"", ""}}, 0}, {{std::string("abcdefghij")}}), "A");
    EXPECT_GT(ten, 10.5);
    EXPECT_LT(ten, 12);
}

TEST_F(Workbook, TheLongestTextOfAColumnDecidesItsWidth) {
    const TWorkbookSheet sheet{
        "Anchos", {{"Consumo estimado", ""}, {"x", ""}, {"x", ""}, {"", ""}}, 0};
    const TReadSheet read =
        Write(sheet, {{std::int64_t(1), std::string("Consumo estimado"), std::string("corto")},
                      {TWorkbookCell(), TWorkbookCell(), std::string("un texto más largo")}});
    EXPECT_GT(Width(read, "A"), Width(read, "B")) << "titles are bold, so wider";
    EXPECT_GT(Width(read, "C"), Width(read, "B")) << "a later, longer row counts";
    EXPECT_FALSE(read.ColumnWidths.count("D")) << "a column that shows nothing keeps its width";

    TWorkbookSheet small = sheet;
    small.FontPoints = 8;
    const TReadSheet smaller = Write(small, {{std::int64_t(1), std::string("Consumo estimado")}});
    EXPECT_LT(Width(smaller, "B"), Width(read, "B"));
}

TEST_F(Workbook, AnEmptySheet) {
    const TReadSheet titlesOnly = Write(Restrictions, {});
    EXPECT_EQ(titlesOnly.Name, "SolucionVesk");
    EXPECT_EQ(titlesOnly.Cells.size(), 4u);
    EXPECT_EQ(titlesOnly.ColumnWidths.size(), 4u);

    const TReadSheet nothing = Write({"Vacía", {}, 8}, {{}, {}});
    EXPECT_EQ(nothing.Name, "Vacía");
    for (const auto& [name, cell] : nothing.Cells)
        EXPECT_EQ(cell.Type, "None") << name;
    EXPECT_TRUE(nothing.ColumnWidths.empty());
}

TEST_F(Workbook, ManyRowsArriveInOrder) {
    constexpr int Rows = 10000;
    std::vector<TRow> rows;
    for (int i = 0; i < Rows; ++i)
        rows.push_back({std::int64_t(i), i == Rows / 2 ? 123456.5 : 0.5});
    const TReadSheet read = Write({"Lote", {{"n", ""}, {"Consumo", "0.00"}}, 0}, rows);
    EXPECT_EQ(read.Cells.size(), 2u * (Rows + 1));
    for (int i = 0; i < Rows; i += 997)
        EXPECT_EQ(read.Cells.at("A" + std::to_string(i + 2)).Value, std::to_string(i));
    EXPECT_EQ(read.Cells.at("B" + std::to_string(Rows / 2 + 2)).Value, "123456.5");
    const double widest = Width(
        Write({"Lote", {{"n", ""}, {"Consumo", "0.00"}}, 0}, {{std::int64_t(0), 123456.5}}), "B");
    EXPECT_EQ(Width(read, "B"), widest) << "the width comes from the widest of all rows";
}

std::string Printed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A decimal comma of the process's locale (Qt sets it to the user's) must not reach the file,
// and the caller's locale must be back after every call.
TEST_F(Workbook, NumbersStayIntactUnderACommaNumericLocale) {
    const TTestLocale comma("de_DE");
    if (comma.Name().empty())
        GTEST_SKIP() << "de_DE.UTF-8 cannot be built: localedef or the locales package is missing";
    ASSERT_TRUE(setlocale(LC_NUMERIC, comma.Name().c_str()));
    ASSERT_EQ(Printed(0.25), "0,25") << "the condition of the test";
    {
        TWorkbookWriter writer(Path(), Restrictions);
        EXPECT_EQ(Printed(0.25), "0,25");
        writer.AddRow({std::int64_t(1), std::string("Proteína cruda"), 0.0025, 18.75});
        writer.AddRow({std::int64_t(2), std::string("ENl"), 1.5, 1234.5});
        EXPECT_EQ(Printed(0.25), "0,25");
        writer.Commit();
        EXPECT_EQ(Printed(0.25), "0,25");
    }
    setlocale(LC_NUMERIC, "C");
    const TReadSheet read = ReadXlsx(Path());
    EXPECT_EQ(read.Cells.at("C2").Value, "0.0025");
    EXPECT_EQ(read.Cells.at("D2").Value, "18.75");
    EXPECT_EQ(read.Cells.at("D3").Value, "1234.5");
    EXPECT_EQ(read.Cells.at("C2").NumberFormat, "0.0000");
    const double fitted = Width(read, "B");
    EXPECT_EQ(fitted,
              Width(Write(Restrictions, {{std::int64_t(1), std::string("Proteína cruda")}}), "B"));
}

// A save that fails, or a writer given up, leaves the target as it was and nothing beside it.
struct TFailedSave {
    const char* Label;
    std::function<void(const std::string& path)> Save;
    // The end of the failure's message; null when nothing fails.
    const char* Message;
};

class WorkbookFailure : public Workbook, public testing::WithParamInterface<TFailedSave> {};

TEST_P(WorkbookFailure, LeavesTheOldFileAsItWas) {
    const std::string old = "the workbook of an earlier save";
    StoreFile(Path(), old);
    const TFailedSave& c = GetParam();
    if (!c.Message) {
        c.Save(Path());
    } else {
        try {
            c.Save(Path());
            ADD_FAILURE() << "the save succeeded";
        } catch (const EWorkbookError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Cannot save the workbook as " + Path() + ": ", 0), 0u)
                << message;
            EXPECT_EQ(message.substr(message.size() - std::strlen(c.Message)), c.Message)
                << message;
        }
    }
    EXPECT_EQ(FileContents(Path()), old);
    EXPECT_EQ(FFolder.Entries(), 1) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Saves, WorkbookFailure,
    testing::Values(
        TFailedSave{"DestroyedBeforeCommit",
                    [](const std::string& path) {
                        TWorkbookWriter writer(path, Restrictions);
                        writer.AddRow({std::int64_t(1)});
                    },
                    nullptr},
        TFailedSave{"NotFiniteNumber",
                    [](const std::string& path) {
                        TWorkbookWriter writer(path, Restrictions);
                        writer.AddRow({std::int64_t(1), std::string("a"), 0.5});
                        writer.AddRow({std::int64_t(2), std::string("b"), 0.5,
                                       std::numeric_limits<double>::infinity()});
                        writer.Commit();
                    },
                    "row 3: column 4: a number must be finite"},
        TFailedSave{"MoreCellsThanColumns",
                    [](const std::string& path) {
                        TWorkbookWriter writer(path, {"Lote", {{"a", ""}}, 0});
                        writer.AddRow({1.0, 2.0});
                    },
                    "row 2: 2 cells for 1 columns"},
        TFailedSave{"NotUtf8Text",
                    [](const std::string& path) {
                        TWorkbookWriter writer(path, {"Lote", {{"a", ""}, {"b", ""}}, 0});
                        writer.AddRow({std::string("Fósforo"), std::string("F\xF3sforo")});
                    },
                    "row 2: column 2: the text is not UTF-8"},
        TFailedSave{"NotUtf8Title",
                    [](const std::string& path) {
                        TWorkbookWriter(path, {"Lote", {{"M\xEDnimo", ""}}, 0});
                    },
                    "the title of column 1 is not UTF-8 text"},
        TFailedSave{"TooLongText",
                    [](const std::string& path) {
                        TWorkbookWriter writer(path, {"Lote", {{"a", ""}}, 0});
                        writer.AddRow({std::string(32768, 'x')});
                    },
                    "row 2: column 1: a text may have at most 32767 characters"},
        TFailedSave{"BadSheetName",
                    [](const std::string& path) {
                        TWorkbookWriter(path, {"a[1]", {}, 0});
                    },
                    "Worksheet name cannot contain invalid characters: '[ ] : * ? / \\'"}),
    [](const testing::TestParamInfo<TFailedSave>& info) { return info.param.Label; });

TEST_F(Workbook, ATargetThatIsAFolderStaysAndNothingIsLeft) {
    fs::create_directories(fs::path(Path()) / "inside");
    TWorkbookWriter writer(Path(), Restrictions);
    EXPECT_THROW(writer.Commit(), EWorkbookError);
    EXPECT_TRUE(fs::is_directory(fs::path(Path()) / "inside"));
    EXPECT_EQ(FFolder.Entries(), 1);
}

TEST_F(Workbook, ACommittedWriterTakesNoMore) {
    TWorkbookWriter writer(Path(), Restrictions);
    writer.AddRow({std::int64_t(1)});
    writer.Commit();
    const std::string saved = FileContents(Path());
    const std::function<void()> more[] = {[&] { writer.AddRow({std::int64_t(2)}); },
                                          [&] { writer.Commit(); }};
    for (const auto& call : more) {
        try {
            call();
            ADD_FAILURE() << "the writer is closed";
        } catch (const EWorkbookError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot save the workbook as " + Path() + ": the workbook is already closed");
        }
    }
    EXPECT_EQ(FileContents(Path()), saved);
    EXPECT_EQ(FFolder.Entries(), 1);
}

TEST_F(Workbook, AMissingFolderIsNamedAndNotMade) {
    const std::string path = FFolder.Path() + "/missing/Lote.xlsx";
    try {
        TWorkbookWriter writer(path, Restrictions);
        FAIL() << "the folder does not exist";
    } catch (const EWorkbookError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot save the workbook as " + path +
                                                 ": cannot create a file in " + FFolder.Path() +
                                                 "/missing: No such file or directory");
    }
    EXPECT_EQ(FFolder.Entries(), 0);
}

// As a desktop user, whom permission bits bind: a folder of someone else's, and a file that
// cannot be written when the workbook is closed.
TEST_F(Workbook, WithoutPermissionTheOldFileStays) {
    const std::string old = "the workbook of an earlier save";
    StoreFile(Path(), old);
    chmod(FFolder.Path().c_str(), 0755);
    EXPECT_TRUE(RunUnprivileged([&] {
        try {
            TWorkbookWriter writer(Path(), Restrictions);
        } catch (const EWorkbookError& error) {
            return std::string(error.what()).find(": Permission denied") != std::string::npos;
        }
        return false;
    }));
    EXPECT_EQ(FileContents(Path()), old);
    EXPECT_EQ(FFolder.Entries(), 1);

    ASSERT_EQ(chown(FFolder.Path().c_str(), 65534, 65534), 0);
    EXPECT_TRUE(RunUnprivileged([&] {
        TWorkbookWriter writer(Path(), Restrictions);
        writer.AddRow({std::int64_t(1)});
        for (const auto& entry : fs::directory_iterator(FFolder.Path()))
            if (entry.path() != Path())
                chmod(entry.path().c_str(), 0444);
        try {
            writer.Commit();
        } catch (const EWorkbookError& error) {
            return std::string(error.what()).rfind("Cannot save the workbook as " + Path(), 0) == 0;
        }
        return false;
    }));
    EXPECT_EQ(FileContents(Path()), old);
    EXPECT_EQ(FFolder.Entries(), 1);
}

} // namespace
