#include "platform/HostDrives.h"

#include "platform/RegistryHive.h"
#include "platform/Utf8.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace orvanta::platform {
namespace {

namespace fs = std::filesystem;

// A drive-link folder as the compatibility layers keep it:
//   a: -> floppy/   (a link; the hive says floppy)
//   c:              (a folder)
//   d: -> cd/       (the hive says cdrom)
//   e: -> stick/    (no hive entry)
//   n: -> share/    (the hive says network)
//   h: -> disk/     (the hive says hd)
//   g: -> gone/     (a link to nothing)
//   f: -> file.txt  (a link to a file)
// The hive also names q:, which has no link.
class HostDrivesTest : public ::testing::Test {
protected:
    HostDrivesTest()
    {
        for (const char* folder :
             {"floppy", "cd", "stick", "share", "disk", "dosdevices/c:", "home", "empty"}) {
            fs::create_directories(m_dir.file(folder));
        }
        m_dir.write("file.txt", "x");
        for (const auto& [letter, target] :
             std::vector<std::pair<std::string, std::string>>{{"a:", "floppy"},
                                                              {"d:", "cd"},
                                                              {"e:", "stick"},
                                                              {"n:", "share"},
                                                              {"h:", "disk"},
                                                              {"g:", "gone"},
                                                              {"f:", "file.txt"}}) {
            fs::create_directory_symlink(m_dir.file(target), m_dir.file("dosdevices/" + letter));
        }
        fs::create_directories(m_dir.file("nodrives"));
        fs::create_directories(m_dir.file("sys-fixed"));
    }

    // A device tree in which the disk holding the temporary folder is removable (or not).
    std::string sysTree(bool removable, bool partition)
    {
        struct stat status {};
        EXPECT_EQ(stat(m_dir.path().c_str(), &status), 0);
        const std::string name = std::string("sys-") + (removable ? "r" : "f") + (partition ? "p" : "d");
        const std::string disk = name + "/devices/pci0000:00/usb1/block/sdz";
        m_dir.write(disk + "/removable", removable ? "1\n" : "0\n");
        std::string device = disk;
        if (partition) {
            device += "/sdz1";
            m_dir.write(device + "/partition", "1\n");
        }
        const std::string number =
            std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));
        fs::create_directories(m_dir.file(name + "/dev/block"));
        fs::create_directory_symlink(m_dir.file(device), m_dir.file(name + "/dev/block/" + number));
        return m_dir.file(name);
    }

    HostDrives drives(const std::string& sysRoot) const
    {
        return HostDrives(m_dir.file("dosdevices"), m_hive, sysRoot, m_dir.file("home"));
    }

    std::string real(const std::string& name) const { return fs::canonical(m_dir.file(name)).string(); }

    test::TempDir m_dir;
    RegistryHive m_hive = RegistryHive::parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"
                                              "\"a:\"=\"floppy\"\n\"D:\"=\"CDROM\"\n\"n:\"=\"network\"\n"
                                              "\"h:\"=\"hd\"\n\"q:\"=\"hd\"\n\"c:\"=\"unheard-of\"\n");
};

TEST_F(HostDrivesTest, RootsAreTheLinkedFolders)
{
    const HostDrives hostDrives = drives(m_dir.file("sys-fixed"));
    const struct {
        char letter;
        std::optional<std::string> root;
    } cases[] = {
        {'a', real("floppy")},        {'A', real("floppy")}, {'c', real("dosdevices/c:")},
        {'C', real("dosdevices/c:")}, {'d', real("cd")},     {'g', std::nullopt},
        {'f', std::nullopt},          {'q', std::nullopt},   {'z', std::nullopt},
        {'1', std::nullopt},          {':', std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hostDrives.root(c.letter), c.root) << c.letter;
    }
}

TEST_F(HostDrivesTest, TypesAndNames)
{
    const std::string fixedSys = m_dir.file("sys-fixed");
    const std::string removableSys = sysTree(true, true);
    const struct {
        const char* root;
        const std::string* sys;
        std::uint32_t type;
        std::u16string name;
    } cases[] = {
        {"A:\\", &fixedSys, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"a:", &fixedSys, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"A:/", &fixedSys, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"C:\\", &fixedSys, DRIVE_FIXED, u"ローカル ディスク (C:)"},
        {"d:\\", &fixedSys, DRIVE_CDROM, u"CD ドライブ (D:)"},
        {"N:\\", &fixedSys, DRIVE_REMOTE, u"ネットワーク ドライブ (N:)"},
        {"H:\\", &removableSys, DRIVE_FIXED, u"ローカル ディスク (H:)"},
        {"E:\\", &fixedSys, DRIVE_FIXED, u"ローカル ディスク (E:)"},
        {"E:\\", &removableSys, DRIVE_REMOVABLE, u"リムーバブル ディスク (E:)"},
        // A type the hive names but this program does not know: what the disk says.
        {"C:\\", &removableSys, DRIVE_REMOVABLE, u"リムーバブル ディスク (C:)"},
        {"G:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"F:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"Q:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"Z:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"AB:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"A:\\x", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
        {"1:\\", &fixedSys, DRIVE_NO_ROOT_DIR, u""},
    };
    for (const auto& c : cases) {
        const HostDrives hostDrives = drives(*c.sys);
        EXPECT_EQ(hostDrives.GetDriveTypeA(c.root), c.type) << c.root << " " << *c.sys;
        EXPECT_EQ(hostDrives.displayName(c.root), c.name) << c.root << " " << *c.sys;
    }
}

TEST_F(HostDrivesTest, OnlyTheWholeDiskSaysWhetherItIsRemovable)
{
    // Here the device number names the whole disk, which is not removable.
    EXPECT_EQ(drives(sysTree(false, false)).GetDriveTypeA("E:\\"), DRIVE_FIXED);
    EXPECT_EQ(drives(sysTree(true, false)).GetDriveTypeA("E:\\"), DRIVE_REMOVABLE);
    EXPECT_EQ(drives(sysTree(false, true)).GetDriveTypeA("E:\\"), DRIVE_FIXED);
}

TEST_F(HostDrivesTest, RemovableDiskAtAOrBIsAFloppy)
{
    fs::create_directory_symlink(m_dir.file("stick"), m_dir.file("dosdevices/b:"));
    EXPECT_EQ(drives(sysTree(true, true)).displayName("B:\\"), u"3.5 インチ FD (B:)");
}

TEST_F(HostDrivesTest, CurrentDriveIsCOrTheHomeFolder)
{
    EXPECT_EQ(drives(m_dir.file("sys-fixed")).currentDriveRoot(), real("dosdevices/c:"));
    EXPECT_EQ(drives(m_dir.file("sys-fixed")).GetDriveTypeA(""), DRIVE_FIXED);

    const HostDrives withoutC(m_dir.file("nodrives"), m_hive, m_dir.file("sys-fixed"), m_dir.file("home"));
    EXPECT_EQ(withoutC.currentDriveRoot(), m_dir.file("home"));
    EXPECT_EQ(withoutC.root('c'), std::nullopt);
    EXPECT_EQ(withoutC.GetDriveTypeA("C:\\"), DRIVE_NO_ROOT_DIR);

    const HostDrives noFolder(m_dir.file("missing"), m_hive, m_dir.file("sys-fixed"), m_dir.file("home"));
    EXPECT_EQ(noFolder.root('a'), std::nullopt);
    EXPECT_EQ(noFolder.currentDriveRoot(), m_dir.file("home"));
}

} // namespace
} // namespace orvanta::platform
