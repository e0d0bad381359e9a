// Finding the floppy drives and the removable drive a backup goes to (Module2).
#include "BackupMachine.h"
#include "rules/backup/Module2.h"
#include "support/FakeDrives.h"

#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace orvanta::test {
namespace {

using host::DRIVE_CDROM;
using host::DRIVE_FIXED;
using host::DRIVE_REMOTE;
using host::DRIVE_REMOVABLE;

/// Drives that remember which ones were asked for their display name.
class WatchedDrives final : public host::Drives {
public:
    explicit WatchedDrives(const FakeDrives& drives) : m_drives(drives) {}
    std::uint32_t GetDriveTypeA(std::string_view rootPath) const override
    {
        return m_drives.GetDriveTypeA(rootPath);
    }
    std::u16string displayName(std::string_view rootPath) const override
    {
        named.insert(std::string(rootPath));
        return m_drives.displayName(rootPath);
    }
    std::optional<std::string> root(char letter) const override { return m_drives.root(letter); }
    bool hasMedium(std::string_view rootPath) const override { return m_drives.hasMedium(rootPath); }
    std::string currentDriveRoot() const override { return m_drives.currentDriveRoot(); }

    mutable std::set<std::string> named;

private:
    const FakeDrives& m_drives;
};

struct Drive {
    char letter;
    std::uint32_t type;
    std::u16string displayName;
    bool medium = true;
};

struct FloppyCase {
    const char* title;
    std::vector<Drive> drives;
    std::u16string letters;
    std::u16string prefix;
};

/// A literal whole, NULs included.
template <std::size_t N> std::u16string withNuls(const char16_t (&text)[N])
{
    return std::u16string(text, N - 1);
}

const std::u16string kNameCutBeforeMark = withNuls(u"USB\0 3.5 インチ FD (A:)");
const std::u16string kNameWithTail = withNuls(u"3.5 インチ FD (A:)\0old name");

const std::vector<FloppyCase> kFloppyCases{
    {"one floppy drive at A:",
     {{'A', DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"}, {'C', DRIVE_FIXED, u"ローカル ディスク (C:)"}},
     u"A",
     u"A:"},
    {"two floppy drives take the first",
     {{'A', DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"}, {'B', DRIVE_REMOVABLE, u"5.25 インチ FD (B:)"}},
     u"AB",
     u"A:"},
    {"a floppy drive at B: only", {{'B', DRIVE_REMOVABLE, u"3.5 インチ FD (B:)"}}, u"B", u"B:"},
    // Without a floppy drive, the first removable drive that holds a medium takes the backup.
    {"a removable disk that is no floppy",
     {{'E', DRIVE_REMOVABLE, u"リムーバブル ディスク (E:)"}},
     u"",
     u"E:"},
    {"a floppy drive comes before a stick",
     {{'A', DRIVE_REMOVABLE, u"3.5 インチ FD (A:)", false},
      {'D', DRIVE_REMOVABLE, u"リムーバブル ディスク (D:)"}},
     u"A",
     u"A:"},
    {"a card reader without a card is passed over",
     {{'D', DRIVE_REMOVABLE, u"リムーバブル ディスク (D:)", false},
      {'E', DRIVE_FIXED, u"ローカル ディスク (E:)"},
      {'F', DRIVE_REMOVABLE, u"リムーバブル ディスク (F:)"},
      {'G', DRIVE_REMOVABLE, u"リムーバブル ディスク (G:)"}},
     u"",
     u"F:"},
    {"a Wine floppy drive without the shell's name", {{'A', DRIVE_REMOVABLE, u" (A:)"}}, u"", u"A:"},
    {"no removable drive holds a medium",
     {{'A', DRIVE_REMOVABLE, u" (A:)", false}, {'C', DRIVE_FIXED, u"ローカル ディスク (C:)"}},
     u"",
     u""},
    {"full-width letters, digits and brackets",
     {{'A', DRIVE_REMOVABLE, u"３．５　インチ　ＦＤ　（Ａ：）"}},
     u"A",
     u"A:"},
    {"a name already in half-width katakana", {{'A', DRIVE_REMOVABLE, u"3.5 ｲﾝﾁ FD (A:)"}}, u"A", u"A:"},
    {"hiragana is not katakana", {{'A', DRIVE_REMOVABLE, u"3.5 いんち FD (A:)"}}, u"", u"A:"},
    {"the floppy name on a fixed drive", {{'C', DRIVE_FIXED, u"3.5 インチ FD (C:)"}}, u"", u""},
    {"the floppy name on a CD drive and a network drive",
     {{'D', DRIVE_CDROM, u"3.5 インチ FD (D:)"}, {'Z', DRIVE_REMOTE, u"3.5 インチ FD (Z:)"}},
     u"",
     u""},
    {"the mark after a NUL does not count", {{'A', DRIVE_REMOVABLE, kNameCutBeforeMark}}, u"", u"A:"},
    {"a NUL after the mark", {{'A', DRIVE_REMOVABLE, kNameWithTail}}, u"A", u"A:"},
    {"a floppy drive far down the alphabet", {{'Y', DRIVE_REMOVABLE, u"3.5 インチ FD (Y:)"}}, u"Y", u"Y:"},
    {"no drives at all", {}, u"", u""},
};

void PrintTo(const FloppyCase& c, std::ostream* os)
{
    *os << c.title;
}

class FindFloppyDrivesTest : public ::testing::TestWithParam<FloppyCase> {};

// The backup drive: a floppy drive by its name first, else the first removable drive with a medium,
// else the current drive (the empty prefix).
TEST_P(FindFloppyDrivesTest, FindsTheFloppyDrivesAndAsksOnlyRemovableDrivesForTheirName)
{
    const auto& c = GetParam();
    FakeDrives fake;
    std::set<std::string> removable;
    for (const auto& d : c.drives) {
        fake.setDrive(d.letter, "/nowhere", d.type, d.displayName);
        fake.setMedium(d.letter, d.medium);
        if (d.type == DRIVE_REMOVABLE)
            removable.insert(std::string{d.letter, ':', '\\'});
    }
    WatchedDrives drives(fake);

    EXPECT_EQ(backup::FindFloppyDrives(drives), c.letters);
    EXPECT_EQ(drives.named, removable);
    EXPECT_EQ(backup::backupDrivePrefix(drives), c.prefix);
}

INSTANTIATE_TEST_SUITE_P(Drives, FindFloppyDrivesTest, ::testing::ValuesIn(kFloppyCases),
                         [](const auto& test) { return testName(test.param.title); });

TEST(GetDriveDisplayNameTest, CutsTheNameAtItsFirstNul)
{
    FakeDrives drives;
    drives.setDrive('A', "/nowhere", DRIVE_REMOVABLE, kNameWithTail);
    drives.setDrive('B', "/nowhere", DRIVE_REMOVABLE, u"3.5 インチ FD (B:)");
    EXPECT_EQ(backup::GetDriveDisplayName(drives, "A:\\"), u"3.5 インチ FD (A:)");
    EXPECT_EQ(backup::GetDriveDisplayName(drives, "B:\\"), u"3.5 インチ FD (B:)");
    EXPECT_EQ(backup::GetDriveDisplayName(drives, "Q:\\"), u"");
}

} // namespace
} // namespace orvanta::test
