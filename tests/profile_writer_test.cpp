#include "platform/profile.h"

#include "run_unprivileged.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One key written on its own.
bool WriteOne(const std::string& path, std::string_view section, std::string_view key,
              std::string_view value) {
    const TProfileWrite write[] = {{key, std::string(value)}};
    return WriteProfileStrings(path, section, write);
}

class ProfileWriter : public testing::Test {
protected:
    void SetUp() override { fs::permissions(FFolder.Path(), fs::perms::all); }

    void Store(const std::string& text) { StoreFile(FPath, text); }
    std::string Contents() const { return FileContents(FPath); }
    size_t FilesInFolder() const { return size_t(FFolder.Entries()); }

    TTempFolder FFolder{"profile_writer"};
    std::string FPath = FFolder.Path() + "/modelo.VM2";
};

struct TWriteCase {
    const char* Name;
    const char* Before; // nullptr: no file
    const char* Section;
    std::vector<TProfileWrite> Writes; // in one write
    const char* After;
};

void PrintTo(const TWriteCase& c, std::ostream* os) {
    *os << c.Name;
}

class ProfileWriterCases : public ProfileWriter, public testing::WithParamInterface<TWriteCase> {};

TEST_P(ProfileWriterCases, PutsTheKeyInPlace) {
    const TWriteCase& c = GetParam();
    if (c.Before)
        Store(c.Before);
    ASSERT_TRUE(WriteProfileStrings(FPath, c.Section, c.Writes));
    EXPECT_EQ(Contents(), c.After);
    EXPECT_EQ(FilesInFolder(), 1u);
}

