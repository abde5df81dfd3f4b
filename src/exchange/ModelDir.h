#pragma once

#include <string>

// The folder of model files: "Modelos" in programDir when the user may write into it or can
// create it there (one level, as a portable program folder holds it), otherwise "Vesk/Modelos" in
// the user's documentsDir, which is left for the caller to create.
std::string ChooseModelDir(const std::string& programDir, const std::string& documentsDir);
