// psw.ini after the program is killed in the middle of a registration, an update, a deletion or a
// ロード: the window runs in a child process that dies by SIGKILL at every step of the write and at
// random moments, and afterwards psw.ini must be the old file or the new one, byte for byte, and the
// program must start over it and list every destination it holds.
#include "host/FileRules.h"
#include "host/linux/HostFileSystem.h"
#include "rules/store/RowFormat.h"
#include "support/WatchedCalls.h"
#include "support/WindowDriver.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvanta::test {
namespace {

using Destinations = std::vector<std::u16string>;

/// Chooses `item` in a list or combo box as a click on it does; false when it is not there.
bool choose(form::Control& list, std::u16string_view item)
{
    const auto found = std::find(list.items.begin(), list.items.end(), item);
    list.listIndex = found == list.items.end() ? -1 : static_cast<int>(found - list.items.begin());
    return found != list.items.end();
}

/// Chooses a destination and an ID and double-clicks the ID: edit mode on that entry.
bool openEntry(form::MainWindow& w, std::u16string_view destination, std::u16string_view id)
{
    if (!choose(w.cmbnamae, destination))
        return false;
    w.cmbnamae_Click();
    if (!choose(w.Lstidbox, id))
        return false;
    w.Lstidbox_Click();
    w.Lstidbox_DblClick();
    return true;
}

/// One thing the user does that rewrites psw.ini, from the window over the starting file.
struct Operation {
    const char* name;
    /// Brings the window to the moment before the click (choosing the entry, filling the boxes);
    /// false when the window does not show what the user would choose.
    std::function<bool(form::MainWindow&)> prepare;
    /// The click that writes psw.ini.
    std::function<void(form::MainWindow&)> click;
    /// What the click says when it has written the file.
    std::u16string_view done;
    Destinations destinationsAfter;
    /// How many files the click writes; psw.ini is the last of them.
    int writes = 1;
};

const Destinations kDestinationsBefore{u"Mail", u"銀行"};

const std::vector<Operation>& operations()
{
    static const std::vector<Operation> all{
        {"registration",
         [](form::MainWindow& w) {
             w.btnnewmode_Click();
             w.cmbnamae.setText(u"ショップ");
             w.Txtidbox.setText(u"shop-id");
             w.Txtpassnew.setText(u"pw!2");
             w.Txtbikouran.setText(u"");
             return true;
         },
         [](form::MainWindow& w) { w.btnnew_Click(); }, u"登録完了ショップの shop-id:pw!2",
         Destinations{u"Mail", u"銀行", u"ショップ"}},
        {"update",
         [](form::MainWindow& w) {
             if (!openEntry(w, u"Mail", u"taro"))
                 return false;
             w.Txtnamae.setText(u"ウェブメール");
             w.Txtpassnew.setText(u"new1");
             return true;
         },
         [](form::MainWindow& w) { w.btnkousin_Click(); }, u"更新完了ウェブメールの taro:new1",
         Destinations{u"ウェブメール", u"銀行"}},
        {"deletion", [](form::MainWindow& w) { return openEntry(w, u"銀行", u"1234"); },
         [](form::MainWindow& w) { w.btndelete_Click(); }, u"削除完了銀行の 1234:pin0",
         Destinations{u"Mail"}},
        {"restore", [](form::MainWindow&) { return true; }, [](form::MainWindow& w) { w.btnload_Click(); },
         u"ＬＯＡＤ完了", Destinations{u"Backup", u"二番"}, 2},
    };
    return all;
}

/// A data folder with the starting psw.ini and, on the current drive's root, a psw.bkp that the
/// program wrote from other rows.
class CrashSite {
public:
    CrashSite()
    {
        d.start({header(u"Backup", u"1"), entry(u"Backup", u"b1", u"bk-1"), header(u"二番", u"1"),
                 entry(u"二番", u"b2", u"bk-2", u"b@x.jp")});
        d.window.btnunload_Click();
        EXPECT_TRUE(d.window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了"));
        backup = d.services.rootDir.read("psw.bkp");
        oldFile = d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                              entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                              entry(u"銀行", u"1234", u"pin0")});
    }

    /// Puts the starting psw.ini back and starts the window over it.
    void reset() { d.start(oldFile); }

