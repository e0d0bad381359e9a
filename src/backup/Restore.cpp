// ロード: psw.bkp back into psw.ini, every password stored again with this machine's key.
#include "Messages.h"
#include "Module2.h"
#include "app/CharacterName.h"
#include "app/MainWindow.h"
#include "cipher/CodeTable.h"
#include "store/RowChecks.h"
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
    const auto bytes = files.readFile(backupPath);
    if (!bytes) {
        Txtmassage.setText(backup::floppyFailureMessage(bytes.failure()));
        return;
    }
    const auto read = store::readRows(bytes.value(), codePage, store::kMaxRows);
    if (read.problem) {
        Txtmassage.setText(backup::backupReadMessage(backupPath, *read.problem) + std::u16string(kNotLoaded));
        return;
    }

    // A character without a code would be dropped by the encoding, and the stored password would
    // read back as another one.
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const auto& row = read.rows[i];
        if (const auto bad = cipher::firstUncodable(row.password)) {
            Txtmassage.setText(u"バックアップファイル " + backup::rowName(backupPath, i + 1, row) +
                               u"のパスワードに保存できない文字（" +
                               app::characterNameAt(row.password, *bad) + u"）があります。" +
                               std::u16string(kNotLoaded));
            return;
        }
    }

    // A backup without rows is one that was emptied or is still being copied in place: loading it would
    // wipe every entry. The load must not leave psw.ini breaking a rule that it keeps now either.
    const long long rowsNow = std::min<long long>(inputkensu.number(), store::kMaxRows);
    if (read.rows.empty() && (rowsNow > 0 || !dataFileSound())) {
        Txtmassage.setText(u"バックアップファイル " + backupPath + u" に登録が１件もありません。" +
                           std::u16string(kNotLoaded));
        return;
    }
    const std::span<const store::PswRecord> rowsBefore(&records[1], static_cast<std::size_t>(rowsNow));
    if (const auto problem = store::newRowsProblem(rowsBefore, read.rows)) {
        Txtmassage.setText(u"バックアップファイル " + backupPath + u" をロードすると、" +
                           store::rowsProblemText(*problem) + std::u16string(kNotLoaded));
        return;
    }

    // The mail field is taken as it stands: it is in the stored form of the machine that wrote the
    // backup.
    std::vector<store::PswRecord> storedRows = read.rows;
    for (auto& row : storedRows)
        row.password = encodeText(row.password);
    cyusyutu = u"";

    auto newBytes = store::writeRows(storedRows, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&newBytes)) {
        Txtmassage.setText(u"バックアップファイル " +
                           backup::rowWriteMessage(backupPath, *problem, read.rows.at(problem->row)) +
                           std::u16string(kNotLoaded));
        return;
    }

    Txtdirectry.setText(m_services.environment.variable(u"Windir").value_or(u""));
    if (const auto failure = replaceDataFile(std::get<std::string>(newBytes))) {
        if (failure->kind == platform::Failure::Kind::Changed)
            rereadChangedDataFile(u"ロードを中止しました（psw.ini は元のままです）");
        else
            Txtmassage.setText(backup::fileFailureMessage(dataFilePath(), *failure) +
                               u"（psw.ini は元のままです）");
        return;
    }

    inputkensu = 0;
    reload();
    Txtmassage.setText(doneMessage(u"ＬＯＡＤ完了"));
}

} // namespace orvanta::app
