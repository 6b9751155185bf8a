#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdlib>

#include "bench/BenchSupport.h"
#include "framework/ListboxView.h"
#include "listview/RatingCell.h"

namespace {

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

// Add Folder on a real folder: from the answer of the dialog until the event loop has done
// what the intake left for it; the floor is `find` on the same folder.
void BM_AddFolder(benchmark::State& state) {
    static QTemporaryDir dir;
    const QString folder = FolderOfAudioFiles(dir, static_cast<int>(state.range(0)));
    auto* ui = static_cast<fw::ScriptedModalUI*>(&fw::CurrentModalUI());
    Versus v;
    for (auto _ : state) {
        fw::Window::CloseAll();
        QCoreApplication::processEvents();
        auto window = Main::Instance();
        QCoreApplication::processEvents();
        ui->folderAnswers.push_back(folder.toStdString());
        const double floor = FindFloorMs(folder);
        const auto start = BenchClock::now();
        window->OpenFolder();
        QCoreApplication::processEvents();
        const double ms = MillisecondsSince(start);
        state.SetIterationTime(ms / 1000);
        v.Add(ms, floor);
        if (window->AlternatingList1().ListCount() != state.range(0)) {
            state.SkipWithError("the folder was not listed whole");
        }
    }
    v.Report(state);
}
BENCHMARK(BM_AddFolder)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    BenchApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
