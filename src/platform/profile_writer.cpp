#include "platform/profile.h"

#include "platform/profile_line.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool HasSurroundingBlank(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return blank(s.front()) || blank(s.back());
}

// Names and values that would not read back as written (or would break the line structure)
// are refused.
bool WritableEntry(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || key.empty() || HasSurroundingBlank(section) || HasSurroundingBlank(key))
        return false;
    if (section.find_first_of("]\r\n") != std::string_view::npos ||
        key.find_first_of("=\r\n") != std::string_view::npos || key.front() == ';' ||
        key.front() == '[')
        return false;
    return value.find_first_of("\r\n") == std::string_view::npos;
}

bool ReadAll(int fd, std::string& text) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        text.append(buffer, size_t(n));
    }
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(size_t(n));
    }
    return true;
}

// The existing file's bytes and mode; false when it exists but cannot be rewritten. A file
// without any write permission bit counts as read-only also for a privileged user, as a
// read-only file does on the desktop.
bool ReadExisting(const std::string& path, bool& exists, std::string& text, mode_t& mode) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        exists = false;
        return errno == ENOENT;
    }
    exists = true;
    mode = st.st_mode & 07777;
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0)
        return false;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ReadAll(fd, text);
    close(fd);
    return ok;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The text with key=value put in place by the platform's rules.
std::string UpdatedText(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::vector<TProfileLine> lines = SplitProfileLines(text);
    std::string_view eol = "\r\n";
    for (const TProfileLine& line : lines)
        if (!line.Ending.empty()) {
            eol = line.Ending;
            break;
        }
    auto offset = [&](std::string_view part) { return size_t(part.data() - text.data()); };

    size_t i = 0;
    while (i < lines.size()) {
        TProfileEntry entry = ClassifyProfileLine(lines[i].Text);
        if (entry.Kind == TProfileEntry::Header && SameProfileName(entry.Name, section))
            break;
        ++i;
    }
    if (i == lines.size()) {
        std::string out(text);
        if (!lines.empty() && lines.back().Ending.empty())
            out += eol;
        return out.append("[")
            .append(section)
            .append("]")
            .append(eol)
            .append(key)
            .append("=")
            .append(value)
            .append(eol);
    }

    size_t last = i;
    for (size_t j = i + 1; j < lines.size(); ++j) {
        TProfileEntry entry = ClassifyProfileLine(lines[j].Text);
        if (entry.Kind == TProfileEntry::Header)
            break;
        if (entry.Kind == TProfileEntry::Pair && SameProfileName(entry.Name, key)) {
            // The key keeps its spelling in the file; the line keeps its ending.
            std::string out(text.substr(0, offset(lines[j].Text)));
            out.append(entry.Name).append("=").append(value);
            return out.append(text.substr(offset(lines[j].Ending)));
        }
        if (lines[j].Text.find_first_not_of(" \t") != std::string_view::npos)
            last = j;
    }
    const TProfileLine& after = lines[last];
    std::string out(text.substr(0, offset(after.Ending) + after.Ending.size()));
    if (after.Ending.empty())
        out += eol;
    out.append(key).append("=").append(value).append(eol);
    return out.append(text.substr(offset(after.Ending) + after.Ending.size()));
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes text into a new hidden file beside path and renames it over path; nothing is left
// behind on failure. A process killed before the rename leaves only the hidden file.
bool ReplaceFile(const std::string& path, std::string_view text, mode_t mode) {
    std::string folder = FolderOf(path);
    std::string temp = folder + "/.profile-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    // The rename is done; syncing the folder only makes it durable sooner.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

} // namespace

// A path with a zero character names no file: the system would cut it there and write another.
bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const TProfileWrite> writes) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    for (const TProfileWrite& write : writes)
        if (!WritableEntry(section, write.Key, write.Value))
            return false;
    bool exists = false;
    std::string text;
    mode_t mode = 0;
    if (!ReadExisting(path, exists, text, mode))
        return false;
    for (const TProfileWrite& write : writes)
        text = UpdatedText(text, section, write.Key, write.Value);
    return ReplaceFile(path, text, exists ? mode : NewFileMode());
}
