#include "model/TextEncoding.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the five bytes the code page leaves
// unassigned map to the C1 control of the same value, as the platform's converter does.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence starting at bytes[i], or 0 when it is not a valid one
// (overlong forms, surrogates and code points beyond U+10FFFF are invalid).
std::size_t SequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
    const unsigned char lead = at(0);
    std::size_t length;
    char32_t minimum;
    char32_t code;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(at(k)))
            return 0;
        code = (code << 6) | (at(k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& text, char32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string TextToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(text, byte >= 0x80 && byte <= 0x9F ? Cp1252High[byte - 0x80] : byte);
    }
    return text;
}
