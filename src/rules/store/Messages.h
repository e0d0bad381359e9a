#pragma once

// The messages of the data file psw.ini: its read, its rewrite and the write that may not have reached
// the disk. The rules' own texts (a row that does not read, a rule the rows break) are in RowFormat.h
// and RowChecks.h, beside the problems they name.

#include "rules/store/RowFormat.h"

#include <string>
#include <string_view>

namespace orvanta::store {

/// A psw.ini that did not read whole: what is wrong, then what the window does about it.
std::u16string dataFileReadMessage(const RowFileProblem& problem);

/// A psw.ini that could not be read at all; `why` is the platform's description.
std::u16string dataFileUnreadableMessage(std::u16string_view why);

/// The Windows folder's name cannot be read as text; `why` says why. The message box adds what this
/// stops.
std::u16string windirProblemMessage(std::u16string_view why);
/// Said after windirProblemMessage when psw.ini is read.
inline constexpr std::u16string_view kNoDataFile = u"psw.ini を読み書きできません。";

/// psw.ini changed behind the window: `stopped` is what stopped ("書き換えを中止し"), and the window
/// read the file again.
std::u16string changedDataFileMessage(std::u16string_view stopped);

/// A rewrite refused before psw.ini was touched; `why` says why.
std::u16string notWrittenMessage(std::u16string_view why);

/// A field of row `row` (counting from 0) that psw.ini cannot hold.
std::u16string rowWriteRefusal(const RowWriteProblem& problem);

/// A rewrite refused because psw.ini did not read whole.
inline constexpr std::u16string_view kUnsoundDataFile =
    u"psw.ini が正しく読めなかったため、書き換えを中止しました。";

/// Said once after a completion message when a file was written but its folder may not have reached
/// the disk: the change is in place, yet a power cut may undo it.
inline constexpr std::u16string_view kUnsyncedNote = u"（停電で消えるおそれ）";

} // namespace orvanta::store
