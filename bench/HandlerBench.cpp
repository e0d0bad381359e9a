// orvanta_bench: every handler that reads or writes psw.ini, each timed side by side with its floor,
// the bare file work it cannot avoid, over the same 99-row data file on the host's real file layer.
//
//   readers  Form_Load, cmbnamae_Click, Lstidbox_Click   floor: read psw.ini + readRows
//   writers  kakidashi "new", "delete", "koushin"         floor: HostFileSystem::writeFile of the same bytes
//            btnunload_Click (バックアップ)                floor: read + readRows + write psw.bkp and the
//                                                          list
//            btnload_Click (ロード)                        floor: read psw.bkp + readRows + write the
//                                                          psw.ini it keeps as psw.ini.bak, and psw.ini
//
// Handler and floor run in the same loop, in turns, and are reported as the counters "handler",
// "floor" and "ratio". write_safety shows the durable write beside a plain write + rename with and
// without fsync, so what the safety costs stays visible. Everything is wall-clock time: a write
// mostly waits for the disk. scripts/bench.sh runs this and turns the medians into the README table.
//
//   orvanta_bench --write-psw-ini PATH   writes the 99-row psw.ini (for the start-up measurement)
#include "BenchWindow.h"
#include "host/Utf8.h"
#include "rules/store/RowFormat.h"

#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace orvanta::bench {
namespace {

using Clock = std::chrono::steady_clock;

/// Runs `step` once and adds its wall-clock time to `total`; false when the step failed.
template <typename Step> bool timed(double& total, Step&& step)
{
    const auto from = Clock::now();
    const bool done = step();
    total += std::chrono::duration<double>(Clock::now() - from).count();
    return done;
}

/// Times a handler and its floor side by side, once each per iteration, taking turns at going first,
/// so that both meet the disk in the same state (the machine is shared, and a flush to the disk can
/// take four times as long a minute later). `prepare` and `restore` run around the handler untimed:
/// they set the window up as the user's clicks would and put psw.ini back as it was.
///
/// Reported as counters in seconds per iteration: "handler", "floor", and "ratio" (handler / floor).
template <typename Prepare, typename Handler, typename Floor, typename Restore>
void sideBySide(benchmark::State& state, Prepare&& prepare, Handler&& handler, Floor&& floorStep,
                Restore&& restore)
{
    double handlerTime = 0;
    double floorTime = 0;
    bool floorFirst = false;
    for (auto _ : state) {
        if (floorFirst && !timed(floorTime, floorStep)) {
            state.SkipWithError("the floor failed");
            break;
        }
        prepare();
        if (!timed(handlerTime, handler)) {
            state.SkipWithError("the handler failed");
            break;
        }
        if (!floorFirst && !timed(floorTime, floorStep)) {
            state.SkipWithError("the floor failed");
            break;
        }
        restore();
        floorFirst = !floorFirst;
    }
    state.counters["handler"] = benchmark::Counter(handlerTime, benchmark::Counter::kAvgIterations);
    state.counters["floor"] = benchmark::Counter(floorTime, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = floorTime > 0 ? handlerTime / floorTime : 0;
}

void nothing() {}

/// The destination whose entries the readers and the update pick: in the middle of the file.
constexpr int kChosen = kDestinations / 2;

/// The readers' floor: psw.ini's bytes through the file layer, parsed by the one row reader.
bool readAndParse(BenchWindow& b, std::u16string_view path)
{
    auto bytes = b.files.readFile(path);
    if (!bytes)
        return false;
    auto rows = store::readRows(bytes.value(), b.codePage);
    benchmark::DoNotOptimize(rows);
    return !rows.problem;
}

/// The writers' floor: the same bytes the handler wrote, through the same durable write, to a file
/// beside it.
bool writeBeside(BenchWindow& b, std::u16string_view name, const std::string& bytes)
{
    return b.files.writeFile(b.windowsDir.u16path() + u"\\" + std::u16string(name), bytes).ok();
}

void Form_Load(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    const auto path = b.window.dataFilePath();
    sideBySide(
        state, nothing,
        [&] {
            b.window.Form_Load();
            return b.window.cmbnamae.items.size() == kDestinations;
        },
        [&] { return readAndParse(b, path); }, nothing);
}

void cmbnamae_Click(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    b.choose(kChosen, -1);
    const auto path = b.window.dataFilePath();
    sideBySide(
        state, nothing,
        [&] {
            b.window.cmbnamae_Click();
            return b.window.Lstidbox.items.size() == 2;
        },
        [&] { return readAndParse(b, path); }, nothing);
}

void Lstidbox_Click(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    b.choose(kChosen, 1);
    const auto expected = BenchWindow::plainRows()[kChosen * 3 + 2].password;
    const auto path = b.window.dataFilePath();
    sideBySide(
        state, nothing,
        [&] {
            b.window.Lstidbox_Click();
            return b.window.Lblpassword.text() == expected;
        },
        [&] { return readAndParse(b, path); }, nothing);
}

} // namespace

/// kakidashi with the operation word, set up as the handler that calls it sets it up. MainWindow lets
/// this class alone call its rewrite, which the handlers otherwise keep to themselves.
class Rewrite {
public:
    explicit Rewrite(BenchWindow& b) : m_b(b) {}

