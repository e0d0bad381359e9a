#pragma once

// What バックアップ and ロード make of the rows, as functions of values: the bytes of psw.bkp and of
// the list from the rows of psw.ini, and the bytes of a new psw.ini from psw.bkp. The handlers read
// and write the files around them.

#include "host/Clock.h"
#include "host/CodePage.h"
#include "rules/store/PswRecord.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace orvanta::backup {

/// One text in its stored form to the plain text (decode), or the other way round (encode).
using TextConversion = std::function<std::u16string(std::u16string_view)>;
/// A file name on the backup disk ("psw.bkp") as the messages name it: its whole path.
using ShownName = std::function<std::u16string(std::u16string_view name)>;

/// The list's name for a local time: "yyyyMMddHHmmss_psw.csv", so that the lists sort by the time they
/// were made.
std::u16string listName(const host::LocalTime& time);

/// The two files of a backup.
struct BackupFiles {
    std::string backupBytes; ///< psw.bkp: every row of psw.ini, the passwords in plain text
    std::u16string listName; ///< the list's name (listName)
    std::string listBytes;   ///< the list: a heading, then the entry rows (header rows are left out)
};

/// The files of a backup of `rows` (the rows of psw.ini as stored), their passwords decoded with
/// `decode`, the list named for `now`. Or the message that names the row (or the heading) that cannot
/// be written into its file. The e-mail addresses stay in their stored form.
std::variant<BackupFiles, std::u16string> backupFiles(std::span<const store::PswRecord> rows,
                                                      const TextConversion& decode,
                                                      const host::LocalTime& now,
                                                      const host::CodePage& codePage, const ShownName& shown);

/// A new psw.ini made from psw.bkp.
struct RestoredDataFile {
    std::string bytes;
    /// Set when the e-mail addresses were stored with another key (foreignMailKey) and are now stored
    /// with this machine's: that key.
    std::optional<int> mailKey;
};

/// The new psw.ini from the bytes of psw.bkp: every
/// password stored again with `key` (this machine's, 0 to 81), the mail field taken as it stands, or
/// stored again with `key` when the addresses tell another key (foreignMailKey, which also looks at
/// `dataFileRows`, the rows of the psw.ini the load replaces). Or the message why the backup is not
/// loaded: a row that does not read or cannot be written, a password character without a code, or a
/// backup without rows while psw.ini may hold some (`dataFileMayHoldRows`). Every message ends in
/// begins with kLoadStopped.
std::variant<RestoredDataFile, std::u16string>
restoredDataFile(std::string_view backupBytes, long long key, const host::CodePage& codePage,
                 bool dataFileMayHoldRows, std::span<const store::PswRecord> dataFileRows);

} // namespace orvanta::backup
