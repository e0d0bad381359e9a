#pragma once

// Drive letters, types, names and media as a test sets them up.

#include "host/Drives.h"

#include <map>

namespace orvanta::test {

/// Drives as a test sets them up. A letter without a drive has no root and type DRIVE_NO_ROOT_DIR.
class FakeDrives final : public host::Drives {
public:
    void setDrive(char letter, std::string root, std::uint32_t type = host::DRIVE_FIXED,
                  std::u16string displayName = {});
    void removeDrive(char letter);
    /// The drive stays, but holds no medium (an empty card reader, a floppy drive without a disk).
    void setMedium(char letter, bool medium);
    void setCurrentDriveRoot(std::string root) { m_currentDriveRoot = std::move(root); }

    std::uint32_t GetDriveTypeA(std::string_view rootPath) const override;
    std::u16string displayName(std::string_view rootPath) const override;
    std::optional<std::string> root(char letter) const override;
    bool hasMedium(std::string_view rootPath) const override;
    std::string currentDriveRoot() const override { return m_currentDriveRoot; }

private:
    struct Drive {
        std::string root;
        std::uint32_t type = host::DRIVE_FIXED;
        std::u16string displayName;
        bool medium = true;
    };
    const Drive* find(std::string_view rootPath) const;

    std::map<char, Drive> m_drives;
    std::string m_currentDriveRoot = "/";
};

} // namespace orvanta::test
