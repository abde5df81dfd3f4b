#include "platform/program_file.h"

#include <filesystem>
#include <system_error>

std::string ProgramFile() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string ProgramDir() {
    const std::string file = ProgramFile();
    return file.substr(0, file.rfind('/') + 1);
}
