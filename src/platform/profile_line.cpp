#include "platform/profile_line.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

std::vector<TProfileLine> SplitProfileLines(std::string_view text) {
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    if (text.starts_with(Bom))
        text.remove_prefix(Bom.size());
    std::vector<TProfileLine> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(start), text.substr(text.size())});
            break;
        }
        size_t endingSize =
            text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(start, end - start), text.substr(end, endingSize)});
        start = end + endingSize;
    }
    return lines;
}

TProfileEntry ClassifyProfileLine(std::string_view line) {
    std::string_view s = Trim(line);
    if (s.empty() || s.front() == ';')
        return {};
    if (s.front() == '[') {
        size_t close = s.find(']');
        if (close == std::string_view::npos)
            return {};
        return {TProfileEntry::Header, Trim(s.substr(1, close - 1)), {}};
    }
    size_t equals = s.find('=');
    if (equals == std::string_view::npos)
        return {};
    std::string_view key = Trim(s.substr(0, equals));
    if (key.empty())
        return {};
    return {TProfileEntry::Pair, key, Trim(s.substr(equals + 1))};
}

bool SameProfileName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}
