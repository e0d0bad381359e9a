#pragma once

// MainWindow, the program's one window as plain data: every control, the window state, the record
// array and the code table, and every handler under the name the program gives it.

#include "form/Control.h"
#include "form/ControlTable.h"
#include "form/Screens.h"
#include "host/FileAsRead.h"
#include "host/Services.h"
#include "rules/cipher/CodeTable.h"
#include "rules/store/PswRecord.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::backup {
struct BackupFiles;
} // namespace orvanta::backup

namespace orvanta::bench {
class Rewrite;
} // namespace orvanta::bench

namespace orvanta::form {

/// How long a password the program put on the clipboard stays there: time enough to paste it into a
/// log-in box, and then it is not left lying for whoever comes to the machine next.
inline constexpr std::chrono::seconds kClipboardKeepTime{30};

/// The program's one window, as plain data: its controls, its window state, the record array
/// and the code table, with every event handler. The Qt view builds the widgets from the design table,
/// sends each user event here and then shows the controls' state; no behaviour lives in the view.
///
/// The event handlers take no arguments and return nothing, and every outcome is one line in
/// Txtmassage. A value that lasts one event passes as an argument or a result; only what lasts from
/// one event to the next is a member.
class MainWindow {
private:
    std::array<Control, kControlCount> m_controls; // before the named references below

public:
    explicit MainWindow(host::Services services);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Control& control(ControlId id) { return m_controls[static_cast<std::size_t>(id)]; }
    const Control& control(ControlId id) const { return m_controls[static_cast<std::size_t>(id)]; }

    // The controls, by the names the handlers use.
    Control& Txtdirectry;
    Control& Txtmassage;
    Control& cmbnamae;
    Control& Lstidbox;
    Control& btnnew;
    Control& btnkousin;
    Control& Txtnamae;
    Control& Txtidbox;
    Control& Txtpassnew;
    Control& btndelete;
    Control& btnnewmode;
    Control& btnmordori;
    Control& regprodid;
    Control& btnload;
    Control& btnunload;
    Control& btnclipset;
    Control& Lblpassword;
    Control& Txtbikouran;
    Control& Lblbikouran;
    Control& btncleate;
    Control& txtketasu;
    Control& riyoukanou;
    Control& Image1;

    // The window state that lasts from one event to the next.
    long long inputkensu = 0;    ///< rows read by the last read of psw.ini
    std::u16string combosentaku; ///< the destination last chosen in cmbnamae
    bool changfrag = false;      ///< the user changed the destination or ID box in this mode
    bool sVshokifrg = false;     ///< the program itself is filling the destination and ID boxes
    cipher::Key X;               ///< the key in force

    store::RecordArray records; ///< rows 1 to inputkensu as last read
    cipher::CodeTable CodeTable;

    // Start-up and help (form/).
    void Form_Load();
    /// The window closes: a password that the program put on the clipboard and that is still there
    /// is taken off, so it does not outlive the program, and the clipboard's timer stops.
    void Form_Unload();
    /// The reload after psw.ini was written: start-up again, then the ID list and both display boxes
    /// cleared, so nothing the user sees is left over from the file as it was.
    void reload();
    /// F1: shows the help file registered at start-up, or says why it cannot.
    void helpKey();
    /// The help file registered at start-up: ORVANTA.HLP of the working directory, else the one
    /// beside the program, else the shared folder's; the working directory's when there is none.
    const std::u16string& helpFile() const { return m_helpFile; }
    /// The picture of Image1 loaded at start-up: a host path, empty when there is none.
    const std::string& pictureFile() const { return m_pictureFile; }

    // Screens and change tracking (form/).
    void applyScreen(Screen screen);
    /// The screen applied last (start-up and every reload apply the initial screen).
    Screen screen() const { return m_screen; }
    void btnnewmode_Click();
    void btnmordori_Click();
    void Txtnamae_Change();
    void Txtidbox_Change();
    /// Whether the destination and ID of a registration are already used.
    [[nodiscard]] bool newchek() const;
    /// Whether the destination and ID of an update, when the user changed either, are already used.
    /// Ends the change tracking of this edit.
    [[nodiscard]] bool roolchek();