    /// As btnnew_Click: a new destination with its first ID.
    void prepareNew()
    {
        auto& w = m_b.window;
        w.cmbnamae.setText(kNewDestination);
        w.Txtnamae.setText(kNewDestination);
        w.Txtidbox.setText(u"yamada.taro");
        w.Txtpassnew.setText(u"Xk7#pQ2!mZ9_");
        w.Txtbikouran.setText(u"taro.yamada@example.jp");
        m_operation = w.newchek() ? form::MainWindow::Operation::None : form::MainWindow::Operation::New;
    }
    /// As btndelete_Click: the destination added by prepareNew (listed last) and its ID.
    void prepareDelete()
    {
        m_b.choose(kDestinations, 0);
        m_operation = form::MainWindow::Operation::Delete;
    }
    /// As Lstidbox_DblClick and btnkousin_Click: a new password for the chosen destination's first ID.
    void prepareUpdate(std::u16string password)
    {
        auto& w = m_b.window;
        m_b.choose(kChosen, 0);
        w.Txtnamae.setText(w.cmbnamae.selectedItem());
        w.Txtidbox.setText(w.Lstidbox.selectedItem());
        w.Txtpassnew.setText(std::move(password));
        w.Txtbikouran.setText(w.Lblbikouran.text());
        m_operation = form::MainWindow::Operation::Koushin;
    }
    /// kakidashi, then a fresh read as the handlers do after it.
    bool run() { return m_b.window.kakidashi(m_operation); }
    void reload() { m_b.window.Form_Load(); }

private:
    static constexpr const char16_t* kNewDestination = u"ポイントサイト（個人）";
    BenchWindow& m_b;
    form::MainWindow::Operation m_operation = form::MainWindow::Operation::None;
};

namespace {

/// Registration into the 97-row file (a new destination and its ID: two rows, 99 in all) and the
/// deletion of that entry, which takes the destination with it and gives back the file byte for
/// byte. One of the two is timed, the other undoes it.
void kakidashi_new_or_delete(benchmark::State& state, bool timeDelete)
{
    BenchWindow b;
    const auto original = b.dataFile(BenchWindow::plainRows97());
    b.start(original);
    Rewrite rewrite(b);

    const auto add = [&] {
        rewrite.prepareNew();
        return rewrite.run();
    };
    const auto remove = [&] {
        rewrite.reload();
        rewrite.prepareDelete();
        return rewrite.run();
    };
    // Once through, for the bytes each of them writes.
    add();
    const auto registered = b.windowsDir.read("psw.ini");
    remove();
    rewrite.reload();
    if (b.windowsDir.read("psw.ini") != original) {
        state.SkipWithError("psw.ini did not come back as it was");
        return;
    }

    if (!timeDelete) {
        sideBySide(
            state, [&] { rewrite.prepareNew(); }, [&] { return rewrite.run(); },
            [&] { return writeBeside(b, u"floor.ini", registered); },
            [&] {
                remove();
                rewrite.reload();
            });
    } else {
        sideBySide(
            state,
            [&] {
                add();
                rewrite.reload();
                rewrite.prepareDelete();
            },
            [&] { return rewrite.run(); }, [&] { return writeBeside(b, u"floor.ini", original); },
            [&] { rewrite.reload(); });
    }
    if (b.windowsDir.read("psw.ini") != original)
        state.SkipWithError("psw.ini did not come back as it was");
}

void kakidashi_new(benchmark::State& state)
{
    kakidashi_new_or_delete(state, false);
}

void kakidashi_delete(benchmark::State& state)
{
    kakidashi_new_or_delete(state, true);
}

/// An update of one password on the 99-row file, alternating between two passwords of the same
/// length, so every iteration writes a file of the same size.
void kakidashi_koushin(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    Rewrite rewrite(b);
    const std::u16string passwords[2] = {u"Xk7#pQ2!mZ9_", u"r4T{vW8]nB1%"};
    int turn = 0;
    rewrite.prepareUpdate(passwords[1]);
    rewrite.run();
    rewrite.reload();
    const auto written = b.windowsDir.read("psw.ini");
    sideBySide(
        state, [&] { rewrite.prepareUpdate(passwords[turn]); }, [&] { return rewrite.run(); },
        [&] { return writeBeside(b, u"floor.ini", written); },
        [&] {
            rewrite.reload();
            turn = 1 - turn;
        });
}

constexpr std::u16string_view kListName = u"20240401123456_psw.csv"; // the fake clock's time

void btnunload_Click(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    b.window.btnunload_Click();
    const auto backupBytes = b.floppy.read("psw.bkp");
    const auto listBytes = b.floppy.read(host::toUtf8(kListName).value_or(""));
    const auto path = b.window.dataFilePath();
    sideBySide(
        state, nothing,
        [&] {
            b.window.btnunload_Click();
            // "退避＆一覧書出し完了（保存先：A:\）"
            return b.window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了");
        },
        [&] {
            return readAndParse(b, path) && b.files.writeFile(u"A:\\floor.bkp", backupBytes).ok() &&
                   b.files.writeFile(u"A:\\floor.csv", listBytes).ok();
        },
        nothing);
}

void btnload_Click(benchmark::State& state)
{
    BenchWindow b;
    b.start(b.dataFile(BenchWindow::plainRows()));
    b.window.btnunload_Click();
    b.window.btnload_Click();
    const auto loaded = b.windowsDir.read("psw.ini");
    sideBySide(
        state, nothing,
        [&] {
            b.window.btnload_Click();
            return b.window.Txtmassage.text() == u"ＬＯＡＤ完了";
        },
        // ロード keeps the psw.ini it replaces as psw.ini.bak, a second durable write.
        [&] {
            return readAndParse(b, u"A:\\psw.bkp") && writeBeside(b, u"floor.bak", loaded) &&
                   writeBeside(b, u"floor.ini", loaded);
        },
        nothing);
    if (b.windowsDir.read("psw.ini") != loaded)
        state.SkipWithError("a second load gave another psw.ini");
}

/// The same bytes written the plain way: a temporary file, write(2), rename(2), and, when durable,
/// fsync of the file before the rename and of the folder after it.
bool plainWrite(const std::string& folder, const std::string& target, std::string_view bytes, bool durable)
{
    const std::string temporary = target + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    while (!bytes.empty()) {
        const ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            close(fd);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    if (durable && fsync(fd) != 0) {
        close(fd);
        return false;
    }
    if (close(fd) != 0 || rename(temporary.c_str(), target.c_str()) != 0)
        return false;
    if (durable) {
        const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory < 0)
            return false;
        fsync(directory);
        close(directory);
    }
    return true;
}

/// What the durable write costs: psw.ini's bytes through HostFileSystem::writeFile, through a plain
/// write + rename with both flushes, and through a plain write + rename with none, in turns.
/// Counters: "file_layer", "fsync", "no_fsync", seconds per write.
void write_safety(benchmark::State& state)
{
    BenchWindow b;
    const auto bytes = b.dataFile(BenchWindow::plainRows());
    b.start(bytes);
    const auto folder = b.windowsDir.path();
    double layer = 0;
    double durable = 0;
    double plain = 0;
    int turn = 0;
    for (auto _ : state) {
        const std::function<bool()> writes[3] = {
            [&] { return writeBeside(b, u"layer.ini", bytes); },
            [&] { return plainWrite(folder, b.windowsDir.file("durable.ini"), bytes, true); },
            [&] { return plainWrite(folder, b.windowsDir.file("plain.ini"), bytes, false); }};
        double* totals[3] = {&layer, &durable, &plain};
        for (int k = 0; k < 3; ++k) {
            const int which = (turn + k) % 3;
            if (!timed(*totals[which], writes[which])) {
                state.SkipWithError("a write failed");
                return;
            }
        }
        turn = (turn + 1) % 3;
    }
    state.counters["file_layer"] = benchmark::Counter(layer, benchmark::Counter::kAvgIterations);
    state.counters["fsync"] = benchmark::Counter(durable, benchmark::Counter::kAvgIterations);
    state.counters["no_fsync"] = benchmark::Counter(plain, benchmark::Counter::kAvgIterations);
}

BENCHMARK(Form_Load)->UseRealTime();
BENCHMARK(cmbnamae_Click)->UseRealTime();
BENCHMARK(Lstidbox_Click)->UseRealTime();
BENCHMARK(kakidashi_new)->UseRealTime();
BENCHMARK(kakidashi_delete)->UseRealTime();
BENCHMARK(kakidashi_koushin)->UseRealTime();
BENCHMARK(btnunload_Click)->UseRealTime();
BENCHMARK(btnload_Click)->UseRealTime();
BENCHMARK(write_safety)->UseRealTime();

} // namespace
} // namespace orvanta::bench

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--write-psw-ini")
        return orvanta::bench::writeDataFile(argv[2]) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
