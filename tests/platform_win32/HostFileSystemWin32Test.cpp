#include "platform/DrivesWin32.h"
#include "platform/FileRules.h"
#include "platform/HostFileSystem.h"
#include "platform/Utf8.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <windows.h>

namespace orvanta::platform {
namespace {

using test::namesIn;

std::string folderOf(const std::string& file)
{
    return file.substr(0, file.find_last_of('\\'));
}

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
    ASSERT_EQ(files.writeFile(path(u"psw.ini"), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8)), std::nullopt);
    EXPECT_EQ(folder.read("psw.ini"), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});

    const auto read = files.readFile(path(u"psw.ini"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), std::string("\x8b\xe2\x8d\x73\r\n\0x", 8));
    EXPECT_TRUE(files.exists(path(u"psw.ini")));
}

TEST_F(HostFileSystemWin32, AFileWithAJapaneseNameIsWrittenAndRead)
{
    ASSERT_EQ(files.writeFile(path(u"銀行.csv"), "a,b\r\n"), std::nullopt);
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
    ASSERT_TRUE(noFolder);
    EXPECT_EQ(noFolder->kind, Failure::Kind::NotFound);
    EXPECT_TRUE(hasNonAscii(noFolder->description));
    EXPECT_FALSE(files.exists(path(u"no")));
}

TEST_F(HostFileSystemWin32, AFailureAtAnyStepKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    for (const WriteStep step : {WriteStep::Open, WriteStep::Write, WriteStep::Sync, WriteStep::Rename}) {
        folder.write("psw.ini", "old");
        HostFileSystem failing(drives, [step](WriteStep now) { return now == step ? ENOSPC : 0; });
        const auto failure = failing.writeFile(path(u"psw.ini"), "new");
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->description, u"ディスクの空き容量が不足しています。");
        EXPECT_EQ(folder.read("psw.ini"), "old");
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});
    }
}

TEST_F(HostFileSystemWin32, AReadOnlyFileIsRefusedAndKept)
{
    folder.write("psw.ini", "old");
    const std::u16string name = path(u"psw.ini");
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(name.c_str()), FILE_ATTRIBUTE_READONLY));
    const auto failure = files.writeFile(name, "new");
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(name.c_str()), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::Other);
    RecordProperty("readOnly", testing::PrintToString(failure->description));
    EXPECT_TRUE(hasNonAscii(failure->description));
    EXPECT_EQ(folder.read("psw.ini"), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"psw.ini"});
}

// The same guards as on Linux: a replace only over the bytes last read, under the folder's lock (a
// lock file that goes with the write), with the leftovers of killed writes removed first: only the
// names the program's writes give their temporary files, never another program's.
TEST_F(HostFileSystemWin32, AReplaceChecksTheFileUnderTheLockAndRemovesLeftovers)
{
    folder.write("psw.ini", "old");
    folder.write(".psw.bkp.orvanta-1a2B3c", "plain passwords");
    folder.write(".psw.ini.orvanta-AbC123", "plain passwords");
    const std::vector<std::string> othersFiles{".psw.bkp.1234-5.tmp", ".psw.ini.AbC123", ".psw.ini.note"};
    for (const auto& name : othersFiles)
        folder.write(name, "someone else's");
    const auto changed = files.replaceFile(path(u"psw.ini"), "new", FileContents("older"));
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->kind, Failure::Kind::Changed);
    EXPECT_EQ(folder.read("psw.ini"), "old");

    std::vector<FileOperation> made;
    std::vector<std::string> whileWriting;
    HostFileSystem::Hooks hooks;
    hooks.trace = [&](FileOperation operation) {
        if (operation == FileOperation::Write)
            whileWriting = namesIn(folder.path());
        if (operation != FileOperation::RemoveLeftover)
            made.push_back(operation);
    };
    HostFileSystem traced(drives, hooks);
    ASSERT_FALSE(traced.replaceFile(path(u"psw.ini"), "new", FileContents("old")));
    EXPECT_EQ(folder.read("psw.ini"), "new");
    using enum FileOperation;
    EXPECT_EQ(made, (std::vector<FileOperation>{Lock, Check, CreateExclusive, Write, SyncFile, Close, Rename,
                                                Unlock}));
    auto kept = othersFiles;
    kept.push_back("psw.ini");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(folder.path()), kept);
    // The write's own temporary file bears a name the next write would remove.
    EXPECT_EQ(std::count_if(whileWriting.begin(), whileWriting.end(), isTemporaryName), 1);

    const auto odd = files.writeFile(path(u"psw.ini"), std::string(kMaxFileSize + 1, 'x'));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_EQ(folder.read("psw.ini"), "new");
}

