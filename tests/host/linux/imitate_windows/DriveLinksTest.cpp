// Drive letters on Linux: drive links, mounted sticks and what stands behind each letter.
#include "host/linux/imitate_windows/DriveLinks.h"

#include "host/Utf8.h"
#include "host/linux/UdevBlockDevices.h"
#include "host/linux/imitate_windows/RegistryHive.h"
#include "support/FakeBlockDevices.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace orvanta::host {
namespace {

namespace fs = std::filesystem;

// A drive-link folder as the compatibility layers keep it:
//   a: -> floppy/   (a link; the hive says floppy)
//   c:              (a folder)
//   d: -> cd/       (the hive says cdrom)
//   e: -> stick/    (no hive entry)
//   b: -> stick/    (no hive entry)
//   n: -> share/    (the hive says network)
//   h: -> disk/     (the hive says hd)
//   g: -> gone/     (a link to nothing)
//   f: -> file.txt  (a link to a file)
// The hive also names q:, which has no link.
class DriveLinksTest : public ::testing::Test {
protected:
    DriveLinksTest()
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
                                                              {"b:", "stick"},
                                                              {"n:", "share"},
                                                              {"h:", "disk"},
                                                              {"g:", "gone"},
                                                              {"f:", "file.txt"}}) {
            fs::create_directory_symlink(m_dir.file(target), m_dir.file("dosdevices/" + letter));
        }
        fs::create_directories(m_dir.file("nodrives"));
    }

    // The disk that holds the temporary folder, removable or not.
    dev_t folderDevice() const
    {
        struct stat status {};
        EXPECT_EQ(stat(m_dir.path().c_str(), &status), 0);
        return status.st_dev;
    }
    void setFolderDisk(bool removable)
    {
        m_devices.setDisk(folderDevice(), {removable, "ata", false, false});
    }

    DriveLinks drives(DriveLinks::Mounts mounts = {"/nonexistent/mountinfo", {}}) const
    {
        return DriveLinks(m_dir.file("dosdevices"), m_hive, m_devices, std::move(mounts), m_dir.file("home"));
    }

    std::string real(const std::string& name) const { return fs::canonical(m_dir.file(name)).string(); }

    test::TempDir m_dir;
    test::FakeBlockDevices m_devices;
    RegistryHive m_hive = RegistryHive::parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"
                                              "\"a:\"=\"floppy\"\n\"D:\"=\"CDROM\"\n\"n:\"=\"network\"\n"
                                              "\"h:\"=\"hd\"\n\"q:\"=\"hd\"\n\"c:\"=\"unheard-of\"\n");
};

