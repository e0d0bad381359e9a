// バックアップ: psw.ini copied to psw.bkp with the passwords in plain text, and a dated list of the
// entries for the user to read or print, both on the floppy disk when there is one.
#include "form/MainWindow.h"
#include "rules/backup/BackupFiles.h"
#include "rules/backup/Messages.h"
#include "rules/backup/Module2.h"
#include "rules/store/RowFormat.h"

namespace orvanta::form {

namespace {

/// Why a psw.ini that read no rows is not backed up to `backupPath`; nothing when it may be.
std::optional<std::u16string> noRowsProblem(const host::FileSystem& files, const host::CodePage& codePage,
                                            const std::u16string& dataFile, const std::u16string& backupPath)
{
    // The read passes over a missing psw.ini (the first start has none); a backup needs one.
    const auto probe = files.readFile(dataFile);
    if (!probe)
        return backup::fileFailureMessage(files.shownPath(dataFile), probe.failure());
    // An empty psw.ini (emptied, or still being copied in place) must not replace a backup that
    // holds entries: the mirror of ロード's refusal of a backup without rows.
    const auto old = files.readFile(backupPath);
    if (old && !store::readRows(old.value(), codePage).rows.empty())
        return backup::emptyDataFileRefusal();
    return std::nullopt;
}

} // namespace

bool MainWindow::readForBackup()
{
    // Under a temporary key every password decodes wrongly: the backup would replace a good one with
    // wrong plain passwords.
    if (m_keyProblem) {
        Txtmassage.setText(backup::keyProblemRefusal(backup::notBackedUp()));
        return false;
    }

    if (const auto problem = dataFolderProblem()) {
        Txtmassage.setText(*problem + backup::notBackedUp());
        return false;
    }
    inputkensu = 0;
    setTxtdirectry();
    ReadDataFile(nullptr);
    if (!dataFileSound()) {
        // A backup of the rows that did read would drop the others without a word, and would
        // replace what may be the last good backup.
        Txtmassage.setText(backup::notBackedUp() + Txtmassage.text());
        return false;
    }
    return true;
}

bool MainWindow::writeBackupFiles(const std::u16string& prefix, const backup::BackupFiles& copies)
{
    auto& files = m_services.files;
    const auto backupPath = prefix + u"\\psw.bkp";
    const auto shownBackup = files.shownPath(backupPath);
    const auto listPath = prefix + u"\\" + copies.listName;
    const auto shownList = files.shownPath(listPath);

    // Without a floppy disk or a stick, the files go where the user did not choose: a failure there
    // says where, and what to do instead.
    const auto writeFailure =
        prefix.empty() ? &backup::fallbackFailureMessage : &backup::floppyFailureMessage;
    const auto backupWritten = files.writeFile(backupPath, copies.backupBytes);
    if (!backupWritten.ok()) {
        Txtmassage.setText(writeFailure(shownBackup, backupWritten.failure()));
        return false;
    }
    noteUnsynced(backupWritten);
    const auto listWritten = files.writeOwnFile(listPath, copies.listBytes);
    if (!listWritten.ok()) {
        Txtmassage.setText(
            doneMessage(backup::listFailureMessage(writeFailure(shownList, listWritten.failure()))));
        return false;
    }
    noteUnsynced(listWritten);
    return true;
}

void MainWindow::btnunload_Click()
{
    auto& files = m_services.files;
    if (!readForBackup())
        return;
    const auto prefix = backup::backupDrivePrefix(m_services.drives);
    const auto backupPath = prefix + u"\\psw.bkp";
    if (inputkensu == 0) {
        if (auto problem = noRowsProblem(files, m_services.codePage, dataFilePath(), backupPath)) {
            Txtmassage.setText(std::move(*problem));
            return;
        }
    }

    // The plain passwords stay in the files' bytes; the record array keeps the stored form.
    const auto built = backup::backupFiles(
        std::span<const store::PswRecord>(&records[1], static_cast<std::size_t>(inputkensu)),
        [this](std::u16string_view stored) { return decodeText(stored); }, m_services.clock.now(),
        m_services.codePage,
        [&](std::u16string_view name) { return files.shownPath(prefix + u"\\" + std::u16string(name)); });
    if (const auto* refusal = std::get_if<std::u16string>(&built)) {
        Txtmassage.setText(*refusal);
        return;
    }
    if (!writeBackupFiles(prefix, std::get<backup::BackupFiles>(built)))
        return;
    reload();
    Txtmassage.setText(doneMessage(backup::backupDoneMessage(backup::folderOf(files.shownPath(backupPath)))));
}

} // namespace orvanta::form
