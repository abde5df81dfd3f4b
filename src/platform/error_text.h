#pragma once

#include <string>
#include <string_view>

// The text of the default error report: the failure's message, with a full stop added when its
// last character sorts after "." (a letter or a digit, for instance).
std::string ErrorReportText(std::string_view message);
