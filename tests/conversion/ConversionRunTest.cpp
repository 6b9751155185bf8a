#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/ConversionFixture.h"
#include "support/ListTestUtil.h"

namespace {

using ConversionRun = ConversionFixture;

std::vector<std::string> Statuses(CustomCellListbox& list) {
    std::vector<std::string> out;
    for (int r = 0; r < list.ListCount(); ++r) {
        out.push_back(list.Cell(r, 7));
    }
    return out;
}

void WriteBytes(const std::string& path, const QByteArray& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
    f.write(bytes);
}
QByteArray ReadBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// How many pixels of a row's progress bar the screen shows: the window as the platform last
// received it, not a fresh rendering, so a cell that was never repainted shows its old bar.
int BarPixelsOnScreen(CustomCellListbox& list, fw::Int32 row) {
    QWidget* viewport = listtest::View(list)->viewport();
    QWidget* top = viewport->window();
    const QRect cell = listtest::View(list)->CellRect(row, 4);
    const QPoint origin = viewport->mapTo(top, cell.topLeft());
    const QImage shot = top->windowHandle()
                            ->screen()
                            ->grabWindow(top->windowHandle()->winId(), origin.x(), origin.y(),
                                         cell.width(), cell.height())
                            .toImage();
    int pixels = 0;
    for (int x = 0; x < shot.width(); ++x) {
        pixels += (shot.pixel(x, shot.height() / 2) & 0xFFFFFF) == 0x99CCFF ? 1 : 0;
    }
    return pixels;
}

TEST_F(ConversionRun, AnEmptyListStartsNothing) {
    PressConvert();
    EXPECT_TRUE(window->TBConvert().Enabled());
    Settle();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ConversionRun, RowsThatAreNotReadyArePassedOverAndStateIsKept) {
    AddRows({"a.wav", "b.wav"});
    List().SetCell(0, 7, "Complete");
    List().SetCell(1, 7, "Failed");
    window->Duration = 42;
    window->cAudioIndex = 9;
    window->cAudioNo = 8;
    PressConvert();
    EXPECT_TRUE(window->TBConvert().Enabled());
    Settle();
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(window->Duration, 42);
    EXPECT_EQ(window->cAudioIndex, 9);
    EXPECT_EQ(window->cAudioNo, 8);
}

TEST_F(ConversionRun, StartsTheFirstReadyRowAndRecordsItBeforeAnyEvent) {
    SetPlan("gate 1\nmp3");
    AddRows({"a.wav", "b.wav"});
    window->audioIndex = 6;
    AddRows({"c.wav"});
    List().SetCell(0, 7, "Complete");
    List().SetCell(1, 7, "Complete");
    PressConvert();
    EXPECT_FALSE(window->TBConvert().Enabled());
    EXPECT_EQ(window->cAudioIndex, 2);
    EXPECT_EQ(window->cAudioNo, 7);
    EXPECT_EQ(window->Duration, 0);
    EXPECT_EQ(StatusOf(2), "Converting...");
    ASSERT_TRUE(WaitAt(1));
    ASSERT_EQ(Inputs(), std::vector<std::string>{PathOf("c.wav")});
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Statuses(List()), (std::vector<std::string>{"Complete", "Complete", "Complete"}));
}

TEST_F(ConversionRun, EachRatingGivesItsBitRateAndName) {
    AddRows({"one.wav", "two.ogg", "three.mp3"});
    List().Event_CellClick(0, 3, 3, 5);   // one star
    List().Event_CellClick(2, 3, 42, 5);  // three stars
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    const std::vector<std::vector<std::string>> expected = {
        {"-i", PathOf("one.wav"), "-y", "-ab", "96k", "-f", "mp3", PathOf("one-96k.mp3")},
        {"-i", PathOf("two.ogg"), "-y", "-ab", "128k", "-f", "mp3", PathOf("two-128k.mp3")},
        {"-i", PathOf("three.mp3"), "-y", "-ab", "192k", "-f", "mp3", PathOf("three-192k.mp3")},
    };
    EXPECT_EQ(calls, expected);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(StatusOf(r), "Complete");
        EXPECT_EQ(Progress(r), 100);
    }
    EXPECT_EQ(window->Duration, -1);
    EXPECT_TRUE(window->TBConvert().Enabled());
}

