#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TVeskDairy;

// The report's name of a productive state; any state beyond the dry cow reads as the heifer.
std::string StateName(uint8_t tipo);

// The lines of the result report of a calculated model, UTF-8, one string per line, in the
// fixed-width layout the report view and the command line print.
std::vector<std::string> ReportLines(const TVeskDairy& model, char decimalSeparator);
