#pragma once

// The services a test hands the window: fakes, with the real file layer over a temporary folder.

#include "host/Services.h"
#include "support/FailingFileSystem.h"
#include "support/FakeClipboard.h"
#include "support/FakeClock.h"
#include "support/FakeDrives.h"
#include "support/FakeEnvironment.h"
#include "support/FakeHelpViewer.h"
#include "support/FakeRegistry.h"
#include "support/FakeTimer.h"
#include "support/FixedRandomSource.h"
#include "support/SystemCodePage.h"
#include "support/TempDir.h"

namespace orvanta::test {

/// One of each platform service, ready for a test:
///   - Windir is a fresh temporary folder (dataDir()), so a test can put psw.ini there directly;
///   - drive C: and the current drive are another (rootDir), also the environment's working directory;
///   - the program folder is a third (programDir);
///   - files go through the real file layer (which `files` can make fail), text through the real
///     code page; registry, clipboard, clock, timer, random numbers and help viewer are fakes.
///
///   TestServices s;
///   s.windowsDir.write("psw.ini", bytes);
///   MainWindow window(s.services());
struct TestServices {
    TestServices();
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    /// The services, referring to the members below.
    host::Services services();
    /// The value of Windir, as the program reads it.
    std::u16string dataDir() const { return windowsDir.u16path(); }
    /// The host path of `name` in the Windir folder.
    std::string dataFile(std::string_view name) const { return windowsDir.file(name); }

    TempDir windowsDir;
    TempDir rootDir;
    TempDir programDir;

    SystemCodePage codePage;
    FakeRegistry registry;
    FakeEnvironment env;
    FakeClipboard clipboard;
    FakeClock clock;
    FixedRandomSource random;
    FakeHelpViewer help;
    FakeDrives drives;
    FakeTimer timer;
    FailingFileSystem files{drives, env};
};

} // namespace orvanta::test
