// The bytes バックアップ writes (psw.bkp and the dated list) and the rows ロード reads back, as plain
// functions of the rows.
#include "BackupFiles.h"

#include "MailKey.h"
#include "Messages.h"
#include "rules/cipher/CharacterName.h"
#include "rules/cipher/StoredForm.h"
#include "rules/store/Decimal.h"
#include "rules/store/RowFormat.h"

#include <array>
#include <vector>

namespace orvanta::backup {

namespace {

std::u16string twoDigits(int value)
{
    const auto text = store::decimalText(value);
    return text.size() < 2 ? u"0" + text : text;
}

constexpr std::array<std::u16string_view, 4> kListHeading{u"登録名称", u"ＩＤ", u"ＰＡＳＳＷＯＲＤ", u""};

} // namespace

std::u16string listName(const host::LocalTime& time)
{
    auto year = store::decimalText(time.year);
    while (year.size() < 4)
        year.insert(year.begin(), u'0');
    return year + twoDigits(time.month) + twoDigits(time.day) + twoDigits(time.hour) +
           twoDigits(time.minute) + twoDigits(time.second) + u"_psw.csv";
}

std::variant<BackupFiles, std::u16string> backupFiles(std::span<const store::PswRecord> rows,
                                                      const TextConversion& decode,
                                                      const host::LocalTime& now,
                                                      const host::CodePage& codePage, const ShownName& shown)
{
    std::vector<store::PswRecord> plainRows;
    plainRows.reserve(rows.size());
    for (auto row : rows) {
        row.password = decode(row.password);
        plainRows.push_back(std::move(row));
    }
    auto backupBytes = store::writeRows(plainRows, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&backupBytes))
        return rowWriteMessage(*problem, plainRows.at(problem->row));

    BackupFiles files{std::move(std::get<std::string>(backupBytes)), listName(now), {}};
    const auto shownList = shown(files.listName);
    std::vector<store::PswRecord> entries;
    for (const auto& row : plainRows)
        if (!row.isHeader())
            entries.push_back(row);
    auto heading = codePage.encode(store::formatFields(kListHeading));
    auto entryBytes = store::writeRows(entries, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&entryBytes))
        return rowWriteMessage(*problem, entries.at(problem->row));
    if (!std::holds_alternative<std::string>(heading))
        return listHeadingMessage(shownList);
    files.listBytes = std::get<std::string>(heading) + std::get<std::string>(entryBytes);
    return files;
}

std::variant<RestoredDataFile, std::u16string>
restoredDataFile(std::string_view backupBytes, long long key, const host::CodePage& codePage,
                 bool dataFileMayHoldRows, std::span<const store::PswRecord> dataFileRows)
{
    const auto read = store::readRows(backupBytes, codePage, store::kMaxRows);
    if (read.problem)
        return backupReadMessage(*read.problem);

    // A character without a code would be dropped by the encoding, and the stored password would
    // read back as another one.
    for (const auto& row : read.rows)
        if (const auto bad = cipher::uncodableCharacterShort(row.password))
            return backupPasswordRefusal(row, *bad);

    // A backup without rows is one that was emptied or is still being copied in place: loading it would
    // wipe every entry.
    if (read.rows.empty() && dataFileMayHoldRows)
        return emptyBackupRefusal();
    // Rows that break a rule of the data file (a destination with two header rows, as an older version's
    // rename left it, a count edited by hand) are loaded as they are, as psw.ini keeps such rows: the
    // user's only backup must load, and every later change is checked not to make things worse.

    // The mail field is in the stored form of the machine that wrote the backup. It is stored again
    // with this machine's key only when the addresses tell that machine's key beyond doubt; otherwise
    // it is taken as it stands, which is right for every backup made here.
    const auto table = cipher::codeTableFor(key);
    const auto mailKey = foreignMailKey(read.rows, dataFileRows, key);
    const auto mailTable = cipher::codeTableFor(mailKey.value_or(0));
    std::vector<store::PswRecord> storedRows = read.rows;
    for (auto& row : storedRows) {
        row.password = cipher::encode(table, row.password);
        if (!mailKey || row.isHeader())
            continue;
        if (const auto address = cipher::decode(mailTable, row.mail); !address.empty())
            row.mail = cipher::encode(table, address);
    }
    auto newBytes = store::writeRows(storedRows, codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&newBytes))
        return backupRowWriteRefusal(*problem, read.rows.at(problem->row));
    return RestoredDataFile{std::move(std::get<std::string>(newBytes)), mailKey};
}

} // namespace orvanta::backup