    // Keystroke filters (form/): KeyAscii is the character's code in the ANSI code page as a signed
    // 16-bit number; setting it to 0 cancels the keystroke.
    void Txtpassnew_KeyPress(std::int16_t& KeyAscii);
    void Txtbikouran_KeyPress(std::int16_t& KeyAscii);
    void Lblpassword_KeyPress(std::int16_t& KeyAscii);
    void Lblbikouran_KeyPress(std::int16_t& KeyAscii);
    void Txtmassage_KeyPress(std::int16_t& KeyAscii);
    void txtketasu_KeyPress(std::int16_t& KeyAscii);
    /// The key code a character arrives with: its code in the ANSI code page as a signed 16-bit number
    /// (a double-byte character as one negative code), 0 when the code page cannot hold it.
    std::int16_t keyCodeOf(char32_t character) const;

    // Code table and the stored form of a text (cipher/).
    /// Sets the key that `productIdEnd` (the product ID's last two characters) names, or the fixed key
    /// when they are not digits, builds the code table and shows the key message.
    void angoutbset(std::u16string_view productIdEnd);
    /// The stored form of a plain text under the window's code table (cipher::encode).
    std::u16string encodeText(std::u16string_view plain);
    /// The plain text of a stored text under the window's code table (cipher::decode).
    std::u16string decodeText(std::u16string_view stored);

    // The data file (store/).
    /// Reads psw.ini into the record array from slot 1, counting inputkensu, and runs perRow after
    /// each row with its slot. A file that does not read cleanly is reported in Txtmassage, and every
    /// rewrite is refused until it does.
    void ReadDataFile(const std::function<void(long long slot)>& perRow);
    /// Sets Txtdirectry to the value of the environment variable Windir, the empty text when it is unset:
    /// every read and write of psw.ini first takes the Windows folder afresh from the environment.
    void setTxtdirectry();
    /// Txtdirectry's text followed by "\psw.ini".
    std::u16string dataFilePath() const;
    /// Whether the last read of psw.ini was clean, so that the file may be rewritten.
    bool dataFileSound() const { return !m_dataFileProblem.has_value(); }
    /// Replaces psw.ini with `bytes`, provided it still holds `asRead` (is still missing, when that is
    /// nothing): a change another program made since is never overwritten (the failure is then
    /// Failure::Kind::Changed and nothing is written). The caller has asked dataFolderProblem. A write
    /// that may not survive a power failure is noted for doneMessage.
    host::WriteOutcome replaceDataFile(std::string_view bytes, const host::FileContents& asRead);
    /// Why psw.ini can be neither read nor written where the environment puts it (a Windows folder
    /// whose name cannot be read); nothing when it can.
    std::optional<std::u16string> dataFolderProblem() const;
    /// After another program changed psw.ini: reads it again as start-up does and says that the
    /// operation `stopped` ("書き換えを中止しました") should be repeated on the data now shown.
    void rereadChangedDataFile(std::u16string_view stopped);
    /// Before a ロード replaces psw.ini, the load's one check that the Windows folder can be used and
    /// that psw.ini is still the file the last read found; then writes it as it stands to psw.ini.bak,
    /// with psw.ini's permissions. Gives the file it checked, which the new psw.ini may replace;
    /// nothing when the load must stop, the reason then in Txtmassage and psw.ini untouched.
    [[nodiscard]] std::optional<host::FileAsRead> keepReplacedDataFile();
    /// Notes a file that was written but whose folder could not be flushed to the disk.
    void noteUnsynced(const host::WriteOutcome& outcome);
    /// The message of a finished write, followed by the note of a write that may not survive a power
    /// failure, if there is one; the note is used up.
    std::u16string doneMessage(std::u16string message);