TEST_F(ConversionRun, ProgressFollowsTheFirstTimeValueOfEachOutput) {
    SetPlan(R"(echo 'Duration: 00:03:20.00, start: 0' >&2
gate 1
printf 'size= 1kB time=50.12 bitrate\rsize= 2kB time=60.00 bitrate\r' >&2
gate 2
echo 'Duration: 00:00:10.00' >&2
printf 'time=150.00\r' >&2
gate 3
mp3)");
    AddRows({"a.wav"});
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    EXPECT_EQ(window->Duration, 200);
    EXPECT_EQ(Progress(0), 0);
    Go(1);
    ASSERT_TRUE(WaitAt(2));
    EXPECT_EQ(Progress(0), 25);
    Go(2);
    ASSERT_TRUE(WaitAt(3));
    // A later duration line does not change a known length.
    EXPECT_EQ(window->Duration, 200);
    EXPECT_EQ(Progress(0), 75);
    Go(3);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Progress(0), 100);
}

// What a single output of the process, read in one piece (one printf is one write to the pipe),
// leaves in the window.
TEST_F(ConversionRun, OneOutputGivesItsLengthAndProgress) {
    struct Case {
        const char* name;
        const char* output;
        fw::Int32 duration;
        fw::Int32 progress;
    };
    const std::vector<Case> cases = {
        // Regression: a time value before the length is known divided by zero.
        {"a time before the length", "time=7.00\\r", 0, 0},
        // The time is measured against the length found in that same output.
        {"the length and a time together",
         "Duration: 00:03:20.00, start: 0\\nsize= 1kB time=50.12 bitrate\\r", 200, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        List().DeleteAllRows();
        QFile::remove(resources + "/at1");
        QFile::remove(resources + "/go1");
        SetPlan(std::string("printf '") + c.output + "' >&2\ngate 1\nmp3");
        AddRows({"a.wav"});
        PressConvert();
        ASSERT_TRUE(WaitAt(1));
        EXPECT_EQ(window->Duration, c.duration);
        EXPECT_EQ(Progress(0), c.progress);
        Go(1);
        ASSERT_TRUE(WaitForRunEnd());
    }
}

TEST_F(ConversionRun, TheBarOnScreenFollowsEachTimeValueAndTheEnd) {
    SetPlan(R"(echo 'Duration: 00:01:40.00' >&2
gate 1
printf 'time=40.0\r' >&2
gate 2
mp3)");
    AddRows({"a.wav", "b.wav"});
    List().SetCell(1, 7, "Complete");
    ASSERT_TRUE(listtest::View(List())->viewport()->isVisible());
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    const int frame = listtest::View(List())->CellRect(0, 4).width() - 9;
    EXPECT_EQ(BarPixelsOnScreen(List(), 0), 0);
    Go(1);
    ASSERT_TRUE(WaitAt(2));
    // Waits, since the repaint comes from the event loop; a cell never repainted times out.
    EXPECT_TRUE(WaitFor(
        [&] { return std::abs(BarPixelsOnScreen(List(), 0) - frame * 40 / 100) <= 2; }, 3000))
        << BarPixelsOnScreen(List(), 0) << " pixels of " << frame;
    Go(2);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(WaitFor([&] { return std::abs(BarPixelsOnScreen(List(), 0) - frame) <= 2; }, 3000))
        << BarPixelsOnScreen(List(), 0) << " pixels of " << frame;
    // The row below, not converted, still shows no bar.
    EXPECT_EQ(BarPixelsOnScreen(List(), 1), 0);
}

TEST_F(ConversionRun, RowsAddedDuringARunAreReached) {
    SetPlan("case \"$in\" in *a.wav) gate 1;; esac\nmp3");
    AddRows({"a.wav"});
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    AddRows({"b.wav", "c.wav"});
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Inputs(),
              (std::vector<std::string>{PathOf("a.wav"), PathOf("b.wav"), PathOf("c.wav")}));
    EXPECT_EQ(Statuses(List()), (std::vector<std::string>{"Complete", "Complete", "Complete"}));
}

