#include "exchange/ModelDir.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

// access() asks the kernel as it will answer the saves: it counts the user's rights and a
// read-only medium, which refuses even root. A program folder that is not known has no portable
// folder: a relative "Modelos" would land wherever the program was started.
std::string ChooseModelDir(const std::string& programDir, const std::string& documentsDir) {
    if (!programDir.empty()) {
        const fs::path portable = fs::path(programDir) / "Modelos";
        std::error_code error;
        fs::create_directory(portable, error);
        if (fs::is_directory(portable, error) && access(portable.c_str(), W_OK | X_OK) == 0)
            return portable.string();
    }
    return (fs::path(documentsDir) / "Vesk" / "Modelos").string();
}
