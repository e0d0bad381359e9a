// The Windows file layer: whole reads, writes through a temporary file, the lock and VirtualStore.
#include "host/windows/HostFileSystem.h"

#include "host/FileRules.h"
#include "host/Utf8.h"
#include "host/windows/HostDrives.h"
#include "host/windows/SystemErrorDescription.h"
#include "support/FakeEnvironment.h"
#include "support/TempDir.h"
#include "support/WatchedCalls.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <windows.h>

namespace orvanta::host {
namespace {

using test::failingAt;
using test::namesIn;
using test::WriteStep;

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
    HostDrives drives;
    test::FakeEnvironment environment; // no Windir: nothing is redirected
    HostFileSystem files{drives, environment};
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
        HostFileSystem failing(drives, environment,
                               failingAt([step](WriteStep now) { return now == step ? ENOSPC : 0; }));
        const auto written = failing.writeFile(path(u"psw.ini"), "new");
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.failure().description, test::writeErrorDescription(ENOSPC));
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
// lock file that goes with the write), with the leftovers of killed writes removed first: only the
// names the program's writes give their temporary files, never another program's.
TEST_F(HostFileSystemWin32, AReplaceChecksTheFileUnderTheLockAndRemovesLeftovers)
{
    folder.write("psw.ini", "old");
    for (const char* name :
         {".psw.bkp.orvanta-1a2B3c", ".psw.bkp.1234-5.tmp", ".psw.ini.AbC123", ".psw.ini.note"})
        folder.write(name, "plain passwords, or someone else's");
    const auto changed = files.replaceFile(path(u"psw.ini"), "new", FileContents("older"));
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().kind, Failure::Kind::Changed);
    EXPECT_EQ(folder.read("psw.ini"), "old");

