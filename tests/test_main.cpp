#include "own_runtime_folder.h"

#include <gtest/gtest.h>

// Tests without widgets run in a runtime folder of their own.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TOwnRuntimeFolder runtime;
    return RUN_ALL_TESTS();
}
