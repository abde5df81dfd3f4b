#include "own_runtime_folder.h"
#include "ui/TVeskApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Widget tests run in one application object with the default error report, on the offscreen
// platform unless another one is asked for, in a runtime folder of their own. Each test program
// has a home of its own, so that the windows keep their models in its documents folder (no folder
// "Modelos" can stand beside the test programs) and nothing reaches the user's own home.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    TOwnRuntimeFolder runtime;
    std::string home = testing::TempDir() + "vesk_home_XXXXXX";
    if (!mkdtemp(home.data()))
        return 1;
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    int result = 0;
    {
        TVeskApplication application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
