// The drives as Windows reports them, under Wine with a floppy drive.
#include "host/windows/HostDrives.h"

#include "host/WidthFold.h"
#include "rules/backup/Module2.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace orvanta::platform {
namespace {

bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(HostDrives, DriveCIsAFixedDriveWithItsOwnRoot)
{
    const HostDrives drives;
    EXPECT_EQ(drives.GetDriveTypeA("C:\\"), DRIVE_FIXED);
    EXPECT_EQ(drives.root('c'), std::optional<std::string>("C:\\"));
    EXPECT_EQ(drives.GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(drives.root('Q'), std::nullopt);
    EXPECT_EQ(drives.root('1'), std::nullopt);
    EXPECT_FALSE(drives.displayName("C:\\").empty());
}

// The floppy drive the test script makes: a drive link in the Wine prefix and "a:"="floppy" under
// HKLM\Software\Wine\Drives.
TEST(HostDrives, TheFloppyDriveIsFoundByItsTypeAndDisplayName)
{
    const char* letter = std::getenv("ORVANTA_TEST_FLOPPY");
    if (letter == nullptr || *letter == '\0') {
        GTEST_SKIP() << "no floppy drive was set up (scripts/windows-test.sh makes one)";
    }
    const HostDrives drives;
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
        EXPECT_NE(toHalfwidth(name).find(u"ｲﾝﾁ FD ("), std::u16string::npos);
        EXPECT_EQ(backup::FindFloppyDrives(drives), std::u16string(1, static_cast<char16_t>(letter[0])));
    }
}

// A backup goes to a drive only while it holds a medium. The test script's B: is a floppy drive
// without a disk: asking it must neither bring up Windows' "insert a disk" box nor say yes.
TEST(HostDrives, ADriveHoldsAMediumOnlyWithADiskInIt)
{
    const char* floppy = std::getenv("ORVANTA_TEST_FLOPPY");
    const char* empty = std::getenv("ORVANTA_TEST_EMPTY_FLOPPY");
    if (!floppy || !*floppy || !empty || !*empty) {
        GTEST_SKIP() << "no floppy drives were set up (scripts/windows-test.sh makes them)";
    }
    const HostDrives drives;
    EXPECT_EQ(drives.GetDriveTypeA(std::string{empty[0], ':', '\\'}), DRIVE_REMOVABLE);
    for (const auto& [root, medium] :
         {std::pair{std::string("C:\\"), true}, std::pair{std::string{floppy[0], ':', '\\'}, true},
          std::pair{std::string{empty[0], ':', '\\'}, false}, std::pair{std::string("Q:\\"), false}}) {
        EXPECT_EQ(drives.hasMedium(root), medium) << root;
    }
}

} // namespace
} // namespace orvanta::platform
