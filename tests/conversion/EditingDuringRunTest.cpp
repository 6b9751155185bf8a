#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Strings.h"
#include "support/ConversionFixture.h"

// Random editing of the list while a run converts it: sorting, dragging, removing, adding,
// star and disc clicks and Convert, between the shell's events, with the run's promises checked
// after every action and every event. A failure names its seed; `--seed=N` on the command line
// replays that one sequence (with the same actions; the events may fall between them a little
// differently).
namespace {

constexpr int kSequences = 1000;
constexpr int kActionsPerSequence = 24;

class EditingDuringRun : public ConversionFixture {
protected:
    void SetUp() override {
        ConversionFixture::SetUp();
        SetPlan(R"(echo 'Duration: 00:00:10.00, start: 0' >&2
printf 'size= 1kB time=2.00 bitrate\r' >&2
sleep 0.002
printf 'size= 2kB time=7.00 bitrate\r' >&2
case "$in" in *fail*) exit 1 ;; esac
mp3)");
    }

    // One sequence on a fresh window; false with the log filled when a promise was broken.
    bool RunSequence(unsigned seed) {
        rng.seed(seed);
        log.str("");
        failure.clear();
        started.clear();
        everLeftReady.clear();
        numberOfName.clear();
        ClearCalls();
        folder = dir.filePath(QString("seq%1").arg(seed));
        QDir().mkpath(folder);

        window->Close();
        window = Main::Instance();
        WatchShellEvents();

        const int rows = Pick(1, 6);
        for (int i = 0; i < rows; ++i) {
            Add();
        }
        for (int step = 0; step < kActionsPerSequence && failure.empty(); ++step) {
            RandomAction();
            Check("after the action");
            const int ms = Pick(0, 4);
            QElapsedTimer t;
            t.start();
            do {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            } while (t.elapsed() < ms && failure.empty());
        }
        // Let the run finish: a run ends by itself once no Ready row follows.
        if (failure.empty() && !WaitForRunEnd(20000)) {
            failure = "the run never ended";
        }
        if (failure.empty()) {
            CheckEnd();
        }
        return failure.empty();
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    void Add() {
        const std::string name =
            "t" + std::to_string(nextFile++) + (Pick(0, 7) == 0 ? "fail" : "") + ".wav";
        QFile f(folder + "/" + QString::fromStdString(name));
        (void)f.open(QIODevice::WriteOnly);
        window->AddAudioRow(std::make_shared<fw::FolderItem>(f.fileName().toStdString()));
        numberOfName[name] = List().Cell(List().LastIndex(), 6);
        log << "add " << name << "; ";
    }

    void RandomAction() {
        auto& list = List();
        const int count = list.ListCount();
        switch (Pick(0, 7)) {
            case 0: {
                const int column = Pick(0, 7);
                const bool ascending = Pick(0, 1) == 1;
                log << "sort " << column << (ascending ? " up; " : " down; ");
                list.SortByColumn(column, ascending);
                break;
            }
            case 1: {
                if (count == 0) {
                    break;
                }
                std::vector<fw::Int32> rows;
                for (int r = 0; r < count; ++r) {
                    if (Pick(0, 2) == 0) {
                        rows.push_back(r);
                    }
                }
                const int before = Pick(0, count);
                log << "drag " << rows.size() << " rows before " << before << "; ";
                list.MoveRows(rows, before);
                break;
            }
            case 2: {
                list.SetListIndex(-1);
                for (int r = 0; r < count; ++r) {
                    if (Pick(0, 2) == 0) {
                        list.SetSelected(r, true);
                    }
                }
                log << "remove " << list.SelCount() << " selected; ";
                window->Remove();
                break;
            }
            case 3:
                Add();
                break;
            case 4: {
                if (count == 0) {
                    break;
                }
                const int row = Pick(0, count - 1);
                const int x = Pick(0, 45);
                log << "stars row " << row << " x " << x << "; ";
                list.Event_CellClick(row, 3, x, 5);
                break;
            }
            case 5: {
                if (count == 0) {
                    break;
                }
                const int row = Pick(0, count - 1);
                const int x = Pick(0, 30);
                log << "disc row " << row << " x " << x << "; ";
                list.Event_CellClick(row, 5, x, 8);
                break;
            }
            default:
                // Convert is pressed only when it can be: it is disabled during a run.
                if (window->TBConvert().Enabled()) {
                    log << "convert; ";
                    PressConvert();
                } else {
                    log << "wait; ";
                }
                break;
        }
    }

    // Each shell event runs the program's handler, with the promises checked around it.
    void WatchShellEvents() {
        auto& shell = window->WinShell();
        shell.Connect<void(fw::Shell&)>("DataAvailable", "(  )", [this](fw::Shell& s) {
            const auto before = ProgressByNumber();
            const std::string converting = fw::Str(window->cAudioNo);
            window->WinShell_DataAvailable(s);
            ExpectOnlyChanged(before, converting, "an output event");
            Check("after an output event");
        });
        shell.Connect<void(fw::Shell&)>("Completed", "(  )", [this](fw::Shell& s) {
            const auto before = ProgressByNumber();
            const std::string converting = fw::Str(window->cAudioNo);
            window->WinShell_Completed(s);
            ExpectOnlyChanged(before, converting, "an end event");
            Check("after an end event");
        });
    }

    std::map<std::string, fw::Int32> ProgressByNumber() {
        std::map<std::string, fw::Int32> out;
        for (int r = 0; r < List().ListCount(); ++r) {
            out[List().Cell(r, 6)] = Progress(r);
        }
        return out;
    }
    void ExpectOnlyChanged(const std::map<std::string, fw::Int32>& before,
                           const std::string& converting, const char* what) {
        for (const auto& [number, progress] : ProgressByNumber()) {
            const auto old = before.find(number);
            if (old != before.end() && old->second != progress && number != converting) {
                Fail(std::string(what) + " wrote progress to row number " + number +
                     " while row number " + converting + " was converting");
            }
        }
    }

    void Check(const char* when) {
        if (!failure.empty()) {
            return;
        }
        int convertingRows = 0;
        for (int r = 0; r < List().ListCount(); ++r) {
            const std::string number = List().Cell(r, 6);
            const std::string status = List().Cell(r, 7);
            if (status == "Converting...") {
                ++convertingRows;
                if (number != fw::Str(window->cAudioNo)) {
                    Fail(std::string(when) + ": row number " + number +
                         " is converting, but cAudioNo is " + fw::Str(window->cAudioNo));
                }
                if (!started.contains(number)) {
                    // Just started: its rating now is the one its process must have.
                    started[number] =
                        fw::VariantCast<CustomListboxCell>(List().CellTag(r, 3))->getValue();
                    startOrder.push_back(number);
                }
            }
            if (status != "Ready") {
                everLeftReady.insert(number);
            } else if (everLeftReady.contains(number)) {
                Fail(std::string(when) + ": row number " + number + " went back to Ready");
            }
        }
        if (convertingRows > 1) {
            Fail(std::string(when) + ": " + std::to_string(convertingRows) + " rows converting");
        }
        if (convertingRows == 1 && window->TBConvert().Enabled()) {
            Fail(std::string(when) + ": Convert enabled while a row converts");
        }
        if (fw::UnhandledExceptionCount() != reportsBefore) {
            Fail(std::string(when) + ": an exception reached the report");
        }
    }

    void CheckEnd() {
        for (int r = 0; r < List().ListCount(); ++r) {
            if (StatusOf(r) == "Converting...") {
                Fail("a row is still converting after the run");
            }
        }
        // The stand-in ran once for each row that started, in that order, with its rating then.
        std::vector<std::string> calledNumbers;
        std::set<std::string> seen;
        for (const auto& call : Calls()) {
            if (call.size() != 8) {
                Fail("a call with " + std::to_string(call.size()) + " arguments");
                return;
            }
            const std::string name =
                QFileInfo(QString::fromStdString(call[1])).fileName().toStdString();
            const std::string number = numberOfName[name];
            if (!seen.insert(number).second) {
                Fail("row number " + number + " was converted twice");
            }
            calledNumbers.push_back(number);
            const auto rating = started.find(number);
            if (rating == started.end()) {
                Fail("row number " + number + " was converted without being seen converting");
                continue;
            }
            const std::string rate = fw::Str(window->bitrate[rating->second - 1]) + "k";
            if (call[4] != rate) {
                Fail("row number " + number + " was converted at " + call[4] + ", not " + rate);
            }
        }
        if (calledNumbers != startOrder) {
            Fail("the calls do not match the rows that started");
        }
    }

    void Fail(const std::string& what) {
        if (failure.empty()) {
            failure = what;
        }
    }

    void ClearCalls() {
        QFile::remove(resources + "/calls");
        startOrder.clear();
    }

    std::mt19937 rng;
    std::ostringstream log;
    std::string failure;
    QString folder;
    int nextFile = 0;
    std::map<std::string, fw::Int32> started;
    std::vector<std::string> startOrder;
    std::set<std::string> everLeftReady;
    std::map<std::string, std::string> numberOfName;
};

std::vector<unsigned> Seeds() {
    for (const QString& a : QCoreApplication::arguments()) {
        if (a.startsWith("--seed=")) {
            return {a.mid(7).toUInt()};
        }
    }
    std::vector<unsigned> seeds;
    for (unsigned s = 1; s <= kSequences; ++s) {
        seeds.push_back(s);
    }
    return seeds;
}

TEST_F(EditingDuringRun, RandomEditsKeepTheRunsPromises) {
    for (const unsigned seed : Seeds()) {
        ASSERT_TRUE(RunSequence(seed))
            << "seed " << seed << ": " << failure << "\nsequence: " << log.str()
            << "\nreplay with --seed=" << seed;
    }
}

}  // namespace
