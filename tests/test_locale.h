#pragma once

#include "temp_folder.h"

#include <cstdlib>
#include <string>

// A UTF-8 locale of glibc's sources (de_DE: comma as decimal point; ps_AF: a decimal point of
// two bytes) compiled into a temporary folder that LOCPATH points at, so that tests run under a
// notation other than "C" without any locale installed. Name() is empty when it cannot be built.
class TTestLocale {
public:
    explicit TTestLocale(const std::string& source) : FFolder("locale") {
        const std::string name = source + ".UTF-8";
        const std::string command = "localedef -i " + source + " -f UTF-8 '" + FFolder.Path() +
                                    "/" + name + "' >/dev/null 2>&1";
        if (!FFolder.Path().empty() && std::system(command.c_str()) == 0) {
            ::setenv("LOCPATH", FFolder.Path().c_str(), 1);
            FName = name;
        }
    }

    const std::string& Name() const { return FName; }

private:
    TTempFolder FFolder;
    std::string FName;
};
