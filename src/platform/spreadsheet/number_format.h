#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/regional.h"
#include "platform/spreadsheet/spreadsheet.h"

// Number formats reach the spreadsheet in the notation of the user's regional settings, where
// the decimal separator and the thousands separator are the user's ("0,0000" on a comma
// system). The workbook file always writes format codes with "." and ",".

// The format code of the file for a format in the given notation: outside quoted text,
// "\"-escaped characters and [...] sections, the user's decimal separator becomes "." and the
// user's thousands separator ","; everything else stays. Empty when the spreadsheet refuses the
// format: longer than 255 characters, a control character, an unclosed quote or bracket, a
// trailing "\", "_" or "*", or more than four sections.
std::optional<std::string> FileNumberFormat(std::string_view format, const TRegional& notation);

// The text a cell shows for its value with a file format code (an empty code or "General" is the
// general format, at most 11 characters for a number), written with "." and ",". Dates and times
// are not rendered: such a section shows as long as its code.
std::string ShownText(const TSheetValue& value, std::string_view fileFormat);
