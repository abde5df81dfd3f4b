#include "platform/runtime_folder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void Refuse(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

// The user's login name, or the number of a user without an entry.
std::string UserName(uid_t user) {
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->pw_name;
    return std::to_string(user);
}

std::string Setting(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : value;
}

} // namespace

std::string RuntimeFolder() {
    const uid_t user = geteuid();
    std::string folder = Setting("XDG_RUNTIME_DIR");
    if (folder.empty()) {
        const std::string temporary = Setting("TMPDIR");
        folder = (temporary.empty() ? "/tmp" : temporary) + "/runtime-" + UserName(user);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            Refuse(errno, folder);
    }
    struct stat status;
    if (stat(folder.c_str(), &status) != 0)
        Refuse(errno, folder);
    if (!S_ISDIR(status.st_mode))
        Refuse(ENOTDIR, folder);
    if (status.st_uid != user)
        Refuse(EPERM, folder + " belongs to another user");
    if ((status.st_mode & 077) != 0)
        Refuse(EACCES, folder + " is open to other users");
    return folder;
}
