#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/Application.h"

// Framework tests need the toolkit's application object, on the offscreen platform unless a
// display was chosen.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    fw::Runtime runtime(argc, argv);
    return RUN_ALL_TESTS();
}
