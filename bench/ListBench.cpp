#include <benchmark/benchmark.h>

#include <QImage>
#include <QMainWindow>
#include <QPainter>

#include <cstdlib>

#include "bench/BenchSupport.h"
#include "framework/ListboxView.h"
#include "listview/RatingCell.h"

namespace {

fw::ListboxView& View(Main& window) {
    return *static_cast<fw::ListboxView*>(window.AlternatingList1().Widget());
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

void BM_SortByRating(benchmark::State& state) {
    auto window = WindowWithRows(static_cast<int>(state.range(0)));
    auto& list = window->AlternatingList1();
    for (fw::Int32 i = 0; i < list.ListCount(); ++i) {
        fw::VariantCast<CustomListboxCell>(list.CellTag(i, 3))->setValue(1 + (i * 7919) % 3);
    }
    bool ascending = true;
    for (auto _ : state) {
        list.SortByColumn(3, ascending);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortByRating)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_SortByName(benchmark::State& state) {
    auto window = WindowWithRows(static_cast<int>(state.range(0)));
    bool ascending = true;
    for (auto _ : state) {
        window->AlternatingList1().SortByColumn(0, ascending);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortByName)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

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

void BM_AddFolder(benchmark::State& state) {
    static QTemporaryDir dir;
    const QString folder = FolderOfAudioFiles(dir, static_cast<int>(state.range(0)));
    auto* ui = static_cast<fw::ScriptedModalUI*>(&fw::CurrentModalUI());
    for (auto _ : state) {
        state.PauseTiming();
        fw::Window::CloseAll();
        auto window = Main::Instance();
        ui->folderAnswers.push_back(folder.toStdString());
        state.ResumeTiming();
        window->OpenFolder();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window->AlternatingList1().ListCount());
    }
}
BENCHMARK(BM_AddFolder)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(2);

// From asking for the window to its first paint.
void BM_StartupToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        fw::Window::CloseAll();
        QCoreApplication::processEvents();
        auto window = Main::Instance();
        window->Widget()->repaint();
        benchmark::DoNotOptimize(window.get());
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    BenchApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
