#include "platform/spreadsheet/memory_sheet_application.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "temp_folder.h"
#include "xlsx_readback.h"

namespace {

namespace fs = std::filesystem;

// Runs each test with its own temporary directory and an opener that records its calls.
class MemorySheetApplication : public testing::Test {
protected:
    void SetUp() override {
        const char* previous = std::getenv("TMPDIR");
        FPreviousTemp = previous ? previous : "";
        setenv("TMPDIR", FTemp.c_str(), 1);
    }
    void TearDown() override {
        if (FPreviousTemp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", FPreviousTemp.c_str(), 1);
    }

    TSheetOpener Opener() {
        return [this](const std::string& path) {
            FOpened.push_back(path);
            return FOpenerWorks;
        };
    }

    TTempFolder FFolder{"sheet_application"};
    const fs::path FTemp = FFolder.Path();
    std::string FPreviousTemp;
    std::vector<std::string> FOpened;
    bool FOpenerWorks = true;
    TMemorySheetApplication FApplication{Opener(), TRegional{',', "."}};
};

TEST_F(MemorySheetApplication, AddsWorkbooksFromTheSingleWorksheetTemplateOnly) {
    auto book = FApplication.WorkbooksAdd(xlWBATWorksheet);
    ASSERT_EQ(FApplication.Workbooks().size(), 1u);
    EXPECT_EQ(FApplication.Workbooks()[0]->Name(), "Book1");
    ASSERT_EQ(FApplication.Workbooks()[0]->Worksheets().size(), 1u);
    auto sheet = book->WorksheetsItem(1);
    EXPECT_EQ(sheet, FApplication.Workbooks()[0]->Worksheets()[0]);
    EXPECT_EQ(FApplication.Workbooks()[0]->Worksheets()[0]->Name(), "Sheet1");
    for (const int index : {0, 2, -1})
        EXPECT_THROW(book->WorksheetsItem(index), ESheetError) << index;

    try {
        FApplication.WorkbooksAdd(-4109);
        FAIL() << "the chart template is not available";
    } catch (const ESheetError& error) {
        EXPECT_STREQ(error.what(), "Workbooks.Add: the template -4109 is not available; only the "
                                   "single-worksheet template (-4167) is");
    }
    EXPECT_THROW(FApplication.WorkbooksAdd(0), ESheetError);
    EXPECT_EQ(FApplication.Workbooks().size(), 1u);
    FApplication.WorkbooksAdd(xlWBATWorksheet);
    EXPECT_EQ(FApplication.Workbooks()[1]->Name(), "Book2");
}

TEST_F(MemorySheetApplication, ScreenUpdatingAndHidingSaveNothing) {
    FApplication.WorkbooksAdd(xlWBATWorksheet);
    EXPECT_TRUE(FApplication.ScreenUpdating());
    FApplication.SetScreenUpdating(false);
    EXPECT_FALSE(FApplication.ScreenUpdating());
    FApplication.SetVisible(false);
    EXPECT_FALSE(FApplication.Visible());
    EXPECT_TRUE(FOpened.empty());
    EXPECT_TRUE(fs::is_empty(FTemp));
    EXPECT_EQ(FApplication.FileOf(*FApplication.Workbooks()[0]), "");
}

TEST_F(MemorySheetApplication, ShowingSavesEachTimeOverTheSameFileAndOpensIt) {
    auto sheet = FApplication.WorkbooksAdd(xlWBATWorksheet)->WorksheetsItem(1);
    sheet->SetName("SolucionVesk");
    sheet->Range("D2", "D2")->SetValue2(0.0025);
    FApplication.SetVisible(true);
    EXPECT_TRUE(FApplication.Visible());

    const std::string file = FApplication.FileOf(*FApplication.Workbooks()[0]);
    EXPECT_EQ(fs::path(file).filename(), "Book1.xlsx");
    EXPECT_EQ(fs::path(file).parent_path().parent_path(), FTemp) << "a folder of its own";
    EXPECT_EQ(fs::path(file).parent_path().filename().string().rfind("vesk-", 0), 0u);
    EXPECT_EQ(FOpened, std::vector<std::string>{file});
    TReadSheet read = ReadXlsx(file);
    EXPECT_EQ(read.Name, "SolucionVesk");
    EXPECT_EQ(read.Cells.at("D2").Value, "0.0025");

    sheet->Range("D2", "D2")->SetValue2(0.5);
    FApplication.SetVisible(true);
    EXPECT_EQ(FOpened, (std::vector<std::string>{file, file}));
    EXPECT_EQ(ReadXlsx(file).Cells.at("D2").Value, "0.5");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(file).parent_path()),
                            fs::directory_iterator()),
              1)
        << "no temporary file is left beside the workbook";
}

TEST_F(MemorySheetApplication, AnOpenerFailureKeepsTheFileAndTheNextShowTriesAgain) {
    FApplication.WorkbooksAdd(xlWBATWorksheet)
        ->WorksheetsItem(1)
        ->Range("A1", "A1")
        ->SetValue2(std::int64_t(1));
    FOpenerWorks = false;
    std::string file;
    try {
        FApplication.SetVisible(true);
        FAIL() << "nothing can open the file";
    } catch (const ESheetError& error) {
        file = FApplication.FileOf(*FApplication.Workbooks()[0]);
        EXPECT_EQ(error.what(), "The workbook was saved as " + file +
                                    " but cannot be shown: no spreadsheet application is "
                                    "available to open it");
    }
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(ReadXlsx(file).Cells.at("A1").Value, "1");

    FOpenerWorks = true;
    FApplication.SetVisible(true);
    EXPECT_EQ(FOpened, (std::vector<std::string>{file, file}));
}

TEST_F(MemorySheetApplication, WithoutAnOpenerTheFileCannotBeShown) {
    TMemorySheetApplication application(TSheetOpener(), TRegional{});
    application.WorkbooksAdd(xlWBATWorksheet);
    EXPECT_THROW(application.SetVisible(true), ESheetError);
    EXPECT_TRUE(fs::is_regular_file(application.FileOf(*application.Workbooks()[0])));
}

TEST_F(MemorySheetApplication, AFailedSaveOpensNothing) {
    FApplication.WorkbooksAdd(xlWBATWorksheet);
    FApplication.SetVisible(true);
    const std::string file = FApplication.FileOf(*FApplication.Workbooks()[0]);
    fs::remove(file);
    fs::create_directories(fs::path(file) / "blocked");
    EXPECT_THROW(FApplication.SetVisible(true), ESheetError);
    EXPECT_EQ(FOpened.size(), 1u);
}

TEST_F(MemorySheetApplication, ConnectFindsTheRunningApplicationOrStartsOne) {
    auto first = ConnectSheetApplication(Opener(), TRegional{});
    auto again = ConnectSheetApplication(TSheetOpener(), TRegional{});
    EXPECT_EQ(first, again);
    auto book = first->WorkbooksAdd(xlWBATWorksheet);
    first->SetVisible(true);
    EXPECT_EQ(FOpened.size(), 1u) << "the running application keeps its own opener";

    const std::weak_ptr<ISheetApplication> old = first;
    first.reset();
    again.reset();
    book.reset();
    EXPECT_TRUE(old.expired());
    auto started = ConnectSheetApplication(Opener(), TRegional{});
    EXPECT_TRUE(dynamic_cast<TMemorySheetApplication&>(*started).Workbooks().empty());
}

} // namespace
