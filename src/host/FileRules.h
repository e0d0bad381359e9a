#pragma once

// What both hosts' file layers say and recognise alike: the descriptions of the files they refuse,
// and the names of the temporary files their writes leave behind when the program is killed.

#include "host/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::host {

/// A file that is there but is not a plain file of data.
enum class OddFile { Pipe, Device, Socket, Other };

std::u16string oddFileDescription(OddFile kind);
/// "ファイルが大きすぎます（4 MiB まで）。", for a limit of whole MiB, else of whole KiB
/// ("（256 KiB まで）").
std::u16string tooLargeDescription(std::size_t limit = kMaxFileSize);

/// What stands under a file's name, as the program's reads and writes tell things apart. A Link is seen
/// only where a link is not followed.
enum class FileKind { Regular, Folder, Link, Pipe, Device, Socket, Other };

/// Why the program does not read or replace what stands under a file's name: anything but a regular
/// file is refused before it is opened (a pipe would wait for a writer for ever, a device may never
/// end). Nothing for a regular file.
std::optional<Failure> kindRefusal(FileKind kind);
/// As kindRefusal, and a regular file of more than `limit` bytes is refused too: it is not one of the
/// program's files, and reading it whole would cost the memory and time of every click.
std::optional<Failure> fileRefusal(FileKind kind, std::uintmax_t size, std::size_t limit = kMaxFileSize);
/// A link whose target is not there.
std::u16string danglingLinkDescription();
/// A file its owner may not write to.
std::u16string readOnlyDescription();
/// Why a write does not go ahead when `kind`, not a regular file, stands under the name of the
/// folder's lock file. Only the program makes that file, so anything else there was placed by someone
/// else: it is neither followed nor removed, and the description names it for the user to move aside.
/// It lies in the folder of the file the message names (psw.ini's folder, or the disk the user chose).
std::u16string lockFileDescription(FileKind kind);
/// Said after a failure at the user's VirtualStore copy of a file in %Windir% (Windows).
inline constexpr std::u16string_view kVirtualStoreNote = u"（VirtualStore 内）";
/// The name of the folder's lock file, on both hosts.
inline constexpr std::string_view kLockName = ".orvanta.lock";
/// Another copy of the program holds the folder's lock longer than a write waits for it.
std::u16string busyDescription();
/// Another program changed the file after the program read it.
std::u16string changedDescription();

/// What the temporary files of the program's writes carry after the name of the file they replace,
/// on both hosts: ".psw.ini.orvanta-a1B2c3".
inline constexpr std::string_view kTemporaryMark = "orvanta-";

/// Whether `name` is one of the temporary files the program's writes make beside the file they
/// replace: a dot, the name of one of its files (psw.ini, psw.ini.bak, psw.bkp, or a list
/// yyyyMMddHHmmss_psw.csv), a dot, "orvanta-" and six letters and digits. Nothing else is the program's:
/// other programs name their temporary files alike (rsync copies psw.ini in as ".psw.ini.tdev52").
bool isLeftoverName(std::string_view name);

} // namespace orvanta::host