const TWriteCase WriteCases[] = {
    {"NewFile", nullptr, "Data", {{"Tipo", "0"}}, "[Data]\r\nTipo=0\r\n"},
    {"EmptyFile", "", "Data", {{"Tipo", "0"}}, "[Data]\r\nTipo=0\r\n"},
    {"HandEditedReplace",
     "; vaca\n[Otra]\nTipo=9\n[Data]\nPeso=1\n  Tipo = 5 \n;Fin\n[x]\n",
     "Data",
     {{"Tipo", "2"}},
     "; vaca\n[Otra]\nTipo=9\n[Data]\nPeso=1\nTipo=2\n;Fin\n[x]\n"},
    {"ReplaceKeepsKeySpelling",
     "[data]\r\nTIPO=1\r\n",
     "Data",
     {{"Tipo", "2"}},
     "[data]\r\nTIPO=2\r\n"},
    {"ReplaceFirstOfTwo",
     "[Data]\nTipo=1\nTipo=3\n",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\nTipo=2\nTipo=3\n"},
    {"ReplaceKeepsLineEnding",
     "[Data]\r\nTipo=1\nPeso=2\r\n",
     "Data",
     {{"Tipo", "0"}},
     "[Data]\r\nTipo=0\nPeso=2\r\n"},
    {"ReplaceLastLineWithoutNewline",
     "[Data]\r\nTipo=1",
     "Data",
     {{"Tipo", "20"}},
     "[Data]\r\nTipo=20"},
    {"ReplaceWithEmptyValue", "[Data]\nTipo=1\n", "Data", {{"Tipo", ""}}, "[Data]\nTipo=\n"},
    {"NewKeyAfterLastLineOfSection",
     "[Data]\nPeso=1\n\n  \n[Otra]\n",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\nPeso=1\nTipo=2\n\n  \n[Otra]\n"},
    {"NewKeyInEmptySection",
     "[Data]\r\n\r\n[Otra]\r\n",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\r\nTipo=2\r\n\r\n[Otra]\r\n"},
    {"NewKeyWithoutFinalNewline",
     "[Data]\nPeso=1",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\nPeso=1\nTipo=2\n"},
    {"NewKeyNotTakenFromComment",
     "[Data]\n;Tipo=1\n",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\n;Tipo=1\nTipo=2\n"},
    {"NewKeyInFirstOfDuplicateSections",
     "[Data]\nPeso=1\n[Data]\nTipo=1\n",
     "Data",
     {{"Tipo", "2"}},
     "[Data]\nPeso=1\nTipo=2\n[Data]\nTipo=1\n"},
    {"NewSection",
     "[Otra]\r\nx=1\r\n",
     "Data",
     {{"Tipo", "2"}},
     "[Otra]\r\nx=1\r\n[Data]\r\nTipo=2\r\n"},
    {"NewSectionWithoutFinalNewline",
     "[Otra]\nx=1",
     "Data",
     {{"Tipo", "2"}},
     "[Otra]\nx=1\n[Data]\nTipo=2\n"},
    {"NewSectionKeyBeforeAnySectionUntouched",
     "Tipo=1\n",
     "Data",
     {{"Tipo", "2"}},
     "Tipo=1\n[Data]\nTipo=2\n"},
    {"LoneCrEndings", "[Data]\rPeso=1\r", "Data", {{"Tipo", "2"}}, "[Data]\rPeso=1\rTipo=2\r"},
    {"BomKept",
     "\xEF\xBB\xBF[Data]\r\nTipo=1\r\n",
     "Data",
     {{"Tipo", "2"}},
     "\xEF\xBB\xBF[Data]\r\nTipo=2\r\n"},
    {"SeveralKeysInANewFile",
     nullptr,
     "Data",
     {{"Tipo", "0"}, {"Peso", "450"}},
     "[Data]\r\nTipo=0\r\nPeso=450\r\n"},
    {"SeveralKeysReplaceOrAddInTheirOrder",
     "[Data]\nPeso=1\nx=9\n\n[Otra]\nTipo=7\n",
     "Data",
     {{"Tipo", "2"}, {"Peso", "3"}, {"DIM", "4"}},
     "[Data]\nPeso=3\nx=9\nTipo=2\nDIM=4\n\n[Otra]\nTipo=7\n"},
    {"SeveralKeysIntoAMissingSection",
     "[Otra]\r\nx=1",
     "Data",
     {{"Tipo", "2"}, {"Peso", "3"}},
     "[Otra]\r\nx=1\r\n[Data]\r\nTipo=2\r\nPeso=3\r\n"},
    {"TheSameKeyTwiceKeepsTheLastValue",
     nullptr,
     "Data",
     {{"Tipo", "1"}, {"tipo", "2"}},
     "[Data]\r\nTipo=2\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWriterCases, testing::ValuesIn(WriteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ProfileWriter, ReadsBackWhatItWrote) {
    ASSERT_TRUE(WriteOne(FPath, "Data", "Tipo", "1"));
    ASSERT_TRUE(WriteOne(FPath, "Data", "Peso", "450"));
    ASSERT_TRUE(WriteOne(FPath, "Data", "tipo", "2"));
    TProfile profile = TProfile::Load(FPath);
    EXPECT_EQ(profile.Read("Data", "Tipo"), "2");
    EXPECT_EQ(profile.Read("Data", "Peso"), "450");
    EXPECT_EQ(Contents(), "[Data]\r\nTipo=2\r\nPeso=450\r\n");
}

TEST_F(ProfileWriter, RefusesEntriesThatWouldNotReadBack) {
    const char* cases[][3] = {
        {"", "Tipo", "1"},      {"Data", "", "1"},      {"Da]ta", "Tipo", "1"},
        {"Data", "Ti=po", "1"}, {"Data", ";Tipo", "1"}, {"Data", "Tipo", "1\r\n[x]"},
        {" Data", "Tipo", "1"}, {"Data", "Tipo ", "1"}, {"Data\n", "Tipo", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(WriteOne(FPath, c[0], c[1], c[2])) << c[0] << "/" << c[1];
        EXPECT_FALSE(fs::exists(FPath));
    }
    // One entry that would not read back stops the others of its write too.
    const TProfileWrite writes[] = {{"Tipo", "1"}, {"Ti=po", "2"}};
    EXPECT_FALSE(WriteProfileStrings(FPath, "Data", writes));
    EXPECT_FALSE(fs::exists(FPath));
}

TEST_F(ProfileWriter, KeepsTheModeOfTheFile) {
    Store("[Data]\r\n");
    fs::permissions(FPath, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteOne(FPath, "Data", "Tipo", "1"));
    EXPECT_EQ(fs::status(FPath).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileWriter, NewFileTakesTheModeOfTheUmask) {
    mode_t old = umask(027);
    bool written = WriteOne(FPath, "Data", "Tipo", "1");
    umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(FPath).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A file without write permission is refused also by root, so this checks the rule itself;
// the unprivileged run checks it where the folder would let a rename replace the file.
TEST_F(ProfileWriter, ReadOnlyFileStaysAsItWas) {
    Store("[Data]\r\nTipo=1\r\n");
    fs::permissions(FPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteOne(FPath, "Data", "Tipo", "2"));
    EXPECT_FALSE(RunUnprivileged([&] { return WriteOne(FPath, "Data", "Tipo", "2"); }));
    EXPECT_EQ(Contents(), "[Data]\r\nTipo=1\r\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

// Root writes into any folder of a writable file system, so the write runs without privileges.
TEST_F(ProfileWriter, ReadOnlyFolderRefusesTheWrite) {
    Store("[Data]\r\nTipo=1\r\n");
    fs::permissions(FPath, fs::perms::all);
    std::string newFile = FFolder.Path() + "/nuevo.VM2";
    fs::permissions(FFolder.Path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    EXPECT_FALSE(RunUnprivileged([&] { return WriteOne(FPath, "Data", "Tipo", "2"); }));
    EXPECT_FALSE(RunUnprivileged([&] { return WriteOne(newFile, "Data", "Tipo", "2"); }));
    EXPECT_EQ(Contents(), "[Data]\r\nTipo=1\r\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(ProfileWriter, UnreadableFileIsNotReplaced) {
    Store("[Data]\r\nTipo=1\r\n");
    fs::permissions(FPath,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    EXPECT_FALSE(RunUnprivileged([&] { return WriteOne(FPath, "Data", "Peso", "2"); }));
    fs::permissions(FPath, fs::perms::owner_all);
    EXPECT_EQ(Contents(), "[Data]\r\nTipo=1\r\n");
}

TEST_F(ProfileWriter, MissingFolderRefusesTheWrite) {
    EXPECT_FALSE(WriteOne(FFolder.Path() + "/falta/modelo.VM2", "Data", "Tipo", "1"));
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(ProfileWriter, FolderInPlaceOfTheFileRefusesTheWrite) {
    fs::create_directory(FPath);
    EXPECT_FALSE(WriteOne(FPath, "Data", "Tipo", "1"));
    EXPECT_TRUE(fs::is_directory(FPath));
}

// A write cut short (here by a file-size limit) leaves the old file whole and no temporary file.
TEST_F(ProfileWriter, FailedWriteLeavesTheOldFileWhole) {
    std::string before = "[Data]\r\nTipo=1\r\n";
    Store(before);
    fs::permissions(FPath, fs::perms::all);
    bool written = RunUnprivileged([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{before.size() + 4, before.size() + 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        return WriteOne(FPath, "Data", "Nombre", "un nombre largo");
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(FilesInFolder(), 1u);
}

} // namespace
