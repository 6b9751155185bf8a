#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "app/App.h"
#include "app/FileTypes.h"
#include "framework/Application.h"
#include "framework/FolderItem.h"
#include "framework/ModalUI.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

// Starts the application as main does, without the event loop, with dialogs answered by a
// script so that benchmarks can drive intake.
class BenchApp {
public:
    BenchApp(int& argc, char** argv) : runtime_(argc, argv) {
        FileTypes::Initialize();
        fw::Runtime::SetApplication(std::make_shared<App>());
        fw::Runtime::SetExecutablePath(TUNEMILL_APP_DIR "/bin/tunemill");
        ui = std::make_shared<fw::ScriptedModalUI>();
        fw::SetModalUI(ui);
    }
    ~BenchApp() {
        runtime_.ReleaseGlobals();
        FileTypes::pAudio.reset();
    }

    std::shared_ptr<fw::ScriptedModalUI> ui;

private:
    fw::Runtime runtime_;
};

// A fresh window holding `rows` audio rows (the files need not exist to be listed).
inline std::shared_ptr<Main> WindowWithRows(int rows) {
    fw::Window::CloseAll();
    auto window = Main::Instance();
    for (int i = 0; i < rows; ++i) {
        window->AddAudioRow(std::make_shared<fw::FolderItem>(
            "/music/album " + std::to_string(i % 97) + "/track " + std::to_string(i) + ".wav"));
    }
    QCoreApplication::processEvents();
    return window;
}

// A folder of `count` empty audio files, made once per count.
inline QString FolderOfAudioFiles(QTemporaryDir& dir, int count) {
    const QString path = dir.filePath(QString::number(count));
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        for (int i = 0; i < count; ++i) {
            QFile f(path + QString("/song %1.mp3").arg(i, 6, 10, QChar('0')));
            f.open(QIODevice::WriteOnly);
        }
    }
    return path;
}
