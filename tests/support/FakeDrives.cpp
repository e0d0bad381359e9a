// Drives as a test sets them up.
#include "support/FakeDrives.h"

namespace orvanta::test {
namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

void FakeDrives::setDrive(char letter, std::string root, std::uint32_t type, std::u16string displayName)
{
    m_drives[upper(letter)] = Drive{std::move(root), type, std::move(displayName)};
}

void FakeDrives::removeDrive(char letter)
{
    m_drives.erase(upper(letter));
}

void FakeDrives::setMedium(char letter, bool medium)
{
    m_drives.at(upper(letter)).medium = medium;
}

bool FakeDrives::hasMedium(std::string_view rootPath) const
{
    const Drive* drive = find(rootPath);
    return drive != nullptr && drive->medium;
}

const FakeDrives::Drive* FakeDrives::find(std::string_view rootPath) const
{
    if (rootPath.size() < 2 || rootPath[1] != ':') {
        return nullptr;
    }
    const auto found = m_drives.find(upper(rootPath[0]));
    return found == m_drives.end() ? nullptr : &found->second;
}

std::uint32_t FakeDrives::GetDriveTypeA(std::string_view rootPath) const
{
    const Drive* drive = find(rootPath);
    return drive != nullptr ? drive->type : host::DRIVE_NO_ROOT_DIR;
}

std::u16string FakeDrives::displayName(std::string_view rootPath) const
{
    const Drive* drive = find(rootPath);
    return drive != nullptr ? drive->displayName : std::u16string();
}

std::optional<std::string> FakeDrives::root(char letter) const
{
    const auto found = m_drives.find(upper(letter));
    if (found == m_drives.end()) {
        return std::nullopt;
    }
    return found->second.root;
}

} // namespace orvanta::test
