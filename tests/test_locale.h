#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A UTF-8 locale of glibc's sources (de_DE: comma as decimal point; ps_AF: a decimal point of
// two bytes) compiled into a temporary folder that LOCPATH points at, so that tests run under a
// notation other than "C" without any locale installed. Name() is empty when it cannot be built.
class TTestLocale {
public:
    explicit TTestLocale(const std::string& source)
        : FFolder(std::filesystem::temp_directory_path() /
                  ("vesk-locale-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(FFolder);
        const std::string name = source + ".UTF-8";
        const std::string command = "localedef -i " + source + " -f UTF-8 '" +
                                    (FFolder / name).string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            ::setenv("LOCPATH", FFolder.c_str(), 1);
            FName = name;
        }
    }
    ~TTestLocale() {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
    TTestLocale(const TTestLocale&) = delete;
    TTestLocale& operator=(const TTestLocale&) = delete;

    const std::string& Name() const { return FName; }

private:
    std::filesystem::path FFolder;
    std::string FName;
};
