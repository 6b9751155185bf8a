#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QString>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <optional>

#include "bench/BenchSupport.h"
#include "framework/ListboxView.h"
#include "framework/Strings.h"
#include "framework/ToolbarItem.h"
#include "listview/RatingCell.h"

namespace {

std::shared_ptr<fw::ScriptedModalUI>& ScriptedUI() {
    static std::shared_ptr<fw::ScriptedModalUI> ui;
    return ui;
}

fw::ListboxView& View(Main& window) {
    return *static_cast<fw::ListboxView*>(window.AlternatingList1().Widget());
}

// A figure and its floor timed in the same iterations; reported as both and their ratio.
struct Versus {
    double ms = 0;
    double floorMs = 0;
    int runs = 0;

    void Add(double measured, double floor) {
        ms += measured;
        floorMs += floor;
        ++runs;
    }
    void Report(benchmark::State& state) const {
        state.counters["ms"] = ms / runs;
        state.counters["floor_ms"] = floorMs / runs;
        state.counters["ratio"] = floorMs > 0 ? ms / floorMs : 0;
    }
};

std::vector<int> RatingsInRowOrder(Main& window) {
    auto& list = window.AlternatingList1();
    std::vector<int> keys;
    keys.reserve(static_cast<std::size_t>(list.ListCount()));
    for (fw::Int32 i = 0; i < list.ListCount(); ++i) {
        keys.push_back(fw::VariantCast<CustomListboxCell>(list.CellTag(i, 3))->getValue());
    }
    return keys;
}

double StableSortFloorMs(std::vector<int> keys) {
    const auto start = BenchClock::now();
    std::stable_sort(keys.begin(), keys.end());
    benchmark::DoNotOptimize(keys.data());
    return MillisecondsSince(start);
}

std::shared_ptr<Main> WindowWithRatings(int rows) {
    auto window = WindowWithRows(rows);
    auto& list = window->AlternatingList1();
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> rating(1, 3);
    for (fw::Int32 i = 0; i < list.ListCount(); ++i) {
        fw::VariantCast<CustomListboxCell>(list.CellTag(i, 3))->setValue(rating(rng));
    }
    return window;
}

// Painting must cost what is visible, not what is listed.
void BM_PaintVisibleRows(benchmark::State& state) {
    auto window = WindowWithRows(static_cast<int>(state.range(0)));
    auto& view = View(*window);
    window->AlternatingList1().SetListIndex(1);
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view.PaintRows(painter, view.viewport()->rect());
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_PaintVisibleRows)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Each sort starts from rows in a random order; the floor sorts the same keys in that order.
void BM_SortByRating(benchmark::State& state) {
    auto window = WindowWithRatings(static_cast<int>(state.range(0)));
    auto& list = window->AlternatingList1();
    std::mt19937 rng(1);
    Versus v;
    for (auto _ : state) {
        ScrambleRows(list, rng);
        const double floor = StableSortFloorMs(RatingsInRowOrder(*window));
        const auto start = BenchClock::now();
        list.SortByColumn(3, true);
        const double ms = MillisecondsSince(start);
        state.SetIterationTime(ms / 1000);
        v.Add(ms, floor);
    }
    v.Report(state);
}
BENCHMARK(BM_SortByRating)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// A click on the rating heading until the list has been repainted.
void BM_RatingHeadingClick(benchmark::State& state) {
    auto window = WindowWithRatings(static_cast<int>(state.range(0)));
    auto& list = window->AlternatingList1();
    auto& view = View(*window);
    std::mt19937 rng(2);
    Versus v;
    for (auto _ : state) {
        ScrambleRows(list, rng);
        QCoreApplication::processEvents();
        const double floor = StableSortFloorMs(RatingsInRowOrder(*window));
        const auto start = BenchClock::now();
        list.HeadingPressed(3);
        view.viewport()->repaint();
        QCoreApplication::processEvents();
        const double ms = MillisecondsSince(start);
        state.SetIterationTime(ms / 1000);
        v.Add(ms, floor);
    }
    v.Report(state);
}
BENCHMARK(BM_RatingHeadingClick)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// The floor is a case-insensitive QString sort of the same names in the same order.
void BM_SortByName(benchmark::State& state) {
    auto window = WindowWithRows(static_cast<int>(state.range(0)));
    auto& list = window->AlternatingList1();
    std::mt19937 rng(3);
    Versus v;
    for (auto _ : state) {
        ScrambleRows(list, rng);
        std::vector<QString> names;
        names.reserve(static_cast<std::size_t>(list.ListCount()));
        for (fw::Int32 i = 0; i < list.ListCount(); ++i) {
            names.push_back(QString::fromStdString(list.Cell(i, 0)));
        }
        auto floorStart = BenchClock::now();
        std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        const double floor = MillisecondsSince(floorStart);
        const auto start = BenchClock::now();
        list.SortByColumn(0, true);
        const double ms = MillisecondsSince(start);
        state.SetIterationTime(ms / 1000);
        v.Add(ms, floor);
    }
    v.Report(state);
}
BENCHMARK(BM_SortByName)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_RemoveSelected(benchmark::State& state, int every) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = WindowWithRows(rows);
        auto& list = window->AlternatingList1();
        for (int i = 0; i < rows; i += every) {
            list.SetSelected(i, true);
        }
        state.ResumeTiming();
        window->Remove();
        // What the removal leaves queued for the event loop counts too.
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(list.ListCount());
    }
}
BENCHMARK_CAPTURE(BM_RemoveSelected, all, 1)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_RemoveSelected, every_other, 2)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_PrintStatus(benchmark::State& state) {
    auto window = WindowWithRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        window->PrintStatus();
    }
}
BENCHMARK(BM_PrintStatus)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Delivers itself again, at the lowest priority, until `done` says the work is over; then once
// more, behind whatever the work left queued, and notes the time: the event loop answers again.
class LoopProbe : public QObject {
public:
    explicit LoopProbe(std::function<bool()> done) : done_(std::move(done)) {}
    void Post() {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::LowEventPriority);
    }
    std::optional<BenchClock::time_point> answered;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) {
            return QObject::event(e);
        }
        if (!seenDone_) {
            seenDone_ = done_();
        } else {
            answered = BenchClock::now();
            return true;
        }
        Post();
        return true;
    }

