// The file layer's guards: what it refuses to read or replace, the order of its calls to the system,
// the folder's lock, the check against the bytes last read, and the temporary files of killed writes.
#include "platform/FileRules.h"
#include "platform/HostFileSystem.h"
#include "support/FakeDrives.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::platform {
namespace {

using test::namesIn;

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
    ASSERT_TRUE(written);
    EXPECT_EQ(written->description, u"ファイルが大きすぎます（4 MiB まで）。");
    EXPECT_FALSE(fs::exists(m_dir.file("psw.bkp")));
    ASSERT_FALSE(files.writeFile(u"C:\\psw.bkp", std::string(kMaxFileSize, 'x')));
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
    ASSERT_FALSE(files.writeFile(u"C:\\psw.ini", "new"));
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
        const auto outcome = files.replaceFile(u"C:\\psw.ini", "new", c.asRead);
        EXPECT_EQ(!outcome, c.written);
        if (c.written) {
            EXPECT_EQ(m_dir.read("psw.ini"), "new");
            continue;
        }
        EXPECT_EQ(outcome->kind, Failure::Kind::Changed);
        EXPECT_EQ(outcome->description, u"読み込んだ後に、他のプログラムがファイルを変更しました。");
        EXPECT_EQ(fs::exists(target()), c.onDisk.has_value());
        if (c.onDisk) {
            EXPECT_EQ(m_dir.read("psw.ini"), *c.onDisk);
        }
    }
}

// The calls a write makes, with the writes of one file run together and the leftovers' removal and
// the keeping of owner and mode left out: the order that leaves the old file or the new one whole
// after a crash or a power failure.
std::vector<FileOperation> essentialOrder(const std::vector<FileOperation>& made)
{
    std::vector<FileOperation> order;
    for (const FileOperation operation : made) {
        if (operation == FileOperation::RemoveLeftover || operation == FileOperation::KeepOwner ||
            operation == FileOperation::KeepMode) {
            continue;
        }
        if (operation == FileOperation::Write && !order.empty() && order.back() == FileOperation::Write) {
            continue;
        }
        order.push_back(operation);
    }
    return order;
}

TEST_F(HostFileSystemGuardTest, AWriteMakesItsCallsInTheOrderThatSurvivesACrash)
{
    using enum FileOperation;
    const std::vector<FileOperation> durable{Lock,  Check,  CreateExclusive, Write, SyncFile,
                                             Close, Rename, SyncFolder,      Unlock};
    // Each flush left out in turn: the order must show it, or a write without it would pass.
    const struct {
        std::optional<FileOperation> leftOut;
        bool durable;
    } cases[] = {{std::nullopt, true}, {SyncFile, false}, {SyncFolder, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.leftOut ? static_cast<int>(*c.leftOut) : -1);
        m_dir.write("psw.ini", "old");
        std::vector<FileOperation> made;
        HostFileSystem::Hooks hooks;
        hooks.trace = [&made](FileOperation operation) { made.push_back(operation); };
        hooks.leaveOut = [&c](FileOperation operation) { return c.leftOut == operation; };
        HostFileSystem files(m_drives, hooks);
        ASSERT_FALSE(files.replaceFile(u"C:\\psw.ini", std::string(300000, 'n'), FileContents("old")));
        EXPECT_EQ(essentialOrder(made) == durable, c.durable);
        EXPECT_EQ(m_dir.read("psw.ini"), std::string(300000, 'n'));
    }
}

TEST_F(HostFileSystemGuardTest, AFolderThatCannotBeFlushedIsToldButTheFileIsWritten)
{
    m_dir.write("psw.ini", "old");
    HostFileSystem files(m_drives, [](WriteStep step) { return step == WriteStep::SyncFolder ? EIO : 0; });
    const auto outcome = files.writeFile(u"C:\\psw.ini", "new");
    EXPECT_FALSE(outcome);
    ASSERT_TRUE(outcome.unsynced());
    EXPECT_EQ(outcome.unsynced()->description, u"デバイスの I/O エラーです。");
    EXPECT_EQ(m_dir.read("psw.ini"), "new");
    EXPECT_FALSE(HostFileSystem(m_drives).writeFile(u"C:\\psw.ini", "newer").unsynced());
}

// A second writer in the same folder waits for the first one's lock; one that waits too long gives
// up and writes nothing.
TEST_F(HostFileSystemGuardTest, AnotherWriterInTheFolderWaitsForTheLock)
{
    m_dir.write("psw.ini", "old");
    HostFileSystem::Hooks patient;
    patient.lockWait = std::chrono::milliseconds(50);
    HostFileSystem second(m_drives, patient);
    WriteOutcome secondWhileHeld;
    bool tried = false;
    HostFileSystem first(m_drives, [&](WriteStep step) {
        if (step == WriteStep::Write && !tried) {
            tried = true;
            secondWhileHeld = second.replaceFile(u"C:\\psw.bkp", "second", std::nullopt);
        }
        return 0;
    });
    ASSERT_FALSE(first.writeFile(u"C:\\psw.ini", "first"));
    ASSERT_TRUE(tried);
    ASSERT_TRUE(secondWhileHeld);
    EXPECT_EQ(secondWhileHeld->description,
              u"他のプログラムがこのフォルダーに書き込み中です。しばらくしてから、もう一度操作して下さい。");
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.ini"});
    EXPECT_EQ(m_dir.read("psw.ini"), "first");
    EXPECT_FALSE(second.writeFile(u"C:\\psw.bkp", "second"));
}

// The temporary files of killed writes hold a whole psw.ini, psw.bkp or list, the last two with the
// passwords in plain text. The next write in the folder removes them, and nothing else.
TEST_F(HostFileSystemGuardTest, TheNextWriteRemovesTheLeftoversOfKilledWrites)
{
    const std::vector<std::string> leftovers{".psw.ini.a1B2c3", ".psw.bkp.XXXXXX",
                                             ".20261207093000_psw.csv.Qw3Er5", ".psw.ini.orvanta-a1B2c3",
                                             ".20261207093000_psw.csv.orvanta-Qw3Er5"};
    const std::vector<std::string> kept{
        ".psw.ini.a1B2c",         ".psw.ini.a1B2c3d",       "psw.ini.a1B2c3",
        ".other.ini.a1B2c3",      ".psw.ini.a1-2c3",        ".2026120709300_psw.csv.Qw3Er5",
        ".psw.ini.12-x.tmp",      ".psw.ini.a1B2c3.old",    "psw.bkp",
        ".psw.ini.1234567-0.tmp", ".psw.ini.orvanta-a1B2c", ".other.ini.orvanta-a1B2c3"};
    for (const auto& name : leftovers) {
        EXPECT_TRUE(isLeftoverName(name)) << name;
        m_dir.write(name, "\"Mail\",\"taro\",\"plain password\",\" \",\"\"\r\n");
    }
    for (const auto& name : kept) {
        EXPECT_FALSE(isLeftoverName(name)) << name;
        m_dir.write(name, "someone else's");
    }
    // A folder of that name is not the program's either.
    fs::create_directories(m_dir.file(".psw.ini.Folder"));

    HostFileSystem files(m_drives);
    ASSERT_FALSE(files.writeFile(u"C:\\psw.ini", "new"));
    auto expected = kept;
    expected.push_back(".psw.ini.Folder");
    expected.push_back("psw.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(m_dir.path()), expected);
}

} // namespace
} // namespace orvanta::platform
