// ロード: psw.bkp back into psw.ini, every password stored again with this machine's key. The file it
// replaces is kept beside it as psw.ini.bak, one generation, so that a load can be undone.
#include "Messages.h"
#include "Module2.h"
#include "app/CharacterName.h"
#include "app/MainWindow.h"
#include "cipher/CodeTable.h"
#include "store/RowFormat.h"

#include <algorithm>
#include <span>
#include <vector>

namespace orvanta::app {

namespace {
constexpr std::u16string_view kNotLoaded = u"ロードを中止しました（psw.ini は元のままです）。";
} // namespace

void MainWindow::btnload_Click()
{
    auto& files = m_services.files;
    auto& codePage = m_services.codePage;

    // Everything is checked before psw.ini is touched, and the window keeps its rows (inputkensu
    // included) until the new file is in place: a refused load changes nothing.
    cyusyutu = u"";
    const auto backupPath = backup::backupDrivePrefix(m_services.drives) + u"\\psw.bkp";
    const auto shownBackup = files.shownPath(backupPath);
    const auto bytes = files.readFile(backupPath);
    if (!bytes) {
        Txtmassage.setText(backup::floppyFailureMessage(shownBackup, bytes.failure()));
        return;
    }
    const auto read = store::readRows(bytes.value(), codePage, store::kMaxRows);
    if (read.problem) {
        Txtmassage.setText(backup::backupReadMessage(shownBackup, *read.problem) +
                           std::u16string(kNotLoaded));
        return;
    }

    // A character without a code would be dropped by the encoding, and the stored password would
    // read back as another one.
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const auto& row = read.rows[i];
        if (const auto bad = cipher::firstUncodable(row.password)) {
            Txtmassage.setText(u"バックアップファイル " + backup::rowName(shownBackup, i + 1, row) +
                               u"のパスワードに保存できない文字（" +
                               app::characterNameAt(row.password, *bad) + u"）があります。" +
                               std::u16string(kNotLoaded));
            return;
        }
    }

    // A backup without rows is one that was emptied or is still being copied in place: loading it would
    // wipe every entry.
    const long long rowsNow = std::min<long long>(inputkensu.number(), store::kMaxRows);
    if (read.rows.empty() && (rowsNow > 0 || !dataFileSound())) {
        Txtmassage.setText(u"バックアップファイル " + shownBackup + u" に登録が１件もありません。" +
                           std::u16string(kNotLoaded));
        return;
    }
    // Rows that break a rule of the data file (a destination with two header rows, as an older version's
    // rename left it, a count edited by hand) are loaded as they are, as psw.ini keeps such rows: the
    // user's only backup must load, and every later change is checked not to make things worse.

    // The mail field is taken as it stands: it is in the stored form of the machine that wrote the
    // backup.
    std::vector<store::PswRecord> storedRows = read.rows;
    for (auto& row : storedRows)
        row.password = encodeText(row.password);
    cyusyutu = u"";

    auto newBytes = store::writeRows(storedRows, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&newBytes)) {
        Txtmassage.setText(u"バックアップファイル " +
                           backup::rowWriteMessage(shownBackup, *problem, read.rows.at(problem->row)) +
                           std::u16string(kNotLoaded));
        return;
    }

    Txtdirectry.setText(m_services.environment.variable(u"Windir").value_or(u""));
    if (!keepReplacedDataFile())
        return;
    if (const auto written = replaceDataFile(std::get<std::string>(newBytes)); !written.ok()) {
        if (written.failure().kind == platform::Failure::Kind::Changed)
            rereadChangedDataFile(u"ロードを中止しました（psw.ini は元のままです）");
        else
            Txtmassage.setText(
                backup::fileFailureMessage(files.shownPath(dataFilePath()), written.failure()) +
                u"（psw.ini は元のままです）");
        return;
    }

    inputkensu = 0;
    reload();
    Txtmassage.setText(doneMessage(u"ＬＯＡＤ完了"));
}

bool MainWindow::keepReplacedDataFile()
{
    auto& files = m_services.files;
    if (const auto problem = dataFolderProblem()) {
        Txtmassage.setText(*problem + std::u16string(kNotLoaded));
        return false;
    }
    const auto shownDataFile = files.shownPath(dataFilePath());
    const auto now = files.readFile(dataFilePath());
    if (!now && now.failure().kind != platform::Failure::Kind::NotFound) {
        // A file that cannot be read cannot be kept either; it stays for the user to look into.
        Txtmassage.setText(backup::fileFailureMessage(shownDataFile, now.failure()) +
                           u"（psw.ini は元のままです）");
        return false;
    }
    const platform::FileContents current = now ? platform::FileContents(now.value()) : std::nullopt;
    if (m_dataFileAsRead != current) {
        rereadChangedDataFile(u"ロードを中止しました（psw.ini は元のままです）");
        return false;
    }
    if (!current)
        return true; // no psw.ini yet: nothing is replaced
    const auto keptPath = dataFilePath() + u".bak";
    const auto kept = files.writeFileLike(keptPath, *current, dataFilePath());
    if (!kept.ok()) {
        Txtmassage.setText(backup::fileFailureMessage(files.shownPath(keptPath), kept.failure()) +
                           u"元のデータファイルを残せないため、" + std::u16string(kNotLoaded));
        return false;
    }
    noteUnsynced(u"psw.ini.bak", kept);
    return true;
}

} // namespace orvanta::app