private:
    std::function<bool()> done_;
    bool seenDone_ = false;
};

// A folder as a user adds it: Add Folder on the toolbar, the real folder dialog, the folder's
// name typed in its parent and Return pressed. The time from Return until the event loop
// answers again, in milliseconds.
double AddFolderThroughDialog(Main& window, const QString& folder, int expectedRows) {
    QEventLoop loop;
    BenchClock::time_point start;
    LoopProbe probe([&] { return window.AlternatingList1().ListCount() == expectedRows; });
    QTimer answer;
    answer.setInterval(2);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        answer.stop();
        const QFileInfo info(folder);
        dialog->setDirectory(info.path());
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        edit->setText(info.fileName());
        QCoreApplication::processEvents();
        start = BenchClock::now();
        QTest::keyClick(edit, Qt::Key_Return);
        probe.Post();
    });
    QTimer finished;
    finished.setInterval(1);
    QObject::connect(&finished, &QTimer::timeout, [&] {
        if (probe.answered) {
            loop.quit();
        }
    });
    answer.start();
    finished.start();
    QMetaObject::invokeMethod(
        &loop, [&] { window.TBFolder().Press(); }, Qt::QueuedConnection);
    loop.exec();
    return std::chrono::duration<double, std::milli>(*probe.answered - start).count();
}

// Add Folder of a library of that many audio files and a twentieth as many other files; the
// floor is `find` listing the same folder, in the same iteration.
void BM_AddFolder(benchmark::State& state) {
    static const auto parent = BenchFolderParent();
    const int audio = static_cast<int>(state.range(0));
    const QString folder = LibraryFolder(parent->path(), audio, audio / 20);
    // The toolkit's dialogs, for this benchmark alone.
    fw::SetModalUI(nullptr);
    Versus v;
    for (auto _ : state) {
        fw::Window::CloseAll();
        QCoreApplication::processEvents();
        auto window = Main::Instance();
        QCoreApplication::processEvents();
        const double floor = FindFloorMs(folder);
        const double ms = AddFolderThroughDialog(*window, folder, audio);
        state.SetIterationTime(ms / 1000);
        if (v.runs == 0) {
            // The first Add Folder of this size in the process, before its memory has been
            // used and given back: what a user who has just started the program sees.
            state.counters["first_ms"] = ms;
            state.counters["first_ratio"] = floor > 0 ? ms / floor : 0;
        }
        v.Add(ms, floor);
    }
    v.Report(state);
    // What the names are like: their median length in characters, and the share with letters
    // beyond ASCII.
    std::vector<std::size_t> lengths;
    int wide = 0;
    for (const auto& name : LibraryNames(audio, audio / 20)) {
        lengths.push_back(static_cast<std::size_t>(QString::fromStdString(name).size()));
        wide += fw::IsAscii(name) ? 0 : 1;
    }
    std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
    state.counters["name_median"] = static_cast<double>(lengths[lengths.size() / 2]);
    state.counters["non_ascii_%"] = 100.0 * wide / static_cast<double>(lengths.size());
    fw::SetModalUI(ScriptedUI());
}
BENCHMARK(BM_AddFolder)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// Ctrl+A and then Delete, as keys on the list, each until the event loop answers again; the
// time of the Delete is the figure, the selection's is the counter `select_ms`.
void BM_RemoveAllThroughWindow(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    double selectMs = 0;
    for (auto _ : state) {
        auto window = WindowWithRows(rows);
        auto& view = View(*window);
        view.setFocus();
        QCoreApplication::processEvents();
        const auto untilAnswered = [&](auto press) {
            const auto start = BenchClock::now();
            press();
            view.viewport()->repaint();
            QCoreApplication::processEvents();
            return MillisecondsSince(start);
        };
        selectMs += untilAnswered([&] { QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier); });
        const double ms = untilAnswered([&] { QTest::keyClick(&view, Qt::Key_Delete); });
        state.SetIterationTime(ms / 1000);
        if (window->AlternatingList1().ListCount() != 0) {
            state.SkipWithError("rows were left");
        }
    }
    state.counters["select_ms"] = selectMs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RemoveAllThroughWindow)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    BenchApp app(argc, argv);
    ScriptedUI() = app.ui;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
