#pragma once

// The drive service on Windows: the system's drive types and the shell's display names.

#include "host/Drives.h"

#include <bitset>

namespace orvanta::host {

/// The drives as Windows sees them: GetDriveTypeA for the type, the shell (SHGetFileInfoA) for the
/// display name. A drive's root is its own "X:\".
class HostDrives final : public Drives {
public:
    std::uint32_t GetDriveTypeA(std::string_view rootPath) const override;
    /// The shell's display name, read in the ANSI code page ("3.5 インチ FD (A:)" on Japanese Windows).
    std::u16string displayName(std::string_view rootPath) const override;
    /// "X:\" when Windows knows a drive X:. A fixed drive, once known, is not asked about again.
    std::optional<std::string> root(char letter) const override;
    /// Whether the drive tells its free space and its medium is not write-protected. An empty floppy or card
    /// drive answers no at once: Windows is told not to ask the user to insert a disk.
    bool hasMedium(std::string_view rootPath) const override;
    /// The root of the working directory's drive ("C:\"), or of its share ("\\server\share\").
    std::string currentDriveRoot() const override;

private:
    /// The fixed drives root() has found, A: to Z:.
    mutable std::bitset<26> m_fixed;
};

} // namespace orvanta::host
