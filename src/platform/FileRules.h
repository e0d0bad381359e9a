#pragma once

// What both hosts' file layers say and recognise alike: the descriptions of the files they refuse,
// and the names of the temporary files their writes leave behind when the program is killed.

#include <string>
#include <string_view>

namespace orvanta::platform {

/// A file that is there but is not a plain file of data.
enum class OddFile { Pipe, Device, Socket, Other };

std::u16string oddFileDescription(OddFile kind);
/// "ファイルが大きすぎます（4 MiB まで）。"
std::u16string tooLargeDescription();
/// A link whose target is not there.
std::u16string danglingLinkDescription();
/// A file its owner may not write to.
std::u16string readOnlyDescription();
/// Another copy of the program holds the folder's lock longer than a write waits for it.
std::u16string busyDescription();
/// Another program changed the file after the program read it.
std::u16string changedDescription();

/// What the name of a temporary file of the program carries between the file's own name and the
/// write's unique part: ".psw.ini.orvanta-Ab3xY9" is one. No other program names its files so.
inline constexpr std::string_view kTemporaryTag = ".orvanta-";

/// Whether `name` is a temporary file of the program's writes, by the name they give it: a dot, the
/// name of one of its files (psw.ini, psw.bkp, or a list yyyyMMddHHmmss_psw.csv), kTemporaryTag and
/// six letters and digits. Only such files are the program's to remove; on Windows, where the
/// writes name their temporary files so, the clean-up removes nothing else.
bool isTemporaryName(std::string_view name);

/// Whether `name` is one of the temporary files the program's writes make beside the file they
/// replace: a temporary name as above, or on Linux a dot, the name of one of its files, a dot and
/// mkostemp's six letters and digits.
bool isLeftoverName(std::string_view name);

} // namespace orvanta::platform
