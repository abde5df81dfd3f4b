#include "platform/runtime_folder.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Where the runtime folder is looked for: named by XDG_RUNTIME_DIR, or found in the temporary
// folder when that is unset.
enum class TSource { Xdg, Temporary };

// What stands where the folder is looked for.
enum class TEntry { Missing, File, Folder };

struct TFolderCase {
    const char* Label;
    TSource Source;
    TEntry Entry;
    mode_t Mode;
    bool OtherOwner;
    int Error; // 0 when the folder is taken
};

void PrintTo(const TFolderCase& c, std::ostream* os) {
    *os << c.Label;
}

// The variables as they were, back after each case.
class RuntimeFolderCases : public testing::TestWithParam<TFolderCase> {
protected:
    ~RuntimeFolderCases() override {
        Restore("XDG_RUNTIME_DIR", FXdg);
        Restore("TMPDIR", FTemporary);
    }
    static std::optional<std::string> Setting(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }

    std::optional<std::string> FXdg = Setting("XDG_RUNTIME_DIR");
    std::optional<std::string> FTemporary = Setting("TMPDIR");
    TTempFolder FFolder{"runtime_folder"};
};

std::string UserName() {
    const passwd* entry = getpwuid(geteuid());
    return entry ? entry->pw_name : std::to_string(geteuid());
}

TEST_P(RuntimeFolderCases, IsTakenOnlyWhenItIsTheUsersAlone) {
    const TFolderCase& c = GetParam();
    if (c.OtherOwner && geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    std::string folder;
    if (c.Source == TSource::Xdg) {
        folder = FFolder.Path() + "/run";
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    } else {
        folder = FFolder.Path() + "/runtime-" + UserName();
        unsetenv("XDG_RUNTIME_DIR");
        setenv("TMPDIR", FFolder.Path().c_str(), 1);
    }
    if (c.Entry == TEntry::File)
        StoreFile(folder, "");
    if (c.Entry == TEntry::Folder) {
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(chmod(folder.c_str(), c.Mode), 0);
    }
    if (c.OtherOwner) {
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    }

    int error = 0;
    try {
        EXPECT_EQ(RuntimeFolder(), folder);
    } catch (const std::system_error& refused) {
        error = refused.code().value();
    }
    EXPECT_EQ(error, c.Error);
    struct stat status;
    if (c.Error == 0) {
        ASSERT_EQ(stat(folder.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0700u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuntimeFolderCases,
    testing::Values(
        TFolderCase{"XdgFolderOfTheUser", TSource::Xdg, TEntry::Folder, 0700, false, 0},
        TFolderCase{"XdgFolderMissing", TSource::Xdg, TEntry::Missing, 0, false, ENOENT},
        TFolderCase{"XdgFileInPlaceOfTheFolder", TSource::Xdg, TEntry::File, 0, false, ENOTDIR},
        TFolderCase{"XdgFolderOpenToOthers", TSource::Xdg, TEntry::Folder, 0755, false, EACCES},
        TFolderCase{"XdgFolderOpenToTheGroup", TSource::Xdg, TEntry::Folder, 0770, false, EACCES},
        TFolderCase{"XdgFolderOfAnotherUser", TSource::Xdg, TEntry::Folder, 0700, true, EPERM},
        TFolderCase{"TemporaryFolderIsCreated", TSource::Temporary, TEntry::Missing, 0, false, 0},
        TFolderCase{"TemporaryFolderOfTheUser", TSource::Temporary, TEntry::Folder, 0700, false, 0},
        TFolderCase{"TemporaryFolderOpenToOthers", TSource::Temporary, TEntry::Folder, 0777, false,
                    EACCES},
        TFolderCase{"TemporaryFolderOfAnotherUser", TSource::Temporary, TEntry::Folder, 0700, true,
                    EPERM}),
    [](const testing::TestParamInfo<TFolderCase>& info) { return info.param.Label; });

} // namespace