TEST_F(ConversionRun, AReadyRowMovedAboveTheConvertingRowWaitsForTheNextRun) {
    SetPlan("case \"$in\" in *b.wav) gate 1;; esac\nmp3");
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    List().SetCell(0, 7, "Complete");
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    // d above b: the list now reads a, d, b, c.
    List().MoveRows({3}, 1);
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Inputs(), (std::vector<std::string>{PathOf("b.wav"), PathOf("c.wav")}));
    EXPECT_EQ(StatusOf(RowOf("d.wav")), "Ready");
    EXPECT_EQ(StatusOf(RowOf("b.wav")), "Complete");
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Inputs().back(), PathOf("d.wav"));
    EXPECT_EQ(StatusOf(RowOf("d.wav")), "Complete");
}

TEST_F(ConversionRun, RowsRemovedAboveTheConvertingRowBetweenOutputEvents) {
    SetPlan(R"(case "$in" in *c.wav)
echo 'Duration: 00:01:40.00' >&2
gate 1
printf 'time=40.0\r' >&2
gate 2
printf 'time=60.0\r' >&2
gate 3
;; esac
mp3)");
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    List().SetCell(0, 7, "Complete");
    List().SetCell(1, 7, "Complete");
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    ASSERT_EQ(window->cAudioIndex, 2);
    List().SetSelected(0, true);
    window->Remove();
    Go(1);
    ASSERT_TRUE(WaitAt(2));
    EXPECT_EQ(window->cAudioIndex, 1);
    EXPECT_EQ(Progress(RowOf("c.wav")), 40);
    EXPECT_EQ(Progress(RowOf("d.wav")), 0);
    // Now the remembered index lies past the last row.
    List().SetSelected(0, true);
    List().SetSelected(2, true);
    window->Remove();
    ASSERT_EQ(List().ListCount(), 1);
    Go(2);
    ASSERT_TRUE(WaitAt(3));
    EXPECT_EQ(window->cAudioIndex, 0);
    EXPECT_EQ(Progress(0), 60);
    Go(3);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(StatusOf(0), "Complete");
}

// Regression: the end event read a row past the last one and the run stopped with Convert
// disabled for good.
TEST_F(ConversionRun, RowsRemovedAboveTheConvertingRowBeforeItsEnd) {
    SetPlan("case \"$in\" in *c.wav) gate 1;; esac\nmp3");
    AddRows({"a.wav", "b.wav", "c.wav"});
    List().SetCell(0, 7, "Complete");
    List().SetCell(1, 7, "Complete");
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    List().SetSelected(0, true);
    List().SetSelected(1, true);
    window->Remove();
    ASSERT_EQ(List().ListCount(), 1);
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(StatusOf(0), "Complete");
    EXPECT_EQ(Progress(0), 100);
}

TEST_F(ConversionRun, TheConvertingRowSortedAwayEndsWhereItIsNow) {
    SetPlan("case \"$in\" in *b.wav) gate 1;; esac\nmp3");
    AddRows({"d.wav", "b.wav", "a.wav", "c.wav"});
    List().SetCell(0, 7, "Complete");
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    ASSERT_EQ(window->cAudioNo, 2);
    List().SortByColumn(0, true);  // a, b, c, d
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(StatusOf(RowOf("b.wav")), "Complete");
    EXPECT_EQ(Progress(RowOf("b.wav")), 100);
    // c follows b's new place and is converted; a now stands above it and waits.
    EXPECT_EQ(Inputs(), (std::vector<std::string>{PathOf("b.wav"), PathOf("c.wav")}));
    EXPECT_EQ(StatusOf(RowOf("a.wav")), "Ready");
    EXPECT_EQ(StatusOf(RowOf("d.wav")), "Complete");
}

TEST_F(ConversionRun, TheRatingIsReadWhenARowStarts) {
    SetPlan("case \"$in\" in *a.wav) gate 1;; esac\nmp3");
    AddRows({"a.wav", "b.wav"});
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    List().Event_CellClick(0, 3, 42, 5);  // the running row: no effect on its process
    List().Event_CellClick(1, 3, 3, 5);   // the waiting row: takes effect
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0][4], "128k");
    EXPECT_EQ(calls[1][4], "96k");
    EXPECT_EQ(calls[1][7], PathOf("b-96k.mp3"));
}

