// Stands in for the drives of Windows (GetDriveTypeA, the drive letters, the shell's drive names), which
// the backup's floppy drive and the users' paths rely on and Linux does not have: drive links over
// folders as the Windows compatibility layers make them, and the user's mounted sticks and cards as
// removable drives.
#include "host/linux/imitate_windows/DriveLinks.h"

#include "host/linux/HostFolders.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace orvanta::host {
namespace {

char lowerLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "A:\", "a:", "A:/" -> 'a'. Nothing for anything that is no drive root.
std::optional<char> driveLetter(std::string_view rootPath)
{
    if (rootPath.size() < 2 || rootPath.size() > 3 || !isLetter(rootPath[0]) || rootPath[1] != ':')
        return std::nullopt;
    if (rootPath.size() == 3 && rootPath[2] != '\\' && rootPath[2] != '/')
        return std::nullopt;
    return lowerLetter(rootPath[0]);
}

bool isCurrentDrive(std::string_view rootPath)
{
    return rootPath.empty() || rootPath == "\\" || rootPath == "/";
}

std::optional<std::string> realPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool isFolder(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The first letter a mounted stick may take: A: and B: are the floppy drives' and C: the system's,
// as on Windows.
constexpr char kFirstMountedLetter = 'd';

struct Mount {
    dev_t number = 0;   // the file system's device number, as stat gives it
    std::string point;  // where it is mounted
    std::string source; // what is mounted: "/dev/sdb1" for a disk
};

// "\040" and the like: the mount table writes spaces, tabs, line ends and backslashes in octal.
std::string unescaped(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

// The kernel's mount table, in mountinfo's format:
//   36 35 8:17 / /media/user/STICK rw,nosuid - vfat /dev/sdb1 rw,uid=1000
// (id, parent, device number, root, mount point, options, optional fields up to "-", type, source).
std::vector<Mount> readMounts(const std::string& table)
{
    std::vector<Mount> mounts;
    std::ifstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, number, rootField, point, options, field;
        if (!(fields >> id >> parent >> number >> rootField >> point >> options))
            continue;
        while (fields >> field && field != "-") {
        }
        std::string type, source;
        if (field != "-" || !(fields >> type >> source))
            continue;
        unsigned int majorNumber = 0;
        unsigned int minorNumber = 0;
        if (std::sscanf(number.c_str(), "%u:%u", &majorNumber, &minorNumber) != 2)
            continue;
        mounts.push_back(Mount{makedev(majorNumber, minorNumber), unescaped(point), unescaped(source)});
    }
    return mounts;
}

// The block device behind a mount. A file system the kernel runs itself carries its disk's number;
// one run by a helper program (ntfs-3g, exfat-fuse) carries a number of its own, and names its disk
// as the source.
dev_t deviceOf(const Mount& mount)
{
    struct stat status {};
    if (mount.source.starts_with("/dev/") && stat(mount.source.c_str(), &status) == 0 &&
        S_ISBLK(status.st_mode))
        return status.st_rdev;
    return mount.number;
}

bool isUnder(const std::string& path, const std::string& folder)
{
    std::string prefix = folder;
    while (prefix.size() > 1 && prefix.back() == '/')
        prefix.pop_back();
    return !prefix.empty() && path.size() > prefix.size() + 1 && path.starts_with(prefix + "/");
}

// Whether the folder of drive links has an entry for the letter, whether or not it leads anywhere: a
// letter the user set up stays the user's even while its stick is unplugged.
bool isDefined(const std::string& dosdevices, char letter)
{
    struct stat status {};
    const std::string entry = dosdevices + "/" + lowerLetter(letter) + ":";
    return lstat(entry.c_str(), &status) == 0;
}

} // namespace

DriveLinks::DriveLinks(std::string dosdevices, const Registry& registry, const BlockDevices& devices,
                       Mounts mounts, std::string home)
    : m_dosdevices(std::move(dosdevices)), m_registry(registry), m_devices(devices),
      m_mounts(std::move(mounts)), m_home(std::move(home))
{
}

std::string DriveLinks::defaultDosdevices()
{
    std::string path = hostVariable("ORVANTA_DOSDEVICES");
    if (!path.empty())
        return path;
    return configFolder() + "/dosdevices";
}

std::vector<std::string> defaultMediaFolders()
{
    const std::string user = userName();
    if (user.empty() || user.find('/') != std::string::npos)
        return {};
    return {"/media/" + user, "/run/media/" + user};
}

std::optional<std::string> DriveLinks::linkedRoot(char letter) const
{
    const std::string entry = m_dosdevices + "/" + lowerLetter(letter) + ":";
    // A link whose target is gone is no drive.
    auto path = realPath(entry);
    if (!path || !isFolder(*path))
        return std::nullopt;
    return path;
}

std::vector<std::pair<char, std::string>> DriveLinks::mountedDrives() const
{
    std::vector<std::string> linked;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        if (auto path = linkedRoot(letter))
            linked.push_back(std::move(*path));
    std::vector<std::pair<char, std::string>> drives;
    char next = kFirstMountedLetter;
    for (const Mount& mount : readMounts(m_mounts.table)) {
        if (std::none_of(m_mounts.mediaFolders.begin(), m_mounts.mediaFolders.end(),
                         [&](const std::string& folder) { return isUnder(mount.point, folder); }))
            continue;
        const auto facts = m_devices.disk(deviceOf(mount));
        if (!facts || !isRemovableDisk(*facts))
            continue;
        const auto path = realPath(mount.point);
        if (!path || !isFolder(*path) || std::find(linked.begin(), linked.end(), *path) != linked.end() ||
            std::any_of(drives.begin(), drives.end(),
                        [&](const auto& drive) { return drive.second == *path; }))
            continue;
        while (next <= 'z' && isDefined(m_dosdevices, next))
            ++next;
        if (next > 'z')
            break;
        drives.emplace_back(next++, *path);
    }
    return drives;
}

std::optional<std::string> DriveLinks::root(char letter) const
{
    if (!isLetter(letter))
        return std::nullopt;
    if (isDefined(m_dosdevices, letter) || lowerLetter(letter) < kFirstMountedLetter)
        return linkedRoot(letter);
    for (auto& [mounted, path] : mountedDrives())
        if (mounted == lowerLetter(letter))
            return std::move(path);
    return std::nullopt;
}

std::string DriveLinks::currentDriveRoot() const
{
    if (auto drive = root('c'))
        return *drive;
    return m_home.empty() ? homeFolder() : m_home;
}

bool DriveLinks::onRemovableDisk(const std::string& folder) const
{
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0)
        return false;
    dev_t device = status.st_dev;
    for (const Mount& mount : readMounts(m_mounts.table))
        if (mount.number == status.st_dev)
            device = deviceOf(mount);
    const auto facts = m_devices.disk(device);
    return facts && isRemovableDisk(*facts);
}