/// A variable of the process's environment, set for one scope.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::string& value) : m_name(name)
    {
        wchar_t old[1024]{};
        if (GetEnvironmentVariableW(name, old, 1024) > 0)
            m_old = old;
        SetEnvironmentVariableW(name, std::filesystem::path(value).wstring().c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

std::optional<std::string> fileAt(const std::string& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Only an administrator may write to %Windir%. As Windows' file virtualization did for the program's
// 32-bit versions, the user's psw.ini then lies in %LOCALAPPDATA%\VirtualStore\<Windir without its
// drive>: that copy, where it exists, is the file for reading and writing; a write that %Windir%
// refuses creates it; a %Windir% that can be written keeps its file. The folder the test script
// locks stands for a %Windir% the user may not write to.
TEST(HostFileSystemWin32VirtualStore, FilesInWindirFollowTheUserIntoTheVirtualStore)
{
    const char* locked = std::getenv("ORVANTA_TEST_LOCKED_WINDIR");
    if (!locked || !*locked)
        GTEST_SKIP() << "no folder the test may not write to (scripts/windows-test.sh makes one)";
    struct Case {
        const char* name;
        bool lockedWindir;
        std::optional<std::string> copy; // the VirtualStore copy before the write
        std::string asRead;
        std::optional<Failure::Kind> failure;
        std::string windirAfter;
        std::optional<std::string> copyAfter;
    };
    const Case cases[] = {
        {"LockedWithoutCopy", true, std::nullopt, "old", std::nullopt, "old", "new"},
        {"LockedWithCopy", true, "mine", "mine", std::nullopt, "old", "new"},
        {"LockedChangedBehindTheWindow", true, std::nullopt, "older", Failure::Kind::Changed, "old",
         std::nullopt},
        {"WritableWithoutCopy", false, std::nullopt, "old", std::nullopt, "new", std::nullopt},
        {"WritableWithCopy", false, "mine", "mine", std::nullopt, "old", "new"},
    };
    DrivesWin32 drives;
    HostFileSystem files(drives);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir writable;
        test::TempDir local;
        const std::string windir = c.lockedWindir ? std::string(locked) : writable.path();
        const ScopedVariable windirVariable(L"Windir", windir);
        const ScopedVariable localVariable(L"LOCALAPPDATA", local.path());
        // The locked folder's psw.ini takes new bytes in place; the folder itself takes no new name.
        std::ofstream(std::filesystem::path(windir + "\\psw.ini"), std::ios::binary | std::ios::trunc)
            << "old";
        const std::string copyName = "VirtualStore" + windir.substr(2) + "\\psw.ini";
        if (c.copy)
            local.write(copyName, *c.copy);
        const std::u16string path = fromUtf8(windir) + u"\\psw.ini";

        EXPECT_EQ(files.readFile(path).value(), c.copy.value_or("old"));
        const auto outcome = files.replaceFile(path, "new", FileContents(c.asRead));
        EXPECT_EQ(outcome ? std::optional(outcome->kind) : std::nullopt, c.failure);
        EXPECT_EQ(fileAt(windir + "\\psw.ini"), c.windirAfter);
        EXPECT_EQ(fileAt(local.file(copyName)), c.copyAfter);
        EXPECT_EQ(files.readFile(path).value(), c.copyAfter.value_or(c.windirAfter));
        if (c.copyAfter) {
            EXPECT_EQ(namesIn(folderOf(local.file(copyName))), std::vector<std::string>{"psw.ini"});
        }
    }

    // Where even the VirtualStore cannot be made, the message names the place the write went to.
    test::TempDir local;
    const ScopedVariable windirVariable(L"Windir", locked);
    const ScopedVariable localVariable(L"LOCALAPPDATA", std::string(locked) + "\\AppData");
    const auto refused = files.writeFile(fromUtf8(locked) + u"\\psw.ini", "new");
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->description.ends_with(u"（ファイルの場所：" + fromUtf8(locked) +
                                               u"\\AppData\\VirtualStore" + fromUtf8(locked).substr(2) +
                                               u"\\psw.ini）"))
        << testing::PrintToString(refused->description);
    EXPECT_EQ(fileAt(std::string(locked) + "\\psw.ini"), "old");
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
