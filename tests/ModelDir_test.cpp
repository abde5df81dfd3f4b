#include "exchange/ModelDir.h"

#include "run_unprivileged.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// What stands beside the program before the choice.
enum class TPortable { Folder, Missing, ReadOnlyFolder, File };

struct TChoiceCase {
    const char* Name;
    TPortable Portable;
    // The program folder's own mode: a read-only one takes no new folder.
    fs::perms ProgramMode;
    bool ChoosesPortable;
};

const fs::perms Open = fs::perms::all;
const fs::perms ReadOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;

class ModelDirChoice : public testing::TestWithParam<TChoiceCase> {
protected:
    // The tests' user without privileges must reach the folders.
    void SetUp() override { fs::permissions(FFolder.Path(), ReadOnly); }

    TTempFolder FFolder{"model_dir"};
    std::string FProgram = FFolder.Path() + "/programa/";
    std::string FDocuments = FFolder.Path() + "/Documentos";
};

// Chosen as a user without privileges, since root writes into any folder.
TEST_P(ModelDirChoice, TakesTheProgramFolderOnlyWhereTheUserMayWrite) {
    const TChoiceCase& c = GetParam();
    fs::create_directory(FProgram);
    const std::string portable = FProgram + "Modelos";
    if (c.Portable == TPortable::Folder || c.Portable == TPortable::ReadOnlyFolder) {
        fs::create_directory(portable);
        fs::permissions(portable, c.Portable == TPortable::Folder ? Open : ReadOnly);
    }
    if (c.Portable == TPortable::File)
        StoreFile(portable, "");
    fs::permissions(FProgram, c.ProgramMode);

    const std::string expected = c.ChoosesPortable ? portable : FDocuments + "/Vesk/Modelos";
    EXPECT_TRUE(RunUnprivileged([&] { return ChooseModelDir(FProgram, FDocuments) == expected; }));
    EXPECT_EQ(fs::exists(portable), c.Portable != TPortable::Missing || c.ChoosesPortable);
    // The documents folder is the caller's to create.
    EXPECT_FALSE(fs::exists(FDocuments));
    fs::permissions(FProgram, Open);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelDirChoice,
    testing::Values(TChoiceCase{"WritableFolder", TPortable::Folder, ReadOnly, true},
                    TChoiceCase{"CreatedInAWritableProgramFolder", TPortable::Missing, Open, true},
                    TChoiceCase{"NoneInAReadOnlyProgramFolder", TPortable::Missing, ReadOnly,
                                false},
                    TChoiceCase{"ReadOnlyFolder", TPortable::ReadOnlyFolder, Open, false},
                    TChoiceCase{"FileInItsPlace", TPortable::File, Open, false}),
    [](const testing::TestParamInfo<TChoiceCase>& info) { return info.param.Name; });

TEST(ModelDir, UnknownProgramFolderGivesTheDocuments) {
    EXPECT_EQ(ChooseModelDir("", "/home/ana/Documentos"), "/home/ana/Documentos/Vesk/Modelos");
}

} // namespace
