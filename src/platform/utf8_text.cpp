#include "platform/utf8_text.h"

#include <cstdint>

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length in bytes of the character that starts at text[pos].
std::size_t CharacterSize(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && IsContinuation(static_cast<unsigned char>(text[end])))
        ++end;
    return end - pos;
}

constexpr uint32_t Malformed = 0xFFFFFFFF;

// The code point of one character's bytes, or Malformed for bytes that are not one well-formed
// character.
uint32_t CodePoint(std::string_view ch) {
    const auto lead = static_cast<unsigned char>(ch[0]);
    if (lead < 0x80)
        return ch.size() == 1 ? lead : Malformed;
    const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || ch.size() != expected)
        return Malformed;
    uint32_t code = lead & (0x7F >> expected);
    for (std::size_t i = 1; i < ch.size(); ++i)
        code = (code << 6) | (static_cast<unsigned char>(ch[i]) & 0x3F);
    const uint32_t least = expected == 3 ? 0x800 : expected == 4 ? 0x10000 : 0x80;
    return code < least || code > 0x10FFFF ? Malformed : code;
}

uint32_t Lower(uint32_t code) {
    const bool asciiUpper = code >= 'A' && code <= 'Z';
    const bool latin1Upper = code >= 0xC0 && code <= 0xDE && code != 0xD7;
    return asciiUpper || latin1Upper ? code + 0x20 : code;
}

} // namespace

std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharacterSize(text, pos))
        ++count;
    return count;
}

bool Utf8Valid(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t size = CharacterSize(text, pos);
        const uint32_t code = CodePoint(text.substr(pos, size));
        if (code == Malformed || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        pos += size;
    }
    return true;
}

std::string_view Utf8Left(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (; pos < text.size() && count > 0; --count)
        pos += CharacterSize(text, pos);
    return text.substr(0, pos);
}

bool Utf8SameText(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t sizeA = CharacterSize(a, i);
        const std::size_t sizeB = CharacterSize(b, j);
        const std::string_view chA = a.substr(i, sizeA);
        const std::string_view chB = b.substr(j, sizeB);
        const uint32_t codeA = CodePoint(chA);
        const uint32_t codeB = CodePoint(chB);
        const bool same =
            codeA == Malformed || codeB == Malformed ? chA == chB : Lower(codeA) == Lower(codeB);
        if (!same)
            return false;
        i += sizeA;
        j += sizeB;
    }
    return i == a.size() && j == b.size();
}
