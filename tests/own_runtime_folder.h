#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A runtime folder of this test process alone, named by XDG_RUNTIME_DIR for it and the programs
// it starts, so that the host exchange's names of two test runs never meet. Removed at the end.
// The child that runs a death test keeps its parent's folder, since it ends without removing it.
class TOwnRuntimeFolder {
public:
    TOwnRuntimeFolder() {
        if (!GTEST_FLAG_GET(internal_run_death_test).empty())
            return;
        std::string pattern = testing::TempDir() + "vesk-runtime-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("no runtime folder for the tests");
            std::exit(2);
        }
        FPath = pattern;
        setenv("XDG_RUNTIME_DIR", FPath.c_str(), 1);
    }
    ~TOwnRuntimeFolder() {
        if (FPath.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TOwnRuntimeFolder(const TOwnRuntimeFolder&) = delete;
    TOwnRuntimeFolder& operator=(const TOwnRuntimeFolder&) = delete;

private:
    std::string FPath;
};
