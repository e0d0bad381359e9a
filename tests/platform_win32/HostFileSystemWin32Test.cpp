#include "platform/DrivesWin32.h"
#include "platform/HostFileSystem.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace orvanta::platform {
namespace {

using test::namesIn;

bool hasNonAscii(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c > 0x7F) {
            return true;
        }
    }
    return false;
}

class HostFileSystemWin32 : public ::testing::Test {
protected:
    std::u16string path(std::u16string_view name) const
    {
        return folder.u16path() + u"\\" + std::u16string(name);
    }

    test::TempDir folder;
    DrivesWin32 drives;
    HostFileSystem files{drives};
};

TEST_F(HostFileSystemWin32, AWriteReplacesTheFileWholeAndLeavesNothingElse)
{
    folder.write("psw.ini", "old bytes that are longer");
    ASSERT_TRUE(files.writeFile(path(u"psw.ini"), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8)).ok());
    EXPECT_EQ(folder.read("psw.ini"), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});

    const auto read = files.readFile(path(u"psw.ini"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8));
    EXPECT_TRUE(files.exists(path(u"psw.ini")));
}

TEST_F(HostFileSystemWin32, AFileWithAJapaneseNameIsWrittenAndRead)
{
    ASSERT_TRUE(files.writeFile(path(u"銀行.csv"), "a,b\r\n").ok());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.u16path() + u"\\銀行.csv")));
    EXPECT_EQ(files.readFile(path(u"銀行.csv")).value(), "a,b\r\n");
}

TEST_F(HostFileSystemWin32, AMissingFileOrFolderIsNotFoundInJapanese)
{
    const auto missing = files.readFile(path(u"psw.ini"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().kind, Failure::Kind::NotFound);
    EXPECT_TRUE(hasNonAscii(missing.failure().description))
        << testing::PrintToString(missing.failure().description);
    RecordProperty("missingFile", testing::PrintToString(missing.failure().description));

    const auto noFolder = files.writeFile(path(u"no\\psw.ini"), "x");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.failure().kind, Failure::Kind::NotFound);
    EXPECT_TRUE(hasNonAscii(noFolder.failure().description));
    EXPECT_FALSE(files.exists(path(u"no")));
}

TEST_F(HostFileSystemWin32, AFailureAtAnyStepKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    for (const WriteStep step : {WriteStep::Open, WriteStep::Write, WriteStep::Sync, WriteStep::Rename}) {
        folder.write("psw.ini", "old");
        HostFileSystem failing(drives, [step](WriteStep now) { return now == step ? ENOSPC : 0; });
        const auto written = failing.writeFile(path(u"psw.ini"), "new");
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.failure().description, u"ディスクの空き容量が不足しています。");
        EXPECT_EQ(folder.read("psw.ini"), "old");
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});
    }
}

TEST_F(HostFileSystemWin32, AReadOnlyFileIsRefusedAndKept)
{
    folder.write("psw.ini", "old");
    const std::u16string name = path(u"psw.ini");
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(name.c_str()), FILE_ATTRIBUTE_READONLY));
    const auto written = files.writeFile(name, "new");
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(name.c_str()), FILE_ATTRIBUTE_NORMAL);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().kind, Failure::Kind::Other);
    RecordProperty("readOnly", testing::PrintToString(written.failure().description));
    EXPECT_TRUE(hasNonAscii(written.failure().description));
    EXPECT_EQ(folder.read("psw.ini"), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});
}

// The same guards as on Linux: a replace only over the bytes last read, under the folder's lock (a
// lock file that goes with the write), with the leftovers of killed writes removed first.
TEST_F(HostFileSystemWin32, AReplaceChecksTheFileUnderTheLockAndRemovesLeftovers)
{
    folder.write("psw.ini", "old");
    folder.write(".psw.bkp.1234-5.tmp", "plain passwords");
    folder.write(".psw.ini.AbC123", "plain passwords");
    folder.write(".psw.ini.note", "someone else's");
    const auto changed = files.replaceFile(path(u"psw.ini"), "new", FileContents("older"));
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().kind, Failure::Kind::Changed);
    EXPECT_EQ(folder.read("psw.ini"), "old");

    std::vector<FileOperation> made;
    HostFileSystem::Hooks hooks;
    hooks.trace = [&made](FileOperation operation) {
        if (operation != FileOperation::RemoveLeftover)
            made.push_back(operation);
    };
    HostFileSystem traced(drives, hooks);
    ASSERT_TRUE(traced.replaceFile(path(u"psw.ini"), "new", FileContents("old")).ok());
    EXPECT_EQ(folder.read("psw.ini"), "new");
    using enum FileOperation;
    EXPECT_EQ(made, (std::vector<FileOperation>{Lock, Check, CreateExclusive, Write, SyncFile, Close, Rename,
                                                Unlock}));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{".psw.ini.note", "psw.ini"}));

    const auto odd = files.writeFile(path(u"psw.ini"), std::string(kMaxFileSize + 1, 'x'));
    ASSERT_FALSE(odd.ok());
    EXPECT_EQ(odd.failure().description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_EQ(folder.read("psw.ini"), "new");
}

TEST_F(HostFileSystemWin32, PathsAreWindowsPathsAndTheCurrentDriveIsTheWorkingDirectorysDrive)
{
    EXPECT_EQ(files.hostPath(u"C:\\dir\\psw.ini"), std::optional<std::string>("C:\\dir\\psw.ini"));
    EXPECT_EQ(files.hostPath(u"c:/dir/psw.ini"), std::optional<std::string>("C:\\dir\\psw.ini"));
    EXPECT_EQ(files.hostPath(u"Q:\\psw.bkp"), std::nullopt);
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
    EXPECT_EQ(files.hostPath(u"\\psw.bkp"), std::optional<std::string>("C:\\psw.bkp"));
}

} // namespace
} // namespace orvanta::platform
