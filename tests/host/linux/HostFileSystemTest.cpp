// The Linux file layer: paths, whole reads, writes through a temporary file and the lock.
#include "host/linux/HostFileSystem.h"

#include "support/FakeDrives.h"
#include "support/TempDir.h"
#include "support/WatchedCalls.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::host {
namespace {

using test::failingAt;
using test::namesIn;
using test::WriteStep;

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(HostFileSystemPaths, MapsWindowsPathsToHostPaths)
{
    test::FakeDrives drives;
    drives.setDrive('C', "/srv/c");
    drives.setDrive('A', "/media/floppy/");
    drives.setCurrentDriveRoot("/home/user");
    const HostFileSystem files(drives);
    const std::string cwd = fs::current_path().string();
    const struct {
        std::u16string path;
        std::optional<std::string> host;
    } cases[] = {
        {u"/home/user/psw.ini", "/home/user/psw.ini"},
        {u"/home/user\\sub\\psw.ini", "/home/user/sub/psw.ini"},
        {u"C:\\psw.ini", "/srv/c/psw.ini"},
        {u"c:\\Windows\\psw.ini", "/srv/c/Windows/psw.ini"},
        {u"C:/Windows/psw.ini", "/srv/c/Windows/psw.ini"},
        {u"C:psw.ini", "/srv/c/psw.ini"},
        {u"C:\\", "/srv/c"},
        {u"C:", "/srv/c"},
        {u"A:\\psw.bkp", "/media/floppy/psw.bkp"},
        {u"C:\\日本語\\パスワード.ini", "/srv/c/日本語/パスワード.ini"},
        {u"\\psw.bkp", "/home/user/psw.bkp"},
        {u"\\dir\\psw.bkp", "/home/user/dir/psw.bkp"},
        {u"psw.ini", cwd + "/psw.ini"},
        {u"dir\\psw.ini", cwd + "/dir/psw.ini"},
        {u"Q:\\psw.ini", std::nullopt},
        {u"\\\\server\\share\\psw.ini", std::nullopt},
        {u"", std::nullopt},
        {std::u16string{u'C', u':', u'\\', static_cast<char16_t>(0xD800)}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.hostPath(c.path), c.host) << (c.host ? *c.host : "(none)");
    }
}

class HostFileSystemTest : public ::testing::Test {
protected:
    HostFileSystemTest()
    {
        m_drives.setDrive('C', m_dir.path());
        m_drives.setCurrentDriveRoot(m_dir.path());
    }

    test::TempDir m_dir;
    test::FakeDrives m_drives;
};

TEST_F(HostFileSystemTest, ReadsWholeFiles)
{
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    m_dir.write("psw.ini", bytes);
    const HostFileSystem files(m_drives);
    const auto read = files.readFile(u"C:\\psw.ini");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), bytes);
    EXPECT_TRUE(files.exists(u"\\psw.ini"));
    EXPECT_FALSE(files.exists(u"\\nothing.ini"));
    EXPECT_FALSE(files.exists(u"Q:\\psw.ini"));
}

TEST_F(HostFileSystemTest, ReadFailuresSayWhy)
{
    fs::create_directories(m_dir.file("folder.ini"));
    const HostFileSystem files(m_drives);
    const struct {
        std::u16string path;
        Failure::Kind kind;
        std::u16string description;
    } cases[] = {
        {u"C:\\missing.ini", Failure::Kind::NotFound, u"ファイルが見つかりません。"},
        {u"Q:\\psw.ini", Failure::Kind::NotFound, u"パスが見つかりません。"},
        {u"C:\\folder.ini", Failure::Kind::Other, u"ファイルではなくフォルダーが指定されました。"},
    };
    for (const auto& c : cases) {
        const auto read = files.readFile(c.path);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.failure().kind, c.kind);
        EXPECT_EQ(read.failure().description, c.description);
    }
}

TEST_F(HostFileSystemTest, ANewFileIsTheOwnersOnly)
{
    const mode_t before = umask(0);
    HostFileSystem files(m_drives);
    const auto written = files.writeFile(u"C:\\psw.ini", std::string("new\0bytes\r\n", 11));
    umask(before);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(m_dir.read("psw.ini"), std::string("new\0bytes\r\n", 11));
    EXPECT_EQ(modeOf(m_dir.file("psw.ini")), 0600u);
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.ini"});
}

