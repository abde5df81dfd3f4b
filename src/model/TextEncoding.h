#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text read from a file that may come from the original platform: bytes that form valid UTF-8
// are kept as they are, anything else is read as Windows-1252 and converted to UTF-8.
std::string TextToUtf8(std::string_view bytes);
