#pragma once

// A window over fakes and a data file of many entries, shared by the benchmarks and the start-up
// yardstick, so both measure the same work.

#include "form/MainWindow.h"
#include "host/linux/HostFileSystem.h"
#include "host/linux/IcuCodePage.h"
#include "host/linux/imitate_windows/RegistryHive.h"
#include "rules/store/PswRecord.h"
#include "support/FakeClipboard.h"
#include "support/FakeClock.h"
#include "support/FakeDrives.h"
#include "support/FakeEnvironment.h"
#include "support/FakeHelpViewer.h"
#include "support/FakeTimer.h"
#include "support/FixedRandomSource.h"
#include "support/TempDir.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvanta::bench {

/// The hive the benchmarks and the start-up run share: a product identifier ending in 23, so both
/// store passwords with key 23.
inline constexpr std::string_view kHive =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
    "\"ProductId\"=\"55274-640-1234567-23\"\r\n";

/// How many destinations the full data file holds, each with two IDs: 33 header rows and 66 entries,
/// the 99 rows the record array takes.
inline constexpr int kDestinations = 33;

/// The window over the host's real file layer and code page, with psw.ini in a temporary Windir and
/// drive A: a floppy whose root is another temporary folder. Registry from kHive; clock, clipboard,
/// timer, random numbers and help viewer are the test fakes (a fixed clock keeps the backup list's
/// name the same, so a repeated backup replaces it instead of piling up files).
class BenchWindow {
public:
    BenchWindow();
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    /// The rows of the full data file: 99 rows, passwords of 12 characters and addresses in plain text.
    static std::vector<store::PswRecord> plainRows();
    /// The same without the second ID of the last two destinations: 97 rows, room for one more
    /// destination with its first ID.
    static std::vector<store::PswRecord> plainRows97();

    /// The bytes of psw.ini holding these rows, passwords and addresses in their stored form, as the
    /// program's own row writer writes them.
    std::string dataFile(const std::vector<store::PswRecord>& plain);

    /// Puts these bytes in place as psw.ini and starts the window over them.
    void start(std::string_view bytes);

    /// Chooses a destination and, when idIndex is not negative, one of its IDs, as clicks do.
    void choose(int destinationIndex, int idIndex);

    std::string dataPath() const { return windowsDir.file("psw.ini"); }
    std::string backupPath() const { return floppy.file("psw.bkp"); }

    test::TempDir windowsDir;
    test::TempDir rootDir;
    test::TempDir programDir;
    test::TempDir floppy;

    host::RegistryHive registry;
    test::FakeEnvironment environment;
    test::FakeDrives drives;
    host::HostFileSystem files{drives};
    host::IcuCodePage codePage;
    test::FakeClipboard clipboard;
    test::FakeClock clock;
    test::FixedRandomSource random;
    test::FakeHelpViewer help;
    test::FakeTimer timer;

    form::MainWindow window;
};

/// Writes a psw.ini of the 99 rows, stored with kHive's key, to a host path. False when it failed.
bool writeDataFile(const std::string& hostPath);

} // namespace orvanta::bench
