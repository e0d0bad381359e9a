#pragma once

// A machine for the backup tests: its own data folder, key and floppy drive, so a backup can be
// written on one machine and loaded on another.

#include "form/MainWindow.h"
#include "support/Rows.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace orvanta::test {

inline constexpr std::u16string_view kProductKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

/// One machine with the program: its own data folder, its own key (from the product identifier) and,
/// unless told otherwise, a floppy drive A: whose disk is `floppyRoot`.
struct Machine {
    explicit Machine(std::u16string_view productId, const std::string& floppyRoot) : window(s.services())
    {
        s.registry.setText(host::HKEY_LOCAL_MACHINE, kProductKey, u"ProductId", productId);
        if (!floppyRoot.empty())
            s.drives.setDrive('A', floppyRoot, host::DRIVE_REMOVABLE, u"3.5 インチ FD (A:)");
        s.clock.set({2026, 2, 3, 9, 5, 7});
        window.Form_Load();
    }

    /// Puts psw.ini in place and starts the window over it.
    void start(const std::string& pswIni)
    {
        s.windowsDir.write("psw.ini", pswIni);
        window.Form_Load();
    }
    std::string dataFile() const { return s.windowsDir.read("psw.ini"); }
    /// psw.ini's path as messages show it.
    std::u16string dataFilePath() const { return s.files.shownPath(s.dataDir() + u"\\psw.ini"); }

    TestServices s;
    form::MainWindow window;
};

/// The bytes of psw.ini holding these rows, the passwords stored with `machine`'s key and the mail
/// fields written as they stand (in their stored form already).
inline std::string dataFileOf(Machine& machine, const std::vector<PlainRow>& rows)
{
    return rowsFile(
        rows, [&](std::u16string_view plain) { return machine.window.encodeText(plain); },
        [](std::u16string_view stored) { return std::u16string(stored); });
}

/// The names in a folder, to see that nothing half-written or unexpected was left there.
inline std::set<std::string> filesIn(const std::string& folder)
{
    const auto names = namesIn(folder);
    return {names.begin(), names.end()};
}

inline unsigned permissions(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return 0;
    return info.st_mode & 0777U;
}

} // namespace orvanta::test