DriveLinks::Kind DriveLinks::kind(char letter) const
{
    if (!isDefined(m_dosdevices, letter)) {
        // A stick the desktop mounted, or nothing.
        return root(letter) ? Kind::Removable : Kind::None;
    }
    const auto folder = linkedRoot(letter);
    if (!folder)
        return Kind::None;
    const std::u16string valueName{static_cast<char16_t>(lowerLetter(letter)), u':'};
    if (const auto value = m_registry.queryValue(HKEY_LOCAL_MACHINE, u"Software\\Wine\\Drives", valueName);
        value && value->type == REG_SZ) {
        std::string type;
        for (std::uint8_t byte : value->data) {
            if (byte == 0)
                break;
            type += lowerLetter(static_cast<char>(byte));
        }
        if (type == "floppy")
            return Kind::Floppy;
        if (type == "hd")
            return Kind::Fixed;
        if (type == "cdrom")
            return Kind::Cdrom;
        if (type == "network")
            return Kind::Remote;
    }
    if (onRemovableDisk(*folder)) {
        // Drives A: and B: are the floppy drives on Windows.
        const char lower = lowerLetter(letter);
        return lower == 'a' || lower == 'b' ? Kind::Floppy : Kind::Removable;
    }
    return Kind::Fixed;
}

std::uint32_t DriveLinks::GetDriveTypeA(std::string_view rootPath) const
{
    std::optional<char> letter = driveLetter(rootPath);
    if (!letter && isCurrentDrive(rootPath)) {
        if (!root('c'))
            return onRemovableDisk(currentDriveRoot()) ? DRIVE_REMOVABLE : DRIVE_FIXED;
        letter = 'c';
    }
    if (!letter)
        return DRIVE_NO_ROOT_DIR;
    switch (kind(*letter)) {
    case Kind::None:
        return DRIVE_NO_ROOT_DIR;
    case Kind::Floppy:
    case Kind::Removable:
        return DRIVE_REMOVABLE;
    case Kind::Fixed:
        return DRIVE_FIXED;
    case Kind::Cdrom:
        return DRIVE_CDROM;
    case Kind::Remote:
        return DRIVE_REMOTE;
    }
    return DRIVE_UNKNOWN;
}

std::u16string DriveLinks::displayName(std::string_view rootPath) const
{
    const auto letter = driveLetter(rootPath);
    if (!letter)
        return {};
    std::u16string name;
    switch (kind(*letter)) {
    case Kind::None:
        return {};
    case Kind::Floppy:
        name = u"3.5 インチ FD";
        break;
    case Kind::Removable:
        name = u"リムーバブル ディスク";
        break;
    case Kind::Fixed:
        name = u"ローカル ディスク";
        break;
    case Kind::Cdrom:
        name = u"CD ドライブ";
        break;
    case Kind::Remote:
        name = u"ネットワーク ドライブ";
        break;
    }
    const auto upper = static_cast<char16_t>(*letter - 'a' + 'A');
    return name + u" (" + upper + u":)";
}

} // namespace orvanta::host