TEST_F(DriveLinksTest, RootsAreTheLinkedFolders)
{
    const DriveLinks hostDrives = drives();
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

TEST_F(DriveLinksTest, TypesAndNames)
{
    const struct {
        const char* root;
        bool removableDisk;
        std::uint32_t type;
        std::u16string name;
    } cases[] = {
        {"A:\\", false, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"a:", false, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"A:/", false, DRIVE_REMOVABLE, u"3.5 インチ FD (A:)"},
        {"C:\\", false, DRIVE_FIXED, u"ローカル ディスク (C:)"},
        {"d:\\", false, DRIVE_CDROM, u"CD ドライブ (D:)"},
        {"N:\\", false, DRIVE_REMOTE, u"ネットワーク ドライブ (N:)"},
        {"H:\\", true, DRIVE_FIXED, u"ローカル ディスク (H:)"},
        {"E:\\", false, DRIVE_FIXED, u"ローカル ディスク (E:)"},
        {"E:\\", true, DRIVE_REMOVABLE, u"リムーバブル ディスク (E:)"},
        // A removable disk at A: or B: is a floppy drive, as on Windows.
        {"B:\\", true, DRIVE_REMOVABLE, u"3.5 インチ FD (B:)"},
        // A type the hive names but this program does not know: what the disk says.
        {"C:\\", true, DRIVE_REMOVABLE, u"リムーバブル ディスク (C:)"},
        {"G:\\", false, DRIVE_NO_ROOT_DIR, u""},
        {"F:\\", false, DRIVE_NO_ROOT_DIR, u""},
        {"Q:\\", false, DRIVE_NO_ROOT_DIR, u""},
        {"Z:\\", false, DRIVE_NO_ROOT_DIR, u""},
        {"AB:\\", false, DRIVE_NO_ROOT_DIR, u""},
        {"A:\\x", false, DRIVE_NO_ROOT_DIR, u""},
        {"1:\\", false, DRIVE_NO_ROOT_DIR, u""},
    };
    for (const auto& c : cases) {
        setFolderDisk(c.removableDisk);
        EXPECT_EQ(drives().GetDriveTypeA(c.root), c.type) << c.root << " " << c.removableDisk;
        EXPECT_EQ(drives().displayName(c.root), c.name) << c.root << " " << c.removableDisk;
    }
}

// What udev tells of a disk decides whether it is one the user plugs in.
TEST(RemovableDiskTest, AUsbDiskAnSdCardOrARemovableDiskButNotTheSystems)
{
    const struct {
        DiskFacts facts;
        bool removable;
    } cases[] = {
        {{true, "", false, false}, true},   {{false, "usb", false, false}, true},
        {{false, "", true, false}, true},   {{false, "ata", false, false}, false},
        {{true, "usb", true, true}, false}, {{false, "scsi", false, false}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isRemovableDisk(c.facts), c.removable)
            << c.facts.removable << c.facts.bus << c.facts.sdCard;
    }
    // A file system without a disk (this one, /proc) is none udev knows.
    struct stat status {};
    ASSERT_EQ(stat("/proc", &status), 0);
    EXPECT_EQ(UdevBlockDevices().disk(status.st_dev), std::nullopt);
}

// Sticks and cards the desktop mounted under the user's media folder take the free letters from D:
// on, in the order they were mounted; other mounts, fixed disks and mounts a link already reaches
// get none.
TEST_F(DriveLinksTest, MountedSticksGetLettersOfTheirOwn)
{
    for (const char* folder :
         {"media/u/STICK", "media/u/MY CARD", "media/u/INTERNAL", "media/u/NTFS", "mnt/usb"})
        fs::create_directories(m_dir.file(folder));
    fs::create_directory_symlink(m_dir.file("media/u/INTERNAL"), m_dir.file("dosdevices/i:"));
    m_devices.setDisk(makedev(8, 17), {false, "usb", false, false});
    m_devices.setDisk(makedev(179, 1), {false, "", true, false});
    m_devices.setDisk(makedev(8, 1), {false, "ata", false, false});
    m_devices.setDisk(makedev(0, 61), {true, "", false, false});
    const std::string media = m_dir.file("media");
    m_dir.write("mountinfo", "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                             "40 22 8:17 / " +
                                 media +
                                 "/u/STICK rw,nosuid - vfat /dev/sdb1 rw\n"
                                 "41 22 8:17 / " +
                                 m_dir.file("mnt/usb") +
                                 " rw - vfat /dev/sdb1 rw\n"
                                 "42 22 8:2 / " +
                                 media +
                                 "/u/INTERNAL rw - ext4 /dev/sda2 rw\n"
                                 "43 22 179:1 / " +
                                 media +
                                 "/u/MY\\040CARD rw shared:1 - exfat /dev/mmcblk0p1 rw\n"
                                 "44 22 0:61 / " +
                                 media +
                                 "/u/NTFS rw - fuseblk /nonexistent/sdc1 rw\n"
                                 "45 22 8:17 / " +
                                 media +
                                 "/u/GONE rw - vfat /dev/sdb1 rw\n"
                                 "garbage\n");
    const DriveLinks hostDrives = drives({m_dir.file("mountinfo"), {m_dir.file("nowhere"), media + "/u/"}});
    const struct {
        char letter;
        std::optional<std::string> root;
        std::uint32_t type;
    } cases[] = {
        {'d', real("cd"), DRIVE_CDROM},
        {'i', real("media/u/INTERNAL"), DRIVE_FIXED},
        {'j', real("media/u/STICK"), DRIVE_REMOVABLE},
        {'k', real("media/u/MY CARD"), DRIVE_REMOVABLE},
        {'l', real("media/u/NTFS"), DRIVE_REMOVABLE},
        {'m', std::nullopt, DRIVE_NO_ROOT_DIR},
    };
    for (const auto& c : cases) {
        const std::string rootPath{c.letter, ':', '\\'};
        EXPECT_EQ(hostDrives.root(c.letter), c.root) << c.letter;
        EXPECT_EQ(hostDrives.GetDriveTypeA(rootPath), c.type) << c.letter;
        EXPECT_EQ(hostDrives.hasMedium(rootPath), c.root.has_value()) << c.letter;
    }
    EXPECT_EQ(hostDrives.displayName("J:\\"), u"リムーバブル ディスク (J:)");
}

TEST_F(DriveLinksTest, CurrentDriveIsCOrTheHomeFolder)
{
    EXPECT_EQ(drives().currentDriveRoot(), real("dosdevices/c:"));
    EXPECT_EQ(drives().GetDriveTypeA(""), DRIVE_FIXED);

    const DriveLinks withoutC(m_dir.file("nodrives"), m_hive, m_devices, {}, m_dir.file("home"));
    EXPECT_EQ(withoutC.currentDriveRoot(), m_dir.file("home"));
    EXPECT_EQ(withoutC.root('c'), std::nullopt);
    EXPECT_EQ(withoutC.GetDriveTypeA("C:\\"), DRIVE_NO_ROOT_DIR);

    const DriveLinks noFolder(m_dir.file("missing"), m_hive, m_devices, {}, m_dir.file("home"));
    EXPECT_EQ(noFolder.root('a'), std::nullopt);
    EXPECT_EQ(noFolder.currentDriveRoot(), m_dir.file("home"));
}

} // namespace
} // namespace orvanta::host
