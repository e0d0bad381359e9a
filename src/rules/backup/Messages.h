#pragma once

// The messages that backup and restore put in Txtmassage when they stop. Every path they take is a
// path as FileSystem::shownPath gives it, in the host's own form.

#include "host/Expected.h"
#include "rules/store/PswRecord.h"
#include "rules/store/RowFormat.h"

#include <string>
#include <string_view>

namespace orvanta::backup {

/// Said after every refusal that leaves psw.ini as it was.
inline constexpr std::u16string_view kDataFileUnchanged = u"（psw.ini は元のままです）";
/// Said after every refusal that leaves psw.bkp as it was.
inline constexpr std::u16string_view kBackupUnchanged = u"（psw.bkp は元のままです）";

/// The end of every message of a refused ロード: "ロードを中止しました（psw.ini は元のままです）。"
std::u16string notLoaded();
/// The end of every message of a refused バックアップ.
std::u16string notBackedUp();

/// Why バックアップ or ロード is refused while the product ID cannot be read and the key is a
/// temporary one: "製品IDを読み取れないため、" then `stopped` (notBackedUp(), notLoaded()). Start-up
/// said what is wrong.
std::u16string keyProblemRefusal(std::u16string_view stopped);

/// A psw.ini without entries is not backed up over a backup that has some.
std::u16string emptyDataFileRefusal();

/// The list could not be written after psw.bkp was: `failure` is the list's message.
std::u16string listFailureMessage(std::u16string_view failure);

/// ロード stopped by a failure of `name` (psw.ini, psw.ini.bak) in the data folder, which the window
/// shows: "ロード中止（psw.ini）：" and the platform's description. psw.ini is as it was.
std::u16string loadFileRefusal(std::u16string_view name, const host::Failure& failure);

/// ロード asks the user to move psw.ini aside when it can neither read nor keep it.
inline constexpr std::u16string_view kMoveAside = u"移すか改名してからロードを。";

/// ロード stopped because psw.ini, in the data folder the window shows, cannot be read: "psw.ini：",
/// the platform's description and kMoveAside.
std::u16string unreadableDataFileRefusal(const host::Failure& failure);

/// A failure of psw.bkp or of the list on the disk, whose path is `shownPath`. A failure of the disk
/// or the system is the platform's description alone: the user pressed the button for that disk, so
/// the description is all there is to tell. A file there that the program refuses (a pipe, a device,
/// a folder, a link to nothing, a file too large or read-only) is named: "<path>：<description>".
std::u16string floppyFailureMessage(std::u16string_view shownPath, const host::Failure& failure);

/// The folder a file's shown path lies in, with its separator ("A:\", "/home/user/").
std::u16string folderOf(std::u16string_view shownPath);

/// バックアップ's message when it is done: the words of the window, then the folder it wrote to, so
/// that the user finds the files also where the program chose the place.
std::u16string backupDoneMessage(std::u16string_view shownFolder);

/// A failure to write psw.bkp or the list into the root of the current drive or the home folder, the
/// place a backup takes without a floppy disk or a stick: a disk or system failure names the folder
/// and asks for a USB stick or the like, whatever the cause; a file there that is refused is named as on a
/// floppy.
std::u16string fallbackFailureMessage(std::u16string_view shownPath, const host::Failure& failure);

/// A failure of psw.ini during a backup or a restore: its path, "：" and the platform's description.
/// The same description ("ファイルが見つかりません。", "アクセスが拒否されました。") can come from the
/// disk's file in the same operation, and the path tells the two apart.
std::u16string fileFailureMessage(std::u16string_view path, const host::Failure& failure);

/// How a refusal of ロード for what psw.bkp holds begins: the load stopped before psw.ini was touched.
inline constexpr std::u16string_view kLoadStopped = u"ロード中止：";

/// A row of psw.bkp or of psw.ini, named so that the user can find it in a short line: its
/// destination and ID ("三井住友銀行の hanako.yamada "), never its password; a header row by its
/// destination.
std::u16string rowName(const store::PswRecord& row);

/// Why a row cannot go into psw.bkp or the list; `row` is the row the writer named. Nothing was
/// written.
std::u16string rowWriteMessage(const store::RowWriteProblem& problem, const store::PswRecord& row);

/// Why psw.bkp did not read cleanly.
std::u16string backupReadMessage(const store::RowFileProblem& problem);

/// The list's heading cannot be written in the code page.
std::u16string listHeadingMessage(std::u16string_view shownList);

/// ロード refused: `row` of psw.bkp has a password character without a code, which `bad` names
/// ("全角空白", "「あ」").
std::u16string backupPasswordRefusal(const store::PswRecord& row, std::u16string_view bad);

/// ロード refused: psw.bkp has no rows.
std::u16string emptyBackupRefusal();

/// ロード refused: a row of psw.bkp cannot be written into psw.ini.
std::u16string backupRowWriteRefusal(const store::RowWriteProblem& problem, const store::PswRecord& row);

} // namespace orvanta::backup
