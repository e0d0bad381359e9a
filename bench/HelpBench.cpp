// help_bench: what F1 costs as the help file grows, over the shapes of file that once kept the window
// busy for minutes: one long paragraph, a list of many items, and a line of backticks and `**x`. Each
// is read at 16, 64 and 256 KiB (the largest help file F1 shows); Google Benchmark fits the growth
// (Complexity), which must come out linear. With the Qt window built, the same files are also shown in
// its help window (offscreen) and laid out whole, as the window lays them out when it shows them.
//
//   help_bench [--benchmark_filter=Reader]   on a quiet machine; bench/README.md keeps the figures
#include "app/HelpText.h"

#include <benchmark/benchmark.h>
#include <string>

#ifdef ORVANTA_HELP_BENCH_QT
#include "view/QtHelpViewer.h"

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

void sizes(benchmark::internal::Benchmark* b)
{
    for (const int kib : {16, 64, 256})
        b->Arg(kib * 1024);
    b->Complexity(benchmark::oAuto)->Unit(benchmark::kMillisecond);
}

void Reader(benchmark::State& state, Shape shape)
{
    const auto bytes = helpFile(shape, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(app::readHelpFile(bytes));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK_CAPTURE(Reader, paragraph, Paragraph)->Apply(sizes);
BENCHMARK_CAPTURE(Reader, items, Items)->Apply(sizes);
BENCHMARK_CAPTURE(Reader, marks, Marks)->Apply(sizes);

#ifdef ORVANTA_HELP_BENCH_QT
/// The Qt window's help: read, shown in its text browser, and laid out to the last line.
void QtWindow(benchmark::State& state, Shape shape)
{
    const auto help = *app::readHelpFile(helpFile(shape, static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        view::QtHelpViewer viewer;
        viewer.show(help);
        for (auto* widget : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<QTextBrowser*>(widget))
                benchmark::DoNotOptimize(browser->document()->documentLayout()->documentSize());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(QtWindow, paragraph, Paragraph)->Apply(sizes)->Iterations(3);
BENCHMARK_CAPTURE(QtWindow, items, Items)->Apply(sizes)->Iterations(3);
BENCHMARK_CAPTURE(QtWindow, marks, Marks)->Apply(sizes)->Iterations(3);
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
