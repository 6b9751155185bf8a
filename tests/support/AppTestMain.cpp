#include <gtest/gtest.h>

#include <cstdlib>

#include "app/App.h"
#include "app/FileTypes.h"
#include "framework/Application.h"

// Program tests start the application as main does, without its window: each test makes
// and closes its own. The executable is placed in the built application folder, so the
// Resources rule finds the real pictures.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    fw::Runtime runtime(argc, argv);
    FileTypes::Initialize();
    fw::Runtime::SetApplication(std::make_shared<App>());
    fw::Runtime::SetExecutablePath(TUNEMILL_APP_DIR "/bin/tunemill");
    const int status = RUN_ALL_TESTS();
    runtime.ReleaseGlobals();
    FileTypes::pAudio.reset();
    return status;
}
