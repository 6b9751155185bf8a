#include <cstdio>

#include "app/App.h"
#include "app/FileTypes.h"
#include "framework/Application.h"
#include "framework/Dispatch.h"
#include "mainwindow/Main.h"

int main(int argc, char** argv) {
    fw::Runtime runtime(argc, argv);
    bool started = false;
    fw::Dispatch([&] {
        // Named first, so that even a report of a failing start-up bears the program's name.
        fw::Runtime::SetApplication(std::make_shared<App>());
        FileTypes::Initialize();
        Main::Instance();
        started = true;
    });
    // Without its window the application has nothing to show: end instead of idling unseen.
    const int status = started ? runtime.Run() : 1;
    runtime.ReleaseGlobals();
    FileTypes::pAudio.reset();
    return status;
}
