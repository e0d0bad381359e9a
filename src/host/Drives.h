#pragma once

// The drives service: which letters have a drive, of what type, with what display name and medium.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::host {

inline constexpr std::uint32_t DRIVE_UNKNOWN = 0;
inline constexpr std::uint32_t DRIVE_NO_ROOT_DIR = 1;
inline constexpr std::uint32_t DRIVE_REMOVABLE = 2;
inline constexpr std::uint32_t DRIVE_FIXED = 3;
inline constexpr std::uint32_t DRIVE_REMOTE = 4;
inline constexpr std::uint32_t DRIVE_CDROM = 5;

/// Drive letters and what stands behind them.
class Drives {
public:
    virtual ~Drives() = default;

    /// The type of the drive whose root path ("A:\\") is given.
    virtual std::uint32_t GetDriveTypeA(std::string_view rootPath) const = 0;
    /// The drive's display name as the desktop shell shows it ("3.5 インチ FD (A:)"), empty when unknown.
    virtual std::u16string displayName(std::string_view rootPath) const = 0;
    /// The host folder that is the root of drive `letter`, or nothing when the letter has no drive.
    virtual std::optional<std::string> root(char letter) const = 0;
    /// Whether the drive whose root path ("E:\\") is given holds a medium that files can be written
    /// to: a disk in the drive, a mounted stick or card. By default, whether the drive has a root.
    virtual bool hasMedium(std::string_view rootPath) const
    {
        return !rootPath.empty() && root(rootPath.front()).has_value();
    }
    /// The root of the current drive, where a path without a drive letter ("\\psw.bkp") lies.
    virtual std::string currentDriveRoot() const = 0;
};

} // namespace orvanta::host