// Regression: every ended process was "Complete" at 100 %, whether it wrote an MP3 or not.
TEST_F(ConversionRun, AProcessThatFailsIsFailedAndTheRunGoesOn) {
    SetPlan(R"(echo 'Duration: 00:01:40.00' >&2
printf 'time=30.0\r' >&2
case "$in" in
*exit.wav) exit 1 ;;
*signal.wav) mp3; kill -KILL $$ ;;
*nothing.wav) exit 0 ;;
*empty.wav) : > "$out"; exit 0 ;;
esac
mp3)");
    AddRows({"exit.wav", "signal.wav", "nothing.wav", "empty.wav", "good.wav"});
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Calls().size(), 5u);
    EXPECT_EQ(Statuses(List()),
              (std::vector<std::string>{"Failed", "Failed", "Failed", "Failed", "Complete"}));
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(Progress(r), 30) << "a failed row keeps the progress it reached";
    }
    EXPECT_EQ(Progress(4), 100);
    EXPECT_EQ(window->Duration, -1);
    // A failed row is not tried again by the next run.
    PressConvert();
    EXPECT_TRUE(window->TBConvert().Enabled());
    Settle();
    EXPECT_EQ(Calls().size(), 5u);
}

TEST_F(ConversionRun, AMissingFfmpegFailsEveryRowAndEndsTheRun) {
    QFile::remove(resources + "/ffmpeg");
    AddRows({"a.wav", "b.wav"});
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Statuses(List()), (std::vector<std::string>{"Failed", "Failed"}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("a-128k.mp3"))));
}

// Regression: a name without any of the six extensions gave the source's own path as the
// output, which ffmpeg -y overwrote.
TEST_F(ConversionRun, ASourceIsNeverTheOutput) {
    AddRows({"noextension"});
    {
        QFile source(QString::fromStdString(PathOf("noextension")));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write("original");
    }
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0][7], PathOf("noextension-128k.mp3"));
    QFile source(QString::fromStdString(PathOf("noextension")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(source.readAll(), "original");
    EXPECT_EQ(StatusOf(0), "Complete");
}

// Regression: the conversion of c.wav wrote c-128k.mp3 over a listed file, before or after
// that file's own row was converted.
TEST_F(ConversionRun, AListedFileKeepsItsBytesWhateverTheOrderOrItsStatus) {
    struct Case {
        const char* name;
        std::vector<const char*> rows;
        const char* listedStatus;  // of each row named c-128k.mp3
        const char* outputOfC;     // where c.wav's MP3 goes
    };
    const std::vector<Case> cases = {
        {"source first", {"c.wav", "c-128k.mp3"}, "Ready", "c.wav-128k.mp3"},
        {"listed file first", {"c-128k.mp3", "c.wav"}, "Ready", "c.wav-128k.mp3"},
        {"listed file already converted", {"c.wav", "c-128k.mp3"}, "Complete", "c.wav-128k.mp3"},
        {"same name in another folder", {"c.wav", "sub/c-128k.mp3"}, "Ready", "c-128k.mp3"},
        // The look must not step past the listed file when a namesake stands above it.
        {"a namesake above the listed file",
         {"sub/c-128k.mp3", "c-128k.mp3", "c.wav"},
         "Ready",
         "c.wav-128k.mp3"},
    };
    ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        List().DeleteAllRows();
        QFile::remove(resources + "/calls");
        for (const char* name : {"c-128k.mp3", "c.wav-128k.mp3", "sub/c-128k.mp3"}) {
            QFile::remove(QString::fromStdString(PathOf(name)));
        }
        for (const char* row : c.rows) {
            AddRows({row});
            WriteBytes(PathOf(row), QByteArray("bytes of ") + row);
            if (List().Cell(List().LastIndex(), 0) == "c-128k.mp3") {
                List().SetCell(List().LastIndex(), 7, c.listedStatus);
            }
        }
        // Not listed: an earlier output, overwritten as before.
        AddRows({"b.wav"});
        WriteBytes(PathOf("b-128k.mp3"), "an earlier output");
        std::size_t ready = 0;
        for (int r = 0; r < List().ListCount(); ++r) {
            ready += StatusOf(r) == "Ready" ? 1 : 0;
        }
        PressConvert();
        ASSERT_TRUE(WaitForRunEnd());

        for (const char* row : c.rows) {
            EXPECT_EQ(ReadBytes(PathOf(row)), QByteArray("bytes of ") + row) << row;
        }
        EXPECT_EQ(ReadBytes(PathOf(c.outputOfC)), "ID3 mp3 data");
        EXPECT_EQ(ReadBytes(PathOf("b-128k.mp3")), "ID3 mp3 data");
        EXPECT_EQ(StatusOf(RowOf("c.wav")), "Complete");
        const auto calls = Calls();
        EXPECT_EQ(calls.size(), ready);
        for (const auto& call : calls) {
            if (call[1] == PathOf("c.wav")) {
                EXPECT_EQ(call.back(), PathOf(c.outputOfC));
            }
        }
    }
}

