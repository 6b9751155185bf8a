#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "framework/FolderItem.h"
#include "framework/ModalUI.h"
#include "framework/StaticText.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

// A fresh main window per test, with dialogs and message boxes answered by a script, and a
// temporary folder for files.
class MainFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ui = std::make_shared<fw::ScriptedModalUI>();
        fw::SetModalUI(ui);
        window = Main::Instance();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        window->Close();
        window.reset();
        QCoreApplication::processEvents();
        fw::SetModalUI(nullptr);
    }

    CustomCellListbox& List() { return window->AlternatingList1(); }
    std::string Status() { return window->StatusBar().Text(); }

    // Makes an empty file in the temporary folder and gives its item.
    std::shared_ptr<fw::FolderItem> MakeFile(const std::string& name) {
        const QString path = dir.filePath(QString::fromStdString(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name;
        return std::make_shared<fw::FolderItem>(path.toStdString());
    }
    // Adds rows for files of these names.
    void AddRows(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            window->AddAudioRow(MakeFile(n));
        }
    }

    std::shared_ptr<fw::ScriptedModalUI> ui;
    std::shared_ptr<Main> window;
    QTemporaryDir dir;
};
