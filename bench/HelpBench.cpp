// help_bench: what F1 costs as the help file grows, over the shapes of file that once kept the window
// busy for minutes: one long paragraph, a list of many items, and a line of backticks and `**x`. Each
// is read at 64 KiB, 256 KiB (the largest help file F1 shows), 1 and 4 MiB, and Google Benchmark fits
// the growth to a line (Complexity: the RMS says how well). With the Qt window built, the files of 64 and
// 256 KiB are also shown in its help window (offscreen) and laid out to the last line, as the window
// lays them out when it shows them.
//
//   help_bench [--benchmark_filter=Reader]   on a quiet machine; bench/README.md keeps the figures
#include "form/HelpText.h"

#include <benchmark/benchmark.h>
#include <string>

#ifdef ORVANTA_HELP_BENCH_QT
#include "view/qt/QtHelpViewer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBrowser>
#include <QTextDocument>
#endif

namespace orvanta::bench {
namespace {

enum Shape : int { Paragraph, Items, Marks };

/// A help file of `size` bytes (to the last whole line) in one of the shapes.
std::string helpFile(Shape shape, std::size_t size)
{
    std::string bytes;
    for (int i = 0; bytes.size() < size; ++i)
        if (shape == Paragraph)
            bytes += "これは長い段落の一行です word\n";
        else if (shape == Items)
            bytes += "- 項目 " + std::to_string(i) + "\n";
        else
            bytes += "`**x";
    const auto lastLine = bytes.rfind('\n', size);
    bytes.resize(shape == Marks ? size : lastLine + 1);
    return bytes;
}

/// The reader at 64 KiB, 256 KiB (the largest help file F1 shows), and 1 and 4 MiB, beyond the
/// processor's caches; the window at the first two.
void readerSizes(benchmark::internal::Benchmark* b)
{
    for (const int kib : {64, 256, 1024, 4096})
        b->Arg(kib * 1024);
    b->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}
void windowSizes(benchmark::internal::Benchmark* b)
{
    for (const int kib : {64, 256})
        b->Arg(kib * 1024);
    b->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)->Iterations(3);
}

void Reader(benchmark::State& state, Shape shape)
{
    const auto bytes = helpFile(shape, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(form::readHelpFile(bytes));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK_CAPTURE(Reader, paragraph, Paragraph)->Apply(readerSizes);
BENCHMARK_CAPTURE(Reader, items, Items)->Apply(readerSizes);
BENCHMARK_CAPTURE(Reader, marks, Marks)->Apply(readerSizes);

#ifdef ORVANTA_HELP_BENCH_QT
/// The Qt window's help: read, shown in its text browser, and laid out to the last line.
void QtWindow(benchmark::State& state, Shape shape)
{
    const auto help = *form::readHelpFile(helpFile(shape, static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        view::QtHelpViewer viewer;
        viewer.show(help);
        for (auto* widget : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<QTextBrowser*>(widget))
                benchmark::DoNotOptimize(browser->document()->documentLayout()->documentSize());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(QtWindow, paragraph, Paragraph)->Apply(windowSizes);
BENCHMARK_CAPTURE(QtWindow, items, Items)->Apply(windowSizes);
BENCHMARK_CAPTURE(QtWindow, marks, Marks)->Apply(windowSizes);
#endif

} // namespace
} // namespace orvanta::bench

int main(int argc, char** argv)
{
#ifdef ORVANTA_HELP_BENCH_QT
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
