// The drive the program takes for the floppy drive, as Windows' shell names the drives.
#include "host/WidthFold.h"
#include "host/windows/HostDrives.h"
#include "rules/backup/Module2.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace orvanta::form {
namespace {

bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The floppy drive the test script makes: a drive link in the Wine prefix and "a:"="floppy" under
// HKLM\Software\Wine\Drives.
TEST(FloppyDriveWin32Test, TheFloppyDriveIsFoundByItsTypeAndDisplayName)
{
    const char* letter = std::getenv("ORVANTA_TEST_FLOPPY");
    if (letter == nullptr || *letter == '\0') {
        GTEST_SKIP() << "no floppy drive was set up (scripts/windows-test.sh makes one)";
    }
    const host::HostDrives drives;
    const std::string root{letter[0], ':', '\\'};
    EXPECT_EQ(drives.GetDriveTypeA(root), DRIVE_REMOVABLE);
    EXPECT_EQ(drives.root(letter[0]), std::optional<std::string>(root));

    // What the shell calls the drive decides whether the program takes it for a floppy drive.
    const std::u16string name = drives.displayName(root);
    RecordProperty("floppyDisplayName", testing::PrintToString(name));
    const std::u16string drive = u" (" + std::u16string(1, static_cast<char16_t>(letter[0])) + u":)";
    if (runsUnderWine()) {
        // Wine 8's shell names a drive by its volume label only, whatever its type: a floppy drive
        // without a label is " (A:)", so under Wine the program finds no floppy drive at all.
        EXPECT_EQ(name, drive);
        EXPECT_EQ(backup::FindFloppyDrives(drives), u"");
    } else {
        // Japanese Windows: "3.5 インチ FD (A:)".
        EXPECT_NE(host::toHalfwidth(name).find(u"ｲﾝﾁ FD ("), std::u16string::npos);
        EXPECT_EQ(backup::FindFloppyDrives(drives), std::u16string(1, static_cast<char16_t>(letter[0])));
    }
}

} // namespace
} // namespace orvanta::form