    /// The destinations a fresh start of the program lists over the folder as it is now; a
    /// message when the file did not read cleanly.
    std::variant<Destinations, std::u16string> freshStart()
    {
        WindowDriver fresh;
        // The same machine, and so the same key, but its own services over this data folder.
        fresh.services.env.set(u"Windir", d.services.dataDir());
        fresh.window.Form_Load();
        if (!fresh.window.dataFileSound())
            return fresh.window.Txtmassage.text();
        return fresh.window.cmbnamae.items;
    }

    /// The names in the data folder that are not psw.ini or the psw.ini.bak a load keeps: the temporary
    /// files a kill left behind.
    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::directory_iterator(d.services.windowsDir.path()))
            if (file.path().filename() != "psw.ini" && file.path().filename() != "psw.ini.bak")
                names.push_back(file.path().filename().string());
        return names;
    }

    WindowDriver d;
    std::string backup;
    std::string oldFile;
};

/// Runs `operation` in a child process over `site`'s folder. The child kills itself at write step
/// `killAtStep` (counting from 0 over every step of every write), or, when `readyPipe` is given,
/// tells the parent through it that the click is about to happen so that the parent may kill it.
pid_t runInChild(CrashSite& site, const Operation& operation, int killAtStep, int readyPipe = -1)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // The child: never returns into the test, never runs the parent's destructors (they would
    // remove the folders).
    int steps = 0;
    host::HostFileSystem files(site.d.services.drives, failingAt([&](WriteStep) {
                                   if (steps++ == killAtStep)
                                       std::raise(SIGKILL);
                                   return 0;
                               }));
    auto& s = site.d.services;
    host::Services services{s.registry, s.env,    files,  s.codePage, s.clipboard,
                            s.clock,    s.random, s.help, s.drives,   s.timer};
    form::MainWindow window(services);
    window.Form_Load();
    if (!operation.prepare(window))
        _exit(4);
    if (readyPipe >= 0) {
        const char ready = 'r';
        if (write(readyPipe, &ready, 1) != 1)
            _exit(3);
    }
    operation.click(window);
    _exit(window.Txtmassage.text() == operation.done ? 0 : 2);
}

/// How the child ended: killed, or exited with the status it gave.
struct Ending {
    bool killed = false;
    int exitStatus = 0;
};