TEST_F(HostFileSystemTest, AReplacedFileKeepsItsPermissions)
{
    m_dir.write("psw.ini", "old bytes that are longer than the new ones");
    ASSERT_EQ(chmod(m_dir.file("psw.ini").c_str(), 0640), 0);
    HostFileSystem files(m_drives);
    ASSERT_TRUE(files.writeFile(u"\\psw.ini", "new").ok());
    EXPECT_EQ(m_dir.read("psw.ini"), "new");
    EXPECT_EQ(modeOf(m_dir.file("psw.ini")), 0640u);
}

TEST_F(HostFileSystemTest, WritesEmptyAndLargeFiles)
{
    HostFileSystem files(m_drives);
    ASSERT_TRUE(files.writeFile(u"C:\\empty.ini", "").ok());
    EXPECT_TRUE(fs::exists(m_dir.file("empty.ini")));
    EXPECT_EQ(fs::file_size(m_dir.file("empty.ini")), 0u);

    const std::string large(3 * 1024 * 1024 + 17, 'x');
    ASSERT_TRUE(files.writeFile(u"C:\\large.ini", large).ok());
    EXPECT_EQ(m_dir.read("large.ini"), large);
}

TEST_F(HostFileSystemTest, WritingThroughALinkKeepsTheLink)
{
    m_dir.write("real/psw.ini", "old");
    fs::create_symlink(m_dir.file("real/psw.ini"), m_dir.file("psw.ini"));
    HostFileSystem files(m_drives);
    ASSERT_TRUE(files.writeFile(u"C:\\psw.ini", "new").ok());
    EXPECT_TRUE(fs::is_symlink(m_dir.file("psw.ini")));
    EXPECT_EQ(m_dir.read("real/psw.ini"), "new");
}

TEST_F(HostFileSystemTest, WriteFailuresSayWhy)
{
    fs::create_directories(m_dir.file("folder.ini"));
    HostFileSystem files(m_drives);
    const struct {
        std::u16string path;
        Failure::Kind kind;
        std::u16string description;
    } cases[] = {
        {u"C:\\no\\such\\folder\\psw.ini", Failure::Kind::NotFound, u"パスが見つかりません。"},
        {u"Q:\\psw.ini", Failure::Kind::NotFound, u"パスが見つかりません。"},
        {u"C:\\folder.ini", Failure::Kind::Other, u"ファイルではなくフォルダーが指定されました。"},
    };
    for (const auto& c : cases) {
        const auto written = files.writeFile(c.path, "bytes");
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.failure().kind, c.kind);
        EXPECT_EQ(written.failure().description, c.description);
    }
}

// Whatever step of a write fails, the old file stays byte for byte and no temporary file is left.
TEST_F(HostFileSystemTest, AFailedWriteLeavesTheOldFile)
{
    const struct {
        WriteStep step;
        int error;
        std::u16string description;
    } cases[] = {
        {WriteStep::Open, EACCES, u"アクセスが拒否されました。"},
        {WriteStep::Open, EROFS, u"ディスクは書き込み禁止になっています。"},
        {WriteStep::Write, ENOSPC, u"ディスクの空き容量が不足しています。"},
        {WriteStep::Write, EIO, u"デバイスの I/O エラーです。"},
        {WriteStep::Sync, EIO, u"デバイスの I/O エラーです。"},
        {WriteStep::Rename, EBUSY, u"他のプログラムが使用中です。"},
        {WriteStep::Rename, EXDEV, u"ファイルを別のディスク ドライブに移動できません。"},
    };
    const std::string old = std::string("[old]\0\x82\xA0\r\n", 10);
    for (const auto& c : cases) {
        m_dir.write("psw.ini", old);
        HostFileSystem files(m_drives,
                             failingAt([&c](WriteStep step) { return step == c.step ? c.error : 0; }));
        const auto written = files.writeFile(u"C:\\psw.ini", std::string(100000, 'n'));
        ASSERT_FALSE(written.ok()) << static_cast<int>(c.step);
        EXPECT_EQ(written.failure().kind, Failure::Kind::Other);
        EXPECT_EQ(written.failure().description, c.description);
        EXPECT_EQ(m_dir.read("psw.ini"), old);
        EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"psw.ini"}) << static_cast<int>(c.step);
    }
}

TEST_F(HostFileSystemTest, AFailedFirstWriteLeavesNoFile)
{
    for (WriteStep step : {WriteStep::Open, WriteStep::Write, WriteStep::Sync, WriteStep::Rename}) {
        HostFileSystem files(m_drives, failingAt([step](WriteStep now) { return now == step ? EIO : 0; }));
        EXPECT_FALSE(files.writeFile(u"C:\\psw.ini", "new").ok());
        EXPECT_TRUE(namesIn(m_dir.path()).empty()) << static_cast<int>(step);
    }
}

} // namespace
} // namespace orvanta::host
