#include "HostDrives.h"

#include "HostFolders.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace orvanta::platform {
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
    if (rootPath.size() < 2 || rootPath.size() > 3 || !isLetter(rootPath[0]) || rootPath[1] != ':') {
        return std::nullopt;
    }
    if (rootPath.size() == 3 && rootPath[2] != '\\' && rootPath[2] != '/') {
        return std::nullopt;
    }
    return lowerLetter(rootPath[0]);
}

bool isCurrentDrive(std::string_view rootPath)
{
    return rootPath.empty() || rootPath == "\\" || rootPath == "/";
}

std::optional<std::string> realPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return std::nullopt;
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool isFolder(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string parentOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

} // namespace

HostDrives::HostDrives(std::string dosdevices, const Registry& registry, std::string sysRoot,
                       std::string home)
    : m_dosdevices(std::move(dosdevices)), m_registry(registry), m_sysRoot(std::move(sysRoot)),
      m_home(std::move(home))
{
}

std::string HostDrives::defaultDosdevices()
{
    std::string path = hostVariable("ORVANTA_DOSDEVICES");
    if (!path.empty()) {
        return path;
    }
    return configFolder() + "/dosdevices";
}

std::optional<std::string> HostDrives::root(char letter) const
{
    if (!isLetter(letter)) {
        return std::nullopt;
    }
    const std::string entry = m_dosdevices + "/" + lowerLetter(letter) + ":";
    // A link whose target is gone is no drive.
    auto path = realPath(entry);
    if (!path || !isFolder(*path)) {
        return std::nullopt;
    }
    return path;
}

std::string HostDrives::currentDriveRoot() const
{
    if (auto drive = root('c')) {
        return *drive;
    }
    return m_home.empty() ? homeFolder() : m_home;
}

bool HostDrives::onRemovableDisk(const std::string& folder) const
{
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) {
        return false;
    }
    // The kernel lists every block device by number; a partition's whole disk is the folder above
    // it, and only the whole disk says whether it is removable.
    const std::string device = m_sysRoot + "/dev/block/" + std::to_string(major(status.st_dev)) + ":" +
                               std::to_string(minor(status.st_dev));
    auto disk = realPath(device);
    if (!disk) {
        return false;
    }
    struct stat partition {};
    if (stat((*disk + "/partition").c_str(), &partition) == 0) {
        disk = parentOf(*disk);
    }
    std::ifstream removable(*disk + "/removable");
    char flag = '0';
    return removable.get(flag) && flag == '1';
}

HostDrives::Kind HostDrives::kind(char letter) const
{
    const auto folder = root(letter);
    if (!folder) {
        return Kind::None;
    }
    const std::u16string valueName{static_cast<char16_t>(lowerLetter(letter)), u':'};
    if (const auto value = m_registry.queryValue(HKEY_LOCAL_MACHINE, u"Software\\Wine\\Drives", valueName);
        value && value->type == REG_SZ) {
        std::string type;
        for (std::uint8_t byte : value->data) {
            if (byte == 0) {
                break;
            }
            type += lowerLetter(static_cast<char>(byte));
        }
        if (type == "floppy") {
            return Kind::Floppy;
        }
        if (type == "hd") {
            return Kind::Fixed;
        }
        if (type == "cdrom") {
            return Kind::Cdrom;
        }
        if (type == "network") {
            return Kind::Remote;
        }
    }
    if (onRemovableDisk(*folder)) {
        // Drives A: and B: are the floppy drives on Windows.
        const char lower = lowerLetter(letter);
        return lower == 'a' || lower == 'b' ? Kind::Floppy : Kind::Removable;
    }
    return Kind::Fixed;
}

std::uint32_t HostDrives::GetDriveTypeA(std::string_view rootPath) const
{
    std::optional<char> letter = driveLetter(rootPath);
    if (!letter && isCurrentDrive(rootPath)) {
        if (!root('c')) {
            return onRemovableDisk(currentDriveRoot()) ? DRIVE_REMOVABLE : DRIVE_FIXED;
        }
        letter = 'c';
    }
    if (!letter) {
        return DRIVE_NO_ROOT_DIR;
    }
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

std::u16string HostDrives::displayName(std::string_view rootPath) const
{
    const auto letter = driveLetter(rootPath);
    if (!letter) {
        return {};
    }
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

} // namespace orvanta::platform
