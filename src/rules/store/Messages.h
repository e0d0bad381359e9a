#pragma once

// The messages of the data file psw.ini: its read, its rewrite and the write that may not have reached
// the disk. The rules' own texts (a row that does not read, a rule the rows break) are in RowFormat.h
// and RowChecks.h, beside the problems they name.

#include "rules/store/RowFormat.h"

#include <optional>
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

/// What the window says after it read psw.ini again because the file changed behind it: `changed`
/// (changedDataFileMessage, kListReadAgain), or, when the file did not read whole this time, the read's
/// problem after a short "他で変更：", which leaves the box room for the problem a user must act on.
std::u16string rereadMessage(std::u16string_view changed, const std::optional<std::u16string>& problem);

/// The list of IDs was read again because psw.ini changed behind it: the user chooses the ID anew.
inline constexpr std::u16string_view kListReadAgain =
    u"psw.ini が他で変更されていました。IDの一覧を読み直しました。IDを選び直して下さい。";

/// `stopped` ("更新中止", "削除中止") for the entry `destination`/`id` the user chose: the entry has
/// gone (`gone`), or the rows of its ID changed so that the one chosen can no longer be told.
std::u16string lostEntryMessage(std::u16string_view stopped, std::u16string_view destination,
                                std::u16string_view id, bool gone);

/// A registration refused because psw.ini holds as many rows as it can.
std::u16string rowLimitRefusal();

/// A rewrite refused before psw.ini was touched; `why` says why.
std::u16string notWrittenMessage(std::u16string_view why);

/// A field of row `row` (counting from 0) that psw.ini cannot hold.
std::u16string rowWriteRefusal(const RowWriteProblem& problem);

/// A rewrite refused because psw.ini did not read whole.
inline constexpr std::u16string_view kUnsoundDataFile =
    u"psw.ini が正しく読めなかったため、書き換えを中止しました。";

/// Said once after a completion message when a file was written but its folder may not have reached
/// the disk: the change is in place, yet a power cut may undo it.
inline constexpr std::u16string_view kUnsyncedNote = u"（停電注意）";

} // namespace orvanta::store