    // Browsing (browse/).
    void cmbnamae_Click();
    void Lstidbox_Click();
    void btnclipset_Click();
    /// The user copied `selected` out of the password display (Ctrl+C, or Copy in the box's menu): it
    /// goes to the clipboard as クリップ puts a password there, marked as a secret, and leaves it again
    /// after kClipboardKeepTime or when the window closes. An empty selection copies nothing.
    void Lblpassword_Copy(std::u16string_view selected);
    /// The same for a copy out of the password entry box, which holds the plain password in edit mode.
    void Txtpassnew_Copy(std::u16string_view selected);
    /// The same for a copy out of the message box: a completion message names the password.
    void Txtmassage_Copy(std::u16string_view selected);
    void Lstidbox_DblClick();
    /// Empties Lstidbox, with what it kept of the rows it was filled from.
    void clearIdList();
    /// Fills Lstidbox with the IDs of the destination in combosentaku, from the rows as last read, in
    /// file order, and keeps those rows to tell later which row each item stands for.
    void fillIdList();
    /// Reads psw.ini and shows the entry chosen in Lstidbox in Lblpassword and Lblbikouran. False when
    /// the file no longer tells that entry's row without doubt (another program changed the rows of its
    /// ID since the list was filled): both boxes are then cleared, the list is filled again from the
    /// file and Txtmassage says so.
    bool showChosenRow();
    /// The entry chosen in Lstidbox under `destination`: the selected item's ID, and which of the items
    /// that show this ID it is, so that an ID listed twice names one row (store::chosenRow).
    store::EntryChoice chosenEntry(std::u16string destination) const;

    // Entry operations (entries/).
    void btnnew_Click();
    void btnkousin_Click();
    void btndelete_Click();

    // Password generator (generator/).
    void btncleate_Click();

    // Backup and restore (backup/).
    void btnunload_Click();
    void btnload_Click();

    host::Services& services() { return m_services; }

private:
    /// The benchmark times the rewrite on its own, against a plain write of the same bytes.
    friend class bench::Rewrite;

    /// The operations of the one rewrite of psw.ini; None writes the rows as they are.
    enum class Operation { None, New, Koushin, Delete };
    /// The one rewrite of psw.ini, which 登録する, 更新する and 削除する end in: rewrites the file from the
    /// record array, applying `dousafrag` (store::applyChange) to the entry in the boxes and the chosen
    /// destination and ID. False when nothing was written; the reason is then in Txtmassage, and the
    /// old file and the record array are untouched.
    [[nodiscard]] bool kakidashi(Operation dousafrag);
    /// Puts a password (or a text that may hold one) on the clipboard, marked as a secret, and sets the
    /// clipboard's timer to take it off again.
    void copySecret(std::u16string_view text);
    /// Takes the password the program put on the clipboard off again, if the clipboard still holds the
    /// program's own copy of it; what another program copied since stays, the same text included.
    void takeSecretOffClipboard();
    /// バックアップ's steps: reads psw.ini afresh, false when it may not be backed up (the reason then in
    /// Txtmassage); writes psw.bkp and the list of entries beside it under `prefix`.
    bool readForBackup();
    bool writeBackupFiles(const std::u16string& prefix, const backup::BackupFiles& copies);
    void refuseAllButQuestionMark(std::int16_t& KeyAscii, std::u16string_view message);

    host::Services m_services;
    std::u16string m_helpFile;
    Screen m_screen = Screen::Initial;
    /// Set once start-up has run: a later Form_Load is the reload after a write, which leaves the
    /// clipboard alone.
    bool m_started = false;
    /// The password the copy button (or a copy out of a box that shows one) last put on the
    /// clipboard, empty when it put none.
    std::u16string m_copiedPassword;
    /// The rows of the chosen destination that Lstidbox was filled from, in file order.
    std::vector<store::PswRecord> m_listedRows;
    /// Set when a choice in Lstidbox found psw.ini changed and filled the list again, until the next
    /// choice: the second half of a double-click then leaves that message in place.
    bool m_listReadAgain = false;
    std::string m_pictureFile;
    /// Set while the last read of psw.ini did not read cleanly: the message that says so.
    std::optional<std::u16string> m_dataFileProblem;
    /// What the last read of psw.ini found: its bytes, no file, or a file that could not be read.
    host::FileAsRead m_dataFileAsRead;
    /// Set when a write finished but may not survive a power failure: the note that says so.
    std::optional<std::u16string> m_writeNote;
    /// Set while the product ID could not be read from where it lies and the key rests on a fallback:
    /// which file and what is wrong with it.
    std::optional<std::u16string> m_keyProblem;
};

} // namespace orvanta::form
