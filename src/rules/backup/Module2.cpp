// Module2: finding the floppy drives by the name the desktop shell gives each drive, and the
// removable drive a backup goes to when there is no floppy drive.
#include "Module2.h"

#include "host/WidthFold.h"

namespace orvanta::backup {

namespace {

/// The mark is half-width while the shell's names carry full-width katakana ("インチ") and may carry
/// full-width letters and brackets, so a name is folded to half-width before it is compared.
constexpr std::u16string_view kFloppyMark = u"ｲﾝﾁ FD (";

} // namespace

std::u16string GetDriveDisplayName(const host::Drives& drives, std::string_view rootPath)
{
    auto name = drives.displayName(rootPath);
    if (const auto nul = name.find(u'\0'); nul != std::u16string::npos)
        name.resize(nul);
    return name;
}

std::u16string FindFloppyDrives(const host::Drives& drives)
{
    std::u16string letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string rootPath{letter, ':', '\\'};
        if (drives.GetDriveTypeA(rootPath) != host::DRIVE_REMOVABLE)
            continue;
        if (host::toHalfwidth(GetDriveDisplayName(drives, rootPath)).find(kFloppyMark) !=
            std::u16string::npos)
            letters += static_cast<char16_t>(letter);
    }
    return letters;
}

std::u16string backupDrivePrefix(const host::Drives& drives)
{
    // With two floppy drives the first one takes the backup: the first version joined every letter
    // ("A:B:"), which names no path at all.
    if (const auto letters = FindFloppyDrives(drives); !letters.empty())
        return std::u16string{letters.front(), u':'};
    // Few computers have a floppy drive now: a USB stick or an SD card takes the backup instead. Only
    // without one does it go to the current drive's root, which users may not write to.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string rootPath{letter, ':', '\\'};
        if (drives.GetDriveTypeA(rootPath) == host::DRIVE_REMOVABLE && drives.hasMedium(rootPath))
            return std::u16string{static_cast<char16_t>(letter), u':'};
    }
    return {};
}

} // namespace orvanta::backup
