#pragma once

// Module2, the drive discovery of バックアップ and ロード: which drive letters are floppy drives.

#include "host/Drives.h"

#include <string>
#include <string_view>

namespace orvanta::backup {

/// The drive's display name as the desktop shell shows it ("3.5 インチ FD (A:)"), cut at its first NUL.
std::u16string GetDriveDisplayName(const host::Drives& drives, std::string_view rootPath);

/// The letters of the floppy disk drives, in alphabetical order ("A", "AB", or "" when there is none).
/// A drive counts as one when it is removable and its display name, folded to half-width, holds
/// "ｲﾝﾁ FD (" — the shell names a floppy drive "3.5 インチ FD (A:)". Other drives are never asked
/// for their name.
std::u16string FindFloppyDrives(const host::Drives& drives);

/// Where psw.bkp and the list go, and where ロード looks: the first floppy drive ("A:"); without one,
/// the first removable drive that holds a medium (a USB stick, an SD card: "E:"); without one either,
/// the empty text for the root of the current drive. Paths are this prefix followed by "\psw.bkp".
std::u16string backupDrivePrefix(const host::Drives& drives);

} // namespace orvanta::backup
