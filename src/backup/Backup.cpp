// バックアップ: psw.ini copied to psw.bkp with the passwords in plain text, and a dated list of the
// entries for the user to read or print, both on the floppy disk when there is one.
#include "Messages.h"
#include "Module2.h"
#include "app/MainWindow.h"
#include "store/RowFormat.h"

#include <array>
#include <vector>

namespace orvanta::app {

namespace {

std::u16string twoDigits(int value)
{
    const auto text = decimalText(value);
    return text.size() < 2 ? u"0" + text : text;
}

/// yyyyMMddHHmmss: the list's name sorts by the time it was made.
std::u16string timestamp(const platform::LocalTime& time)
{
    auto year = decimalText(time.year);
    while (year.size() < 4)
        year.insert(year.begin(), u'0');
    return year + twoDigits(time.month) + twoDigits(time.day) + twoDigits(time.hour) +
           twoDigits(time.minute) + twoDigits(time.second);
}

constexpr std::array<std::u16string_view, 4> kListHeading{u"登録名称", u"ＩＤ", u"ＰＡＳＳＷＯＲＤ", u""};

} // namespace

void MainWindow::btnunload_Click()
{
    auto& files = m_services.files;
    auto& codePage = m_services.codePage;

    // Under a fallback key every password decodes wrongly: the backup would replace a good one with
    // wrong plain passwords.
    if (m_keyProblem) {
        Txtmassage.setText(
            u"製品IDを読み取れないため、バックアップを中止しました（psw.bkp は元のままです）。" +
            *m_keyProblem);
        return;
    }

    if (const auto problem = dataFolderProblem()) {
        Txtmassage.setText(*problem + u"バックアップを中止しました（psw.bkp は元のままです）。");
        return;
    }
    inputkensu = 0;
    cyusyutu = u"";
    Txtdirectry.setText(m_services.environment.variable(u"Windir").value_or(u""));
    ReadDataFile(nullptr);
    if (!dataFileSound()) {
        // A backup of the rows that did read would drop the others without a word, and would
        // replace what may be the last good backup.
        Txtmassage.setText(u"バックアップを中止しました（psw.bkp は元のままです）。" + Txtmassage.text());
        return;
    }
    const auto prefix = backup::backupDrivePrefix(m_services.drives);
    const auto backupPath = prefix + u"\\psw.bkp";
    const auto shownBackup = files.shownPath(backupPath);
    if (inputkensu == 0) {
        // The read passes over a missing psw.ini (the first start has none); a backup needs one.
        const auto probe = files.readFile(dataFilePath());
        if (!probe) {
            Txtmassage.setText(backup::fileFailureMessage(files.shownPath(dataFilePath()), probe.failure()));
            return;
        }
        // An empty psw.ini (emptied, or still being copied in place) must not replace a backup that
        // holds entries: the mirror of ロード's refusal of a backup without rows.
        const auto old = files.readFile(backupPath);
        if (old && !store::readRows(old.value(), codePage).rows.empty()) {
            Txtmassage.setText(u"データファイル psw.ini に登録が１件もありません。"
                               u"バックアップを中止しました（psw.bkp は元のままです）。");
            return;
        }
    }

    // The plain passwords stay in this local copy; the record array keeps the stored form.
    std::vector<store::PswRecord> plainRows;
    plainRows.reserve(static_cast<std::size_t>(inputkensu.number()));
    for (long long slot = 1; slot <= inputkensu.number(); ++slot) {
        auto row = records[slot];
        row.password = decodeText(row.password);
        plainRows.push_back(std::move(row));
    }
    cyusyutu = u"";

    auto backupBytes = store::writeRows(plainRows, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&backupBytes)) {
        Txtmassage.setText(backup::rowWriteMessage(shownBackup, *problem, plainRows.at(problem->row)));
        return;
    }

    // The list: a heading, then the entries only (header rows are left out).
    const auto listPath = prefix + u"\\" + timestamp(m_services.clock.now()) + u"_psw.csv";
    const auto shownList = files.shownPath(listPath);
    std::vector<store::PswRecord> entries;
    for (const auto& row : plainRows)
        if (!row.isHeader())
            entries.push_back(row);
    auto heading = codePage.encode(store::formatFields(kListHeading));
    auto entryBytes = store::writeRows(entries, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&entryBytes)) {
        Txtmassage.setText(backup::rowWriteMessage(shownList, *problem, entries.at(problem->row)));
        return;
    }
    if (!std::holds_alternative<std::string>(heading)) {
        Txtmassage.setText(shownList + u"：見出しを Shift_JIS で書けません。");
        return;
    }
    const auto listBytes = std::get<std::string>(heading) + std::get<std::string>(entryBytes);

    const auto backupWritten = files.writeFile(backupPath, std::get<std::string>(backupBytes));
    if (!backupWritten.ok()) {
        Txtmassage.setText(backup::floppyFailureMessage(shownBackup, backupWritten.failure()));
        return;
    }
    noteUnsynced(shownBackup, backupWritten);
    const auto listWritten = files.writeFile(listPath, listBytes);
    if (!listWritten.ok()) {
        Txtmassage.setText(doneMessage(backup::floppyFailureMessage(shownList, listWritten.failure()) +
                                       u"（psw.bkp への退避は済んでいます）"));
        return;
    }
    noteUnsynced(shownList, listWritten);

    reload();
    Txtmassage.setText(doneMessage(u"退避＆一覧書出し完了"));
}

} // namespace orvanta::app
