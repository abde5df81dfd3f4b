#pragma once

#include <string>

// The full path of the running program file (from /proc/self/exe); empty when it cannot be read.
std::string ProgramFile();
// The directory of the running program, ending in "/".
std::string ProgramDir();
