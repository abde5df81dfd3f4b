#pragma once

#include <cstddef>
#include <string_view>

// Character-wise helpers for UTF-8 text. A byte that cannot start a character (a stray
// continuation byte) belongs to the character before it, or is a character of its own at the start.

// The number of characters of text.
std::size_t Utf8Length(std::string_view text);

// True when text is well-formed UTF-8: no stray, overlong or surrogate bytes, nothing beyond
// U+10FFFF.
bool Utf8Valid(std::string_view text);

// The first `count` characters of text (all of it when it is shorter); never splits a character.
std::string_view Utf8Left(std::string_view text, std::size_t count);

// True when both texts hold the same characters without regard to letter case, for the letters of
// ASCII and Latin-1 ("SÍ" equals "sí"); every other character must match exactly.
bool Utf8SameText(std::string_view a, std::string_view b);