// Regression: the folder's ".wav" was the one replaced, so the MP3 went over a WAV in another
// folder and the row said "Complete".
TEST_F(ConversionRun, TheOutputLandsBesideItsSourceWhateverTheFolderIsCalled) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("old.wav files"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("old-128k.mp3 files"));
    WriteBytes(PathOf("old-128k.mp3 files/song.wav"), "unrelated");
    AddRows({"old.wav files/song.wav"});
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].back(), PathOf("old.wav files/song-128k.mp3"));
    EXPECT_EQ(ReadBytes(PathOf("old.wav files/song-128k.mp3")), "ID3 mp3 data");
    EXPECT_EQ(ReadBytes(PathOf("old-128k.mp3 files/song.wav")), "unrelated");
    EXPECT_EQ(StatusOf(0), "Complete");
}

// With both names an output may take listed, the row writes nothing, and the run goes on
// whether the row comes first or last.
TEST_F(ConversionRun, ARowWhoseOutputNamesAreBothListedFailsAndTheRunGoesOn) {
    const std::vector<std::vector<const char*>> orders = {
        {"c.wav", "c-128k.mp3", "c.wav-128k.mp3", "d.wav"},
        {"d.wav", "c-128k.mp3", "c.wav-128k.mp3", "c.wav"},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.front());
        List().DeleteAllRows();
        QFile::remove(resources + "/calls");
        for (const char* row : order) {
            AddRows({row});
        }
        WriteBytes(PathOf("c-128k.mp3"), "one");
        WriteBytes(PathOf("c.wav-128k.mp3"), "two");
        PressConvert();
        ASSERT_TRUE(WaitForRunEnd());
        EXPECT_EQ(ReadBytes(PathOf("c-128k.mp3")), "one");
        EXPECT_EQ(ReadBytes(PathOf("c.wav-128k.mp3")), "two");
        EXPECT_EQ(StatusOf(RowOf("c.wav")), "Failed");
        EXPECT_EQ(Progress(RowOf("c.wav")), 0);
        EXPECT_EQ(StatusOf(RowOf("d.wav")), "Complete");
        EXPECT_EQ(StatusOf(RowOf("c-128k.mp3")), "Complete");
        EXPECT_EQ(StatusOf(RowOf("c.wav-128k.mp3")), "Complete");
        EXPECT_EQ(Calls().size(), 3u);
        for (const auto& input : Inputs()) {
            EXPECT_NE(input, PathOf("c.wav"));
        }
    }
}

TEST_F(ConversionRun, ResourcesInAFolderWithSpacesAndQuotes) {
    // The application folder moves to a name the shell would split or end a quote at.
    const QString moved = dir.filePath("It's my app");
    ASSERT_TRUE(QDir().rename(appDir, moved));
    appDir = moved;
    resources = moved + "/Resources";
    fw::Runtime::SetExecutablePath((moved + "/bin/tunemill").toStdString());
    AddRows({"a b.wav"});
    PressConvert();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(StatusOf(0), "Complete");
    EXPECT_EQ(Inputs(), std::vector<std::string>{PathOf("a b.wav")});
}

TEST_F(ConversionRun, TheConvertingRowCannotBeRemoved) {
    SetPlan("gate 1\nmp3");
    AddRows({"a.wav", "b.wav"});
    PressConvert();
    ASSERT_TRUE(WaitAt(1));
    List().SetSelected(0, true);
    List().SetSelected(1, true);
    window->Remove();
    ASSERT_EQ(List().ListCount(), 1);
    EXPECT_EQ(StatusOf(0), "Converting...");
    EXPECT_EQ(ui->Messages(), std::vector<std::string>{"변환중인 파일은 삭제할 수 없습니다."});
    Go(1);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(StatusOf(0), "Complete");
}

}  // namespace
