// ロード: psw.bkp back into psw.ini, every password stored again with this machine's key. The file it
// replaces is kept beside it as psw.ini.bak, one generation, so that a load can be undone.
#include "form/MainWindow.h"
#include "rules/backup/BackupFiles.h"
#include "rules/backup/MailKey.h"
#include "rules/backup/Messages.h"
#include "rules/backup/Module2.h"
#include "rules/store/RowFormat.h"

#include <algorithm>

namespace orvanta::form {

namespace {
using backup::notLoaded;
} // namespace

void MainWindow::btnload_Click()
{
    auto& files = m_services.files;

    // Under a temporary key every password would be stored with a key that is not the machine's, and
    // would read wrongly once the product ID reads again.
    if (m_keyProblem) {
        Txtmassage.setText(backup::keyProblemRefusal(notLoaded()));
        return;
    }

    // Everything is checked before psw.ini is touched, and the window keeps its rows (inputkensu
    // included) until the new file is in place: a refused load changes nothing.
    const auto backupPath = backup::backupDrivePrefix(m_services.drives) + u"\\psw.bkp";
    const auto shownBackup = files.shownPath(backupPath);
    const auto bytes = files.readFile(backupPath);
    if (!bytes) {
        Txtmassage.setText(backup::floppyFailureMessage(shownBackup, bytes.failure()));
        return;
    }
    // A psw.ini that did not read whole may hold rows the window does not show.
    const long long rowsNow = std::min<long long>(inputkensu, store::kMaxRows);
    // The rows the window read from psw.ini are this machine's stored form; keepReplacedDataFile
    // makes sure they are still the file's before it is replaced.
    const auto restored = backup::restoredDataFile(bytes.value(), X.number, m_services.codePage,
                                                   rowsNow > 0 || !dataFileSound(), records.rows(rowsNow));
    if (const auto* refusal = std::get_if<std::u16string>(&restored)) {
        Txtmassage.setText(*refusal);
        return;
    }
    const auto& newFile = std::get<backup::RestoredDataFile>(restored);

    setTxtdirectry();
    const auto replaced = keepReplacedDataFile();
    if (!replaced)
        return;
    // The file the check found is the one the write must still find: the file layer refuses only a
    // change made after that check, while psw.ini.bak was written.
    if (const auto written = replaceDataFile(newFile.bytes, replaced->contents()); !written.ok()) {
        if (written.failure().kind == host::Failure::Kind::Changed)
            rereadChangedDataFile(u"ロードを中止し");
        else
            Txtmassage.setText(backup::loadFileRefusal(u"psw.ini", written.failure()));
        return;
    }

    inputkensu = 0;
    reload();
    Txtmassage.setText(doneMessage(
        newFile.mailKey ? u"ＬＯＡＤ完了" + backup::rekeyedMailNote(*newFile.mailKey) : u"ＬＯＡＤ完了"));
}

std::optional<host::FileAsRead> MainWindow::keepReplacedDataFile()
{
    auto& files = m_services.files;
    if (const auto problem = dataFolderProblem()) {
        Txtmassage.setText(*problem + notLoaded());
        return std::nullopt;
    }
    const auto now = files.readFile(dataFilePath());
    const auto current = host::FileAsRead::of(now);
    if (!current.readable()) {
        // A file that cannot be read cannot be kept either; it stays for the user to look into, and
        // out of the way the load can go ahead.
        Txtmassage.setText(backup::unreadableDataFileRefusal(now.failure()));
        return std::nullopt;
    }
    // After a read that failed, the window shows nothing of the file that a change could make stale:
    // the file as it is now is the one the load replaces and keeps.
    if (m_dataFileAsRead.readable() && m_dataFileAsRead != current) {
        rereadChangedDataFile(u"ロードを中止し");
        return std::nullopt;
    }
    // Whatever would refuse the new psw.ini is found before psw.ini.bak is written, so that a refused
    // load leaves the copy of the load before it.
    if (const auto refusal = files.replaceRefusal(dataFilePath())) {
        Txtmassage.setText(backup::loadFileRefusal(u"psw.ini", *refusal));
        return std::nullopt;
    }
    if (!current.contents())
        return current; // no psw.ini yet: nothing is replaced
    const auto keptPath = dataFilePath() + u".bak";
    const auto kept = files.writeOwnFileLike(keptPath, *current.contents(), dataFilePath());
    if (!kept.ok()) {
        Txtmassage.setText(backup::loadFileRefusal(u"psw.ini.bak", kept.failure()));
        return std::nullopt;
    }
    noteUnsynced(kept);
    return current;
}

} // namespace orvanta::form