Ending waitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return {WTERMSIG(status) == SIGKILL, -1};
    return {false, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

struct Tally {
    int tried = 0;
    int survived = 0;
};

Tally& tally()
{
    static Tally total;
    return total;
}

class CrashSafetyTest : public ::testing::TestWithParam<Operation> {
protected:
    void SetUp() override
    {
        // The file the operation writes when nothing stops it, taken from a run in this process.
        site.reset();
        ASSERT_TRUE(GetParam().prepare(site.d.window));
        const auto start = std::chrono::steady_clock::now();
        GetParam().click(site.d.window);
        clickTime = std::chrono::steady_clock::now() - start;
        ASSERT_EQ(site.d.window.Txtmassage.text(), GetParam().done);
        newFile = site.d.file();
        ASSERT_NE(newFile, site.oldFile);
    }

    /// After a kill: psw.ini is the old or the new file, psw.bkp is untouched, and a fresh start
    /// lists the destinations of whichever file it is. Counts the kill point as survived.
    void expectOldOrNew(const std::string& what)
    {
        SCOPED_TRACE(what);
        ++tally().tried;
        const auto now = site.d.file();
        const bool isOld = now == site.oldFile;
        const bool isNew = now == newFile;
        EXPECT_TRUE(isOld || isNew) << "psw.ini is neither the old file nor the new one (" << now.size()
                                    << " bytes)";
        EXPECT_EQ(site.d.services.rootDir.read("psw.bkp"), site.backup);
        const auto started = site.freshStart();
        const Destinations expected = isNew ? GetParam().destinationsAfter : kDestinationsBefore;
        const auto* listed = std::get_if<Destinations>(&started);
        EXPECT_TRUE(listed != nullptr && *listed == expected) << "the program does not start over psw.ini";
        // What a kill may leave: the temporary file of the write it stopped, and the folder's lock file.
        for (const auto& name : site.leftovers())
            EXPECT_TRUE((name.starts_with(".psw.ini.") && host::isLeftoverName(name)) ||
                        name == ".orvanta.lock")
                << name;
        // The file a load replaced is kept whole or not at all.
        if (std::filesystem::exists(site.d.services.dataFile("psw.ini.bak"))) {
            EXPECT_EQ(site.d.services.windowsDir.read("psw.ini.bak"), site.oldFile);
        }
        if ((isOld || isNew) && listed != nullptr && *listed == expected)
            ++tally().survived;
    }

    CrashSite site;
    std::chrono::steady_clock::duration clickTime{};
    std::string newFile;
};

TEST_P(CrashSafetyTest, KilledAtEveryStepOfTheWriteLeavesTheOldFile)
{
    // Open, Write, Sync and Rename of each write, then the flush of the folder: a kill before the
    // rename of psw.ini leaves the old file, a kill after it the new one.
    const int kSteps = 5 * GetParam().writes;
    const int kRenamedAfter = kSteps - 1;
    for (int step = 0; step <= kSteps; ++step) {
        site.reset();
        const auto ending = waitFor(runInChild(site, GetParam(), step));
        if (step < kSteps) {
            ASSERT_TRUE(ending.killed) << "the write has fewer steps than " << step + 1;
            EXPECT_EQ(site.d.file(), step < kRenamedAfter ? site.oldFile : newFile)
                << "killed at step " << step;
        } else {
            ASSERT_FALSE(ending.killed) << "the write has more steps than " << kSteps;
            EXPECT_EQ(ending.exitStatus, 0);
            EXPECT_EQ(site.d.file(), newFile);
        }
        expectOldOrNew("step " + std::to_string(step));
    }
    // The temporary files the kills left behind do not stand in the way of the next write, and it
    // removes them: they may hold every password in plain text.
    site.reset();
    ASSERT_TRUE(waitFor(runInChild(site, GetParam(), 2)).killed);
    ASSERT_FALSE(site.leftovers().empty());
    site.reset();
    ASSERT_TRUE(GetParam().prepare(site.d.window));
    GetParam().click(site.d.window);
    EXPECT_EQ(site.d.window.Txtmassage.text(), GetParam().done);
    EXPECT_EQ(site.d.file(), newFile);
    EXPECT_EQ(site.leftovers(), std::vector<std::string>{});
}

TEST_P(CrashSafetyTest, KilledAtRandomMomentsLeavesTheOldOrTheNewFile)
{
    constexpr int kKills = 40;
    // Kills spread over the click and a little past it, so that some land before, some during and
    // some after the write.
    const auto span = std::max<long long>(
        50, 3 * std::chrono::duration_cast<std::chrono::microseconds>(clickTime).count() / 2);
    std::mt19937 random(20260203u + static_cast<unsigned>(std::string_view(GetParam().name).size()));
    std::uniform_int_distribution<long long> delay(0, span);
    int sawOld = 0;
    int sawNew = 0;
    for (int i = 0; i < kKills; ++i) {
        site.reset();
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t pid = runInChild(site, GetParam(), -1, pipeEnds[1]);
        close(pipeEnds[1]);
        char ready = 0;
        const bool childReady = read(pipeEnds[0], &ready, 1) == 1;
        close(pipeEnds[0]);
        if (childReady)
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(pid, SIGKILL);
        const auto ending = waitFor(pid);
        EXPECT_TRUE(ending.killed || ending.exitStatus == 0) << "the child failed: " << ending.exitStatus;
        (site.d.file() == newFile ? sawNew : sawOld) += 1;
        expectOldOrNew("kill " + std::to_string(i));
    }
    std::printf("%s: %d random kills left the old file, %d the new one\n", GetParam().name, sawOld, sawNew);
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, CrashSafetyTest, ::testing::ValuesIn(operations()),
                         [](const ::testing::TestParamInfo<Operation>& param) {
                             return std::string(param.param.name);
                         });

/// Prints the measured count once every kill has been checked.
class CountPrinter : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::printf("crash safety: %d kill points, %d left psw.ini old or new\n", tally().tried,
                    tally().survived);
    }
};

const auto* const kCountPrinter = ::testing::AddGlobalTestEnvironment(new CountPrinter);

} // namespace
} // namespace orvanta::test
