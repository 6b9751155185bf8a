#include <QAction>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/App.h"
#include "app/FileTypes.h"
#include "framework/Application.h"
#include "framework/Dispatch.h"
#include "framework/FolderItem.h"
#include "framework/ToolbarItem.h"
#include "framework/Window.h"
#include "mainwindow/Main.h"

// The application as main starts it, with the files of its arguments listed and Convert
// pressed, so that a test can end it mid-run from outside: by a signal, by killing it, or, with
// CLOSE_AFTER_MS set, by closing its window as the user does. With DIALOG_AFTER_MS set it opens
// the open-file dialog then and says "dialog" on its output, so that it can be ended while a
// dialog's own loop runs.
int main(int argc, char** argv) {
    fw::Runtime runtime(argc, argv);
    bool started = false;
    fw::Dispatch([&] {
        FileTypes::Initialize();
        fw::Runtime::SetApplication(std::make_shared<App>());
        fw::Runtime::SetExecutablePath(TUNEMILL_APP_DIR "/bin/tunemill");
        auto window = Main::Instance();
        for (int i = 1; i < argc; ++i) {
            window->AddAudioRow(std::make_shared<fw::FolderItem>(argv[i]));
        }
        window->TBConvert_Action(window->TBConvert());
        started = true;
    });
    if (const char* ms = std::getenv("CLOSE_AFTER_MS")) {
        QTimer::singleShot(std::atoi(ms), [] {
            if (auto window = Main::Instance()) {
                window->Widget()->close();
            }
        });
    }
    if (const char* ms = std::getenv("DIALOG_AFTER_MS")) {
        QTimer::singleShot(std::atoi(ms), [] {
            std::printf("dialog\n");
            std::fflush(stdout);
            // As the user opens it: through the toolbar item, with nothing else holding the
            // window.
            QAction* addFile = Main::Instance()->TBFile().Action();
            addFile->trigger();
        });
    }
    std::printf("converting\n");
    std::fflush(stdout);
    const int status = started ? runtime.Run() : 1;
    runtime.ReleaseGlobals();
    FileTypes::pAudio.reset();
    return status;
}
