#include "platform/profile.h"

#include "platform/profile_line.h"

#include <cstdio>

TProfile TProfile::Load(const std::string& path) {
    // A directory or a file that fails while it is read counts as unreadable: an empty profile.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    std::string text;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? TProfile() : Parse(text);
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
