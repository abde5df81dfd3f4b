#include "platform/profile.h"

#include "platform/profile_line.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Only a regular file has lines to read: a folder, a pipe or a device (which may never end)
// counts as unreadable. The pipe is opened without waiting for a writer.
TProfile TProfile::Load(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st;
    std::string text;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        text.append(buffer, std::size_t(count));
    }
    close(fd);
    return ok ? Parse(text) : TProfile();
}

TProfile TProfile::Parse(std::string_view text) {
    TProfile profile;
    for (const TProfileLine& line : SplitProfileLines(text))
        profile.FLines.emplace_back(line.Text);
    return profile;
}

std::optional<std::string> TProfile::Read(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : FLines) {
        TProfileEntry entry = ClassifyProfileLine(line);
        if (entry.Kind == TProfileEntry::Header) {
            // Only the first section of that name counts: the next header ends the search.
            if (inSection)
                break;
            inSection = SameProfileName(entry.Name, section);
        } else if (inSection && entry.Kind == TProfileEntry::Pair &&
                   SameProfileName(entry.Name, key)) {
            std::string_view value = entry.Value;
            if (value.size() >= 2 && value.front() == value.back() &&
                (value.front() == '"' || value.front() == '\''))
                value = value.substr(1, value.size() - 2);
            return std::string(value);
        }
    }
    return std::nullopt;
}
