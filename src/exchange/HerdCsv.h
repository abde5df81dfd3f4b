#pragma once

#include "exchange/HerdLimits.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The limits table as CSV, one line ending in LF per call: cells joined by separator, texts quoted
// when they hold it, a quote or a line break; intakes with two decimals (halves away from zero)
// and limits with four, exactly as counted, both with the decimal separator.
void AppendHerdCsvTitles(std::string& out, const std::array<std::string, HerdColumns>& titles,
                         char separator);
void AppendHerdCsvRow(std::string& out, const THerdAnimal& animal, char separator,
                      char decimalSeparator);

// Reads every animal of the herd, calculates it (first through the window's inputs unless raw)
// and writes the limits table as CSV a batch of rows at a time through write, which gives false
// when its output takes no more. Each batch is calculated on two threads at once. Gives the count
// of failed rows, or nothing when write failed. Raises EHerdError when the table cannot be read.
std::optional<std::size_t> WriteHerdCsv(THerdReader& reader,
                                        const std::array<std::string, HerdColumns>& titles,
                                        bool raw, char decimalSeparator,
                                        const std::function<bool(const std::string&)>& write);
