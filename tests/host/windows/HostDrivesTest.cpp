// The drives as Windows reports them, under Wine with a floppy drive.
#include "host/windows/HostDrives.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace orvanta::host {
namespace {

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
} // namespace orvanta::host
