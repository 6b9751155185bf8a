#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <functional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Dispatch.h"
#include "framework/Shell.h"
#include "framework/ToolbarItem.h"
#include "framework/Variant.h"
#include "listview/CustomListboxCell.h"
#include "support/MainFixture.h"

// The main window with an application folder of its own, whose Resources hold a scripted
// stand-in for ffmpeg. The script records each call's arguments, then runs the test's plan: a
// shell fragment that sees $in and $out (the input and output paths), $dir (the Resources
// folder) and two functions: `gate N` waits until the test opens gate N (after marking that it
// got there), and `mp3` writes a small output file.
class ConversionFixture : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        savedExecutable = fw::Runtime::ExecutablePath();
        appDir = dir.filePath("App");
        resources = appDir + "/Resources";
        ASSERT_TRUE(QDir().mkpath(appDir + "/bin"));
        ASSERT_TRUE(QDir().mkpath(resources));
        fw::Runtime::SetExecutablePath((appDir + "/bin/tunemill").toStdString());
        WriteScript();
        SetPlan("echo 'Duration: 00:00:10.00, start: 0' >&2\necho 'size= 1kB time=5.00' >&2\nmp3");
        reportsBefore = fw::UnhandledExceptionCount();
    }
    void TearDown() override {
        EXPECT_EQ(fw::UnhandledExceptionCount(), reportsBefore)
            << "an exception reached the report";
        // Lets a script waiting at a gate end at once when the window takes the shell down.
        for (int k = 0; k < 10; ++k) {
            Go(k);
        }
        MainFixture::TearDown();
        fw::Runtime::SetExecutablePath(savedExecutable);
    }

    void WriteScript() {
        QFile script(resources + "/ffmpeg");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(R"(#!/bin/sh
dir=${0%/*}
for a in "$@"; do printf '%s\0' "$a"; done >> "$dir/calls"
printf '\n\0' >> "$dir/calls"
in=$2
for out in "$@"; do :; done
gate() { : > "$dir/at$1"; while [ ! -e "$dir/go$1" ]; do sleep 0.01; done; }
mp3() { printf 'ID3 mp3 data' > "$out"; }
. "$dir/plan"
)");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void SetPlan(const std::string& fragment) {
        QFile plan(resources + "/plan");
        ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
        plan.write(QByteArray::fromStdString(fragment + "\n"));
    }

    // Opens gate k for the script.
    void Go(int k) {
        QFile gate(resources + "/go" + QString::number(k));
        (void)gate.open(QIODevice::WriteOnly);
    }
    // Handles events until the condition holds; false after the time is up.
    bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > ms) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    // Handles events for a while, so that output already printed has been read.
    void Settle(int ms = 100) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
    // Waits until the script is at gate k, and handles what it printed before it.
    bool WaitAt(int k) {
        const bool reached =
            WaitFor([&] { return QFile::exists(resources + "/at" + QString::number(k)); });
        Settle();
        return reached;
    }
    bool WaitForRunEnd(int ms = 20000) {
        return WaitFor([&] { return window->TBConvert().Enabled(); }, ms);
    }

    void PressConvert() { window->TBConvert_Action(window->TBConvert()); }

    // The arguments of each call of the script, in order.
    std::vector<std::vector<std::string>> Calls() {
        std::vector<std::vector<std::string>> calls;
        QFile f(resources + "/calls");
        if (!f.open(QIODevice::ReadOnly)) {
            return calls;
        }
        std::vector<std::string> args;
        for (const QByteArray& a : f.readAll().split('\0')) {
            if (a == "\n") {
                calls.push_back(args);
                args.clear();
            } else if (!a.isEmpty()) {
                args.push_back(a.toStdString());
            }
        }
        return calls;
    }
    // The input path of each call.
    std::vector<std::string> Inputs() {
        std::vector<std::string> inputs;
        for (const auto& call : Calls()) {
            inputs.push_back(call.size() > 1 ? call[1] : "");
        }
        return inputs;
    }

    std::string PathOf(const std::string& name) {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    fw::Int32 Progress(int row) {
        return fw::VariantCast<CustomListboxCell>(List().CellTag(row, 4))->getValue();
    }
    std::string StatusOf(int row) { return List().Cell(row, 7); }
    // The row whose file has this name, or -1.
    int RowOf(const std::string& name) {
        for (int r = 0; r < List().ListCount(); ++r) {
            if (List().Cell(r, 0) == name) {
                return r;
            }
        }
        return -1;
    }

    std::string savedExecutable;
    QString appDir;
    QString resources;
    int reportsBefore = 0;
};
