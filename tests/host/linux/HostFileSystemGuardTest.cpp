// The file layer's guards: what it refuses to read or replace, what stands on the disk during a write,
// the folder's lock, the check against the bytes last read, and the temporary files of killed writes.
#include "host/FileRules.h"
#include "host/Utf8.h"
#include "host/linux/HostFileSystem.h"
#include "support/FakeDrives.h"
#include "support/TempDir.h"
#include "support/WatchedCalls.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::host {
namespace {

using test::failingAt;
using test::namesIn;
using test::watchedCalls;
using test::WriteStep;

namespace fs = std::filesystem;

class HostFileSystemGuardTest : public ::testing::Test {
protected:
    HostFileSystemGuardTest()
    {
        m_drives.setDrive('C', m_dir.path());
        m_drives.setCurrentDriveRoot(m_dir.path());
    }

    std::string target() const { return m_dir.file("psw.ini"); }

    test::TempDir m_dir;
    test::FakeDrives m_drives;
};

// The odd files a read or a write refuses are tested where the user meets them, in the window; only
// the limit on what is written is the file layer's own.
TEST_F(HostFileSystemGuardTest, NoMoreThanTheLimitIsWritten)
{
    HostFileSystem files(m_drives);
    const auto written = files.writeFile(u"C:\\psw.bkp", std::string(kMaxFileSize + 1, 'x'));
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_FALSE(fs::exists(m_dir.file("psw.bkp")));
    ASSERT_TRUE(files.writeFile(u"C:\\psw.bkp", std::string(kMaxFileSize, 'x')).ok());
    EXPECT_EQ(files.readFile(u"C:\\psw.bkp").value().size(), kMaxFileSize);
}

TEST_F(HostFileSystemGuardTest, AReplacedFileKeepsItsOwnerAndGroup)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another owner";
    }
    m_dir.write("psw.ini", "old");
    ASSERT_EQ(chown(target().c_str(), 1234, 5678), 0);
    ASSERT_EQ(chmod(target().c_str(), 0640), 0);
    HostFileSystem files(m_drives);
    ASSERT_TRUE(files.writeFile(u"C:\\psw.ini", "new").ok());
    struct stat status {};
    ASSERT_EQ(stat(target().c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(m_dir.read("psw.ini"), "new");
}

// replaceFile writes only over the file as it was read: a file another program changed, created or
// removed since stays as that program left it.
TEST_F(HostFileSystemGuardTest, AReplaceGoesAheadOnlyOverTheFileAsRead)
{
    const struct {
        FileContents onDisk;
        FileContents asRead;
        bool written;
    } cases[] = {
        {"old", "old", true},
        {std::nullopt, std::nullopt, true},
        {std::string("a\0b", 3), std::string("a\0b", 3), true},
        {"old, changed", "old", false},
        {"old", "old, changed", false},
        {"created since", std::nullopt, false},
        {std::nullopt, "removed since", false},
        {"", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.onDisk.value_or("(none)") + " / " + c.asRead.value_or("(none)"));
        fs::remove(target());
        if (c.onDisk) {
            m_dir.write("psw.ini", *c.onDisk);
        }
        HostFileSystem files(m_drives);
        const auto replaced = files.replaceFile(u"C:\\psw.ini", "new", c.asRead);
        EXPECT_EQ(replaced.ok(), c.written);
        if (c.written) {
            EXPECT_EQ(m_dir.read("psw.ini"), "new");
            continue;
        }
        EXPECT_EQ(replaced.failure().kind, Failure::Kind::Changed);
        EXPECT_EQ(replaced.failure().description, u"読み込んだ後に、ファイルが変更されました。");
        EXPECT_EQ(fs::exists(target()), c.onDisk.has_value());
        if (c.onDisk) {
            EXPECT_EQ(m_dir.read("psw.ini"), *c.onDisk);
        }
    }
}

// Whenever the program is killed or the power fails during a write, psw.ini holds the old bytes or all
// of the new ones: at every call the write makes, it is one or the other, the new bytes are whole in a
// file of their own before they take the name, and the folder's lock stands until the new name is
// flushed. (A step that fails outright leaves the old file and says why: AFailedWriteLeavesTheOldFile.)
TEST_F(HostFileSystemGuardTest, AtEveryStepOfAWriteTheFileIsOldOrWhollyNew)
{
    const std::string old = "old";
    const std::string newer(300000, 'n');
    m_dir.write("psw.ini", old);
    int wholeTemporaries = 0; // the new bytes seen whole in a file of their own at the rename
    HostFileSystem files(m_drives, watchedCalls([&](std::string_view call) {
                             const std::string now = m_dir.read("psw.ini");
                             EXPECT_TRUE(now == old || now == newer) << call;
                             if (call != "rename" && call != "flushFolder")
                                 return 0;
                             EXPECT_TRUE(fs::exists(m_dir.file(".orvanta.lock"))) << call;
                             for (const auto& name : namesIn(m_dir.path())) {
                                 if (isLeftoverName(name)) {
                                     EXPECT_EQ(m_dir.read(name), newer) << call;
                                     wholeTemporaries += call == "rename" ? 1 : 0;
                                 }
                             }
                             return 0;
                         }));
    ASSERT_TRUE(files.replaceFile(u"C:\\psw.ini", newer, FileContents(old)).ok());
    EXPECT_EQ(wholeTemporaries, 1);
    EXPECT_EQ(m_dir.read("psw.ini"), newer);
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.ini"});
}

TEST_F(HostFileSystemGuardTest, AFolderThatCannotBeFlushedIsToldButTheFileIsWritten)
{
    m_dir.write("psw.ini", "old");
    HostFileSystem files(m_drives,
                         failingAt([](WriteStep step) { return step == WriteStep::SyncFolder ? EIO : 0; }));
    const auto written = files.writeFile(u"C:\\psw.ini", "new");
    EXPECT_TRUE(written.ok());
    ASSERT_TRUE(written.unsynced());
    EXPECT_EQ(written.unsynced()->description, u"デバイスの I/O エラーです。");
    EXPECT_EQ(m_dir.read("psw.ini"), "new");
    EXPECT_FALSE(HostFileSystem(m_drives).writeFile(u"C:\\psw.ini", "newer").unsynced());
}

// A second writer in the same folder waits for the first one's lock; one that waits too long gives
// up and writes nothing.
TEST_F(HostFileSystemGuardTest, AnotherWriterInTheFolderWaitsForTheLock)
{
    m_dir.write("psw.ini", "old");
    HostFileSystem second(m_drives, {}, std::chrono::milliseconds(50));
    WriteOutcome secondWhileHeld;
    bool tried = false;
    HostFileSystem first(m_drives, failingAt([&](WriteStep step) {
                             if (step == WriteStep::Write && !tried) {
                                 tried = true;
                                 secondWhileHeld = second.replaceFile(u"C:\\psw.bkp", "second", std::nullopt);
                             }
                             return 0;
                         }));
    ASSERT_TRUE(first.writeFile(u"C:\\psw.ini", "first").ok());
    ASSERT_TRUE(tried);
    ASSERT_FALSE(secondWhileHeld.ok());
    EXPECT_EQ(secondWhileHeld.failure().description,
              u"このフォルダーは書き込み中です。しばらくしてから、もう一度操作して下さい。");
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.ini"});
    EXPECT_EQ(m_dir.read("psw.ini"), "first");
    EXPECT_TRUE(second.writeFile(u"C:\\psw.bkp", "second").ok());
}

// The temporary files of killed writes hold a whole psw.ini, psw.bkp or list, the last two with the
// passwords in plain text. The next write in the folder removes them, and nothing else: other programs'
// temporary files (rsync's) and the user's own files of such names stay.
TEST_F(HostFileSystemGuardTest, TheNextWriteRemovesTheLeftoversOfKilledWritesOnly)
{
    const std::vector<std::string> leftovers{".psw.ini.orvanta-a1B2c3", ".psw.bkp.orvanta-XXXXXX",
                                             ".20261207093000_psw.csv.orvanta-Qw3Er5",
                                             ".psw.ini.bak.orvanta-z9Y8x7"};
    const std::vector<std::string> kept{".psw.ini.tdev52",           ".psw.ini.MyNote",
                                        ".psw.ini.1234567-0.tmp",    ".psw.ini.orvanta-a1B2c",
                                        ".psw.ini.orvanta-a1B2c3d",  ".psw.ini.orvanta-a1-2c3",
                                        ".other.ini.orvanta-a1B2c3", ".2026120709300_psw.csv.orvanta-Qw3Er5",
                                        "psw.ini.orvanta-a1B2c3",    "psw.bkp",
                                        ".psw.ini.bak.z9Y8x7"};
    for (const auto& name : leftovers) {
        m_dir.write(name, "\"Mail\",\"taro\",\"plain password\",\" \",\"\"\r\n");
    }
    for (const auto& name : kept) {
        m_dir.write(name, "someone else's");
    }
    // A folder of that name is not the program's either.
    fs::create_directories(m_dir.file(".psw.ini.orvanta-Folder"));

    // The write's own temporary file is one the next write would remove.
    std::vector<std::string> whileWriting;
    HostFileSystem files(m_drives, failingAt([&](WriteStep step) {
                             if (step == WriteStep::Write)
                                 whileWriting = namesIn(m_dir.path());
                             return 0;
                         }));
    ASSERT_TRUE(files.writeFile(u"C:\\psw.ini", "new").ok());
    auto expected = kept;
    expected.push_back(".psw.ini.orvanta-Folder");
    expected.push_back("psw.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(m_dir.path()), expected);
    std::vector<std::string> temporary;
    std::set_difference(whileWriting.begin(), whileWriting.end(), expected.begin(), expected.end(),
                        std::back_inserter(temporary));
    ASSERT_EQ(temporary.size(), 2U); // the lock file and the new bytes
    EXPECT_EQ(temporary[0], ".orvanta.lock");
    EXPECT_TRUE(isLeftoverName(temporary[1])) << temporary[1];
    EXPECT_TRUE(temporary[1].starts_with(".psw.ini.orvanta-")) << temporary[1];
}

/// What stands at a path: a link and its target, a folder, a file's mode and bytes, or another kind.
std::string at(const std::string& path)
{
    std::error_code error;
    if (fs::is_symlink(path, error))
        return "link to " + fs::read_symlink(path).string();
    if (fs::is_directory(path, error))
        return "folder";
    if (!fs::is_regular_file(path, error))
        return "kind " + std::to_string(static_cast<int>(fs::symlink_status(path, error).type()));
    std::ifstream in(path, std::ios::binary);
    return std::to_string(static_cast<int>(fs::status(path).permissions())) + ": " +
           std::string(std::istreambuf_iterator<char>(in), {});
}

// A file the program makes under a name of its own (the dated list, psw.ini.bak) replaces whatever
// stands there, whatever its permissions, with its owner's only or psw.ini's; a link there is never
// written through, so the file it points to stays as it was. Only a folder refuses the write.
TEST_F(HostFileSystemGuardTest, AnOwnFileReplacesWhateverStandsUnderItsName)
{
    const std::string outside = m_dir.file("elsewhere/secret"), list = m_dir.file("20260203090507_psw.csv");
    const struct {
        std::function<void()> place;
        std::u16string like;
        std::string after; // what stands under the name afterwards (0600 is 384, 0640 is 416)
    } cases[] = {
        {[&] { fs::create_symlink(outside, list); }, u"", "384: plain"},
        {[&] { fs::create_symlink(outside + "-none", list); }, u"", "384: plain"},
        {[&] { fs::create_symlink(outside, list); }, u"C:\\psw.ini", "416: plain"},
        {[&] { m_dir.write("20260203090507_psw.csv", "old"), chmod(list.c_str(), 0444); }, u"", "384: plain"},
        {[&] { fs::create_directories(list); }, u"", "folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        fs::remove_all(m_dir.path());
        m_dir.write("elsewhere/secret", "not the program's");
        m_dir.write("psw.ini", "rows");
        ASSERT_EQ(chmod(outside.c_str(), 0644) | chmod(target().c_str(), 0640), 0);
        c.place();
        const auto written =
            HostFileSystem(m_drives).write(u"C:\\20260203090507_psw.csv", "plain", OwnFile{c.like});
        EXPECT_EQ(written.ok() ? u"" : written.failure().description,
                  c.after == "folder" ? u"ファイルではなくフォルダーが指定されました。" : u"");
        EXPECT_EQ(at(list), c.after);
        EXPECT_EQ(at(outside), "420: not the program's");
        EXPECT_FALSE(fs::exists(outside + "-none"));
    }
}

// Only the program makes the folder's lock file. Anything else under its name was placed by someone
// else: it is neither followed nor removed, every write is refused with a message that names it, and
// the files stay as they were.
TEST_F(HostFileSystemGuardTest, AnythingButAFileUnderTheLocksNameRefusesEveryWrite)
{
    const std::string lock = m_dir.file(".orvanta.lock"), outside = m_dir.file("elsewhere/lock");
    const struct {
        std::function<void()> place;
        std::u16string kind;
    } cases[] = {
        {[&] { m_dir.write("elsewhere/lock", "x"), fs::create_symlink(outside, lock); },
         u"シンボリック リンク"},
        {[&] { fs::create_symlink(outside, lock); }, u"シンボリック リンク"},
        {[&] { mkfifo(lock.c_str(), 0600); }, u"名前付きパイプ"},
        {[&] { fs::create_directories(lock); }, u"フォルダー"},
    };
    for (const auto& c : cases) {
        fs::remove_all(m_dir.path());
        m_dir.write("psw.ini", "old");
        c.place();
        const std::string before = at(lock) + at(outside);
        HostFileSystem files(m_drives);
        for (const auto& written :
             {files.writeFile(u"C:\\psw.ini", "new"), files.writeOwnFile(u"C:\\psw.ini.bak", "new")})
            EXPECT_EQ(written.ok() ? u"" : written.failure().description,
                      u".orvanta.lock が" + c.kind + u"です。移して下さい。");
        EXPECT_EQ(at(lock) + at(outside), before);
        EXPECT_EQ(m_dir.read("psw.ini"), "old");
        EXPECT_FALSE(fs::exists(m_dir.file("psw.ini.bak")));
    }
}

// A FAT, exFAT or NTFS stick refuses to change a file's owner or permissions (EPERM, as vfat does when
// not mounted "quiet"): the file is written all the same, over an old one too. Any other refusal of
// that step fails the write and leaves the old file.
TEST_F(HostFileSystemGuardTest, AFileSystemWithoutPermissionsIsWrittenAllTheSame)
{
    const struct {
        bool oldFile;
        int owner;
        int mode;
        bool written;
    } cases[] = {
        {false, 0, EPERM, true},         {true, EPERM, EPERM, true}, {true, 0, EPERM, true},
        {true, EPERM, EOPNOTSUPP, true}, {true, 0, EIO, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.oldFile << " " << c.owner << " " << c.mode);
        if (c.oldFile)
            m_dir.write("psw.bkp", "old");
        HostFileSystem files(m_drives, watchedCalls([&c](std::string_view call) {
                                 return call == "fchown" ? c.owner : call == "fchmod" ? c.mode : 0;
                             }));
        const auto written = files.writeFile(u"C:\\psw.bkp", "new");
        EXPECT_EQ(written.ok(), c.written);
        if (!c.written) {
            EXPECT_EQ(written.failure().description, u"デバイスの I/O エラーです。");
        }
        EXPECT_EQ(m_dir.read("psw.bkp"), c.written ? "new" : "old");
        EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.bkp"});
        fs::remove(m_dir.file("psw.bkp"));
    }
}

// A folder the user may write to and enter but not list (mode 0311) takes writes: the lock needs no
// listing. The superuser ignores modes, so it writes as "nobody" in a child process.
TEST_F(HostFileSystemGuardTest, AFolderThatCannotBeListedIsWritten)
{
    const std::string folder = m_dir.file("unlisted");
    fs::create_directories(folder);
    ASSERT_EQ(chmod(m_dir.path().c_str(), 0711), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(chmod(folder.c_str(), 0311), 0);
    const auto writeTwice = [&] {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0))
            return false;
        HostFileSystem files(m_drives);
        const auto path = u"C:\\unlisted\\psw.ini";
        const auto first = files.writeFile(path, "first");
        const auto second = files.replaceFile(path, "second", FileContents("first"));
        return first.ok() && !first.unsynced() && second.ok() && !second.unsynced() &&
               files.readFile(path).value() == "second";
    };
    if (root) {
        EXPECT_EXIT(std::exit(writeTwice() ? 0 : 1), testing::ExitedWithCode(0), "");
    } else {
        EXPECT_TRUE(writeTwice());
    }
    ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"psw.ini"});
    EXPECT_EQ(m_dir.read("unlisted/psw.ini"), "second");
}

} // namespace
} // namespace orvanta::host