    std::vector<std::string_view> made;
    std::vector<std::string> whileWriting;
    HostFileSystem traced(drives, environment, test::watchedCalls([&](std::string_view call) {
                              if (call == "writeFile")
                                  whileWriting = namesIn(folder.path());
                              if (call != "deleteFile")
                                  made.push_back(call);
                              return 0;
                          }));
    ASSERT_TRUE(traced.replaceFile(path(u"psw.ini"), "new", FileContents("old")).ok());
    EXPECT_EQ(folder.read("psw.ini"), "new");
    // The lock, the check under it, then the new bytes on the disk before they take the name.
    EXPECT_EQ(made, (std::vector<std::string_view>{"createFile", "createFile", "closeHandle",
                                                   "createFile(CREATE_NEW)", "writeFile", "flushFileBuffers",
                                                   "closeHandle", "moveFileEx", "closeHandle"}));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{".psw.bkp.1234-5.tmp", ".psw.ini.AbC123",
                                                                ".psw.ini.note", "psw.ini"}));
    // The write's own temporary file bears a name the next write would remove.
    EXPECT_EQ(std::count_if(whileWriting.begin(), whileWriting.end(),
                            [](const std::string& name) { return orvanta::host::isLeftoverName(name); }),
              1);

    const auto odd = files.writeFile(path(u"psw.ini"), std::string(kMaxFileSize + 1, 'x'));
    ASSERT_FALSE(odd.ok());
    EXPECT_EQ(odd.failure().description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_EQ(folder.read("psw.ini"), "new");
    // Nor is a file larger than the program writes replaced: it is not one of its files.
    const std::string large(kMaxFileSize + 1, 'x');
    folder.write("psw.bkp", large);
    const auto overLarge = files.writeFile(path(u"psw.bkp"), "new");
    ASSERT_FALSE(overLarge.ok());
    EXPECT_EQ(overLarge.failure().description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_EQ(folder.read("psw.bkp"), large);
}

// A file the program makes under a name of its own replaces whatever stands there, a read-only file
// or a link, and never writes through the link; only a folder refuses it. Only the program makes the
// folder's lock: a folder, a link to nothing or a pipe under its name refuses the write with a message
// that names it. The script places them (ORVANTA_TEST_PLACED), as a Windows program under Wine cannot
// make links; Wine shows a link to a file as that file, which then serves as the lock, unchanged.
TEST_F(HostFileSystemWin32, WhatOthersPlacedIsNeverWrittenThroughNorRemoved)
{
    const char* placed = std::getenv("ORVANTA_TEST_PLACED");
    if (!placed || !*placed)
        GTEST_SKIP() << "nothing placed (scripts/windows-test.sh places it)";
    const std::u16string place = fromUtf8(placed);
    // The wording is the Linux file layer's, tested there.
    const auto lockRefusal = [](FileKind kind) { return lockFileDescription(kind); };
    const struct {
        std::u16string file;
        bool own;
        std::u16string refusal; // empty when written
    } cases[] = {
        {u"\\readonly\\psw.ini.bak", true, u""},
        {u"\\folder\\psw.ini.bak", true, u"ファイルではなくフォルダーが指定されました。"},
        {u"\\list\\20260203090507_psw.csv", true, u""},
        {u"\\lock-nothing\\psw.ini", false, lockRefusal(FileKind::Link)},
        {u"\\lock-pipe\\psw.ini", false, lockRefusal(FileKind::Pipe)},
        {u"\\lock-folder\\psw.ini", false, lockRefusal(FileKind::Folder)},
        {u"\\lock-file\\psw.ini", false, u""},
    };
    for (const auto& c : cases) {
        const auto written =
            c.own ? files.writeOwnFile(place + c.file, "new") : files.writeFile(place + c.file, "new");
        EXPECT_EQ(written.ok() ? u"" : written.failure().description, c.refusal);
        const auto after = files.readFile(place + c.file);
        EXPECT_EQ(after.ok() ? after.value() : "", c.refusal.empty() ? "new" : c.own ? "" : "old\n");
    }
    // What the links point to is as the script left it, and nothing was made for a link to nothing.
    for (const char16_t* name :
         {u"\\outside\\secret.txt", u"\\outside\\lock", u"\\folder\\psw.ini.bak\\inside"})
        EXPECT_EQ(files.readFile(place + name).value(), "outside\n");
    EXPECT_FALSE(files.exists(place + u"\\outside\\none"));
}

// Only an administrator may write to %Windir%. As Windows' file virtualization did for the 32-bit
// versions, the user's copy in %LOCALAPPDATA%\VirtualStore\<Windir without its drive> is then the
// file; a write %Windir% refuses creates it; a %Windir% that can be written keeps its file. The test
// script's locked folder stands for a %Windir% the user may not write to. Both folders are the ones the
// environment service gives, as the window reads Windir there.
TEST(HostFileSystemWin32VirtualStore, FilesInWindirFollowTheUserIntoTheVirtualStore)
{
    const char* locked = std::getenv("ORVANTA_TEST_LOCKED_WINDIR");
    if (!locked || !*locked)
        GTEST_SKIP() << "no folder the test may not write to (scripts/windows-test.sh makes one)";
    struct Case {
        bool lockedWindir;
        const char* copy; // the VirtualStore copy before the write, if any
        const char* asRead;
        const char* windirAfter;
        const char* copyAfter; // empty when there is none
    };
    const auto bytesOf = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    HostDrives drives;
    test::FakeEnvironment environment;
    HostFileSystem files(drives, environment);
    for (const Case& c : {Case{true, nullptr, "old", "old", "new"}, Case{true, "mine", "mine", "old", "new"},
                          Case{true, nullptr, "older", "old", ""}, Case{false, nullptr, "old", "new", ""},
                          Case{false, "mine", "mine", "old", "new"}}) {
        test::TempDir writable, local;
        const std::string windir = c.lockedWindir ? std::string(locked) : writable.path();
        SCOPED_TRACE(windir + (c.copy ? " with a copy" : "") + ", read as " + c.asRead);
        environment.set(u"Windir", fromUtf8(windir));
        environment.set(u"LOCALAPPDATA", local.u16path());
        std::ofstream(windir + "\\psw.ini", std::ios::binary)
            << "old"; // in place: the folder takes no new name
        const std::string copy = "VirtualStore" + windir.substr(2) + "\\psw.ini";
        if (c.copy)
            local.write(copy, c.copy);
        const std::u16string path = fromUtf8(windir) + u"\\psw.ini";
        const std::string before = files.readFile(path).value();
        EXPECT_EQ(before, c.copy ? c.copy : "old");
        EXPECT_EQ(files.replaceFile(path, "new", FileContents(c.asRead)).ok(), before == c.asRead);
        EXPECT_EQ(bytesOf(windir + "\\psw.ini"), c.windirAfter);
        EXPECT_EQ(local.read(copy), c.copyAfter);
        EXPECT_EQ(files.readFile(path).value(), *c.copyAfter ? c.copyAfter : c.windirAfter);
    }
    // Where even the VirtualStore copy cannot be made, the message names where the write went.
    environment.set(u"Windir", fromUtf8(locked));
    environment.set(u"LOCALAPPDATA", fromUtf8(locked) + u"\\AppData");
    const auto refused = files.writeFile(fromUtf8(locked) + u"\\psw.ini", "new");
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.failure().description.ends_with(kVirtualStoreNote));
}

TEST_F(HostFileSystemWin32, PathsAreWindowsPathsAndTheCurrentDriveIsTheWorkingDirectorysDrive)
{
    EXPECT_EQ(files.hostPath(u"C:\\dir\\psw.ini"), std::optional<std::string>("C:\\dir\\psw.ini"));
    EXPECT_EQ(files.hostPath(u"c:/dir/psw.ini"), std::optional<std::string>("C:\\dir\\psw.ini"));
    EXPECT_EQ(files.hostPath(u"Q:\\psw.bkp"), std::nullopt);
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
    EXPECT_EQ(files.hostPath(u"\\psw.bkp"), std::optional<std::string>("C:\\psw.bkp"));
}

// Windows' own two sentences for a file another program holds open would not fit the message box.
TEST(SystemErrorDescription, AFileInUseIsSaidInTheProgramsWords)
{
    for (const DWORD error : {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION})
        EXPECT_EQ(systemErrorDescription(error), u"他のプログラムが使用中です。");
}

} // namespace
} // namespace orvanta::host
