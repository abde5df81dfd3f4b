#include "own_runtime_folder.h"
#include "ui/TVeskApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run in one application object with the default error report, on the offscreen
// platform unless another one is asked for, and in a runtime folder of their own.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    TOwnRuntimeFolder runtime;
    TVeskApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
