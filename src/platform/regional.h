#pragma once

#include <string>

// The number notation of the user's regional settings.
struct TRegional {
    char DecimalSeparator = '.';
    std::string ThousandSeparator = ",";
};

// The settings read once, on first use, from the user's locale (setlocale(LC_ALL, ""),
// localeconv). A multi-byte decimal point falls back to '.'.
const TRegional& Regional();
// Replaces the settings for the rest of the run (command-line override, tests).
void SetRegional(const TRegional& regional);
