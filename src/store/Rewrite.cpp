// The one rewrite of the data file psw.ini: every registration, update and deletion passes through
// kakidashi, which walks the rows as last read, applies the operation named in dousafrag and writes
// the whole file at once.
#include "RowChecks.h"
#include "RowFormat.h"
#include "app/MainWindow.h"

#include <algorithm>
#include <vector>

namespace orvanta::app {

namespace {

std::u16string writeProblemMessage(const store::RowWriteProblem& problem)
{
    std::u16string what;
    switch (problem.kind) {
    case store::RowWriteProblem::Kind::DoubleQuote:
        what = u"「\"」";
        break;
    case store::RowWriteProblem::Kind::LineBreak:
        what = u"改行";
        break;
    case store::RowWriteProblem::Kind::NotCodePage:
        what = u" Shift_JIS で保存できない文字";
        break;
    }
    return u"データファイル psw.ini の " + decimalText(static_cast<long long>(problem.row) + 1) + u" 行目に" +
           what + u"が入るため、書き換えを中止しました。";
}

} // namespace

bool MainWindow::kakidashi()
{
    Txtdirectry.setText(m_services.environment.variable(u"Windir").value_or(u""));
    outkensu = 0;

    const bool registering = dousafrag == u"new";
    const bool updating = dousafrag == u"koushin";
    const bool deleting = dousafrag == u"delete";

    // The rows are changed in the record array as they are written. When the file cannot be written
    // the array goes back to the rows of the file as it still stands, so that trying again (or a
    // check against the array) sees the file and not a change that never reached it.
    const store::RecordArray rowsAsRead = records;
    const auto refuse = [&](std::u16string message) {
        records = rowsAsRead;
        if (registering) {
            newngfrag = 0;
            newwmfrag = 0;
        }
        Txtmassage.setText(std::move(message));
        return false;
    };

    if (!dataFileSound())
        return refuse(u"データファイル psw.ini が正しく読めなかったため、書き換えを中止しました。");

    const auto destination = cmbnamae.selectedItem();
    const auto id = Lstidbox.selectedItem();
    const auto header = std::u16string(store::kHeaderMark);
    const long long rowsRead = std::min<long long>(inputkensu.number(), store::kMaxRows);

    // An update needs its entry in the file as last read: another program may have removed it since
    // the list was filled. Writing on would change nothing and yet report "更新完了", as if the new
    // password had been kept.
    if (updating) {
        const std::span<const store::PswRecord> read(&records[1], static_cast<std::size_t>(rowsRead));
        if (std::none_of(read.begin(), read.end(),
                         [&](const auto& r) { return r.owner == destination && r.name == id; }))
            return refuse(
                u"登録先「" + destination + u"」のID「" + id +
                u"」が psw.ini "
                u"に見つからないため、更新を中止しました（他のプログラムが削除した可能性があります）。");
    }
    std::u16string storedPassword;
    std::u16string storedMail;
    if (updating) {
        storedPassword = encodeText(Txtpassnew.text());
        storedMail = encodeText(Txtbikouran.text());
    }

    // A header row the change touches gets the number of entries its destination has once the change
    // is made. For a file whose counts are right this is the count plus or minus one; a count edited
    // by hand (even one too long for a number) is put right instead of carried on.
    const auto entriesOf = [&](std::u16string_view owner, std::u16string_view leftOut) {
        long long entries = 0;
        for (long long slot = 1; slot <= rowsRead; ++slot)
            if (records[slot].owner == owner && !(deleting && records[slot].name == leftOut))
                ++entries;
        return entries;
    };
    // A rename onto a destination that exists merges the two: every entry moves under it, and one
    // header row stays, the one the destination already had (else the renamed one's), counting them
    // all. Any other header row of the two names goes, so a name listed twice is joined as well.
    const bool renaming = updating && Txtnamae.text() != destination;
    long long keptHeader = 0;
    for (const auto& name : {Txtnamae.text(), destination}) {
        for (long long slot = 1; renaming && keptHeader == 0 && slot <= rowsRead; ++slot)
            if (records[slot].owner == header && records[slot].name == name)
                keptHeader = slot;
    }
    const long long entriesAfter = registering ? entriesOf(Txtnamae.text(), {}) + 1
                                   : deleting  ? entriesOf(destination, id)
                                   : renaming  ? entriesOf(destination, {}) + entriesOf(Txtnamae.text(), {})
                                               : 0;

    std::vector<store::PswRecord> rows;
    for (long long slot = 1; slot <= rowsRead; ++slot) {
        auto& r = records[slot];
        bool skip = false;
        if (registering && r.owner == header && r.name == Txtnamae.text()) {
            newwmfrag = 2;
            if (!(newngfrag == 1))
                r.count = decimalText(entriesAfter);
        }
        if (updating) {
            if (r.owner == destination && r.name == id) {
                r.owner = Txtnamae.text();
                r.name = Txtidbox.text();
                r.password = storedPassword;
                r.mail = storedMail;
            }
            if (r.owner == destination)
                r.owner = Txtnamae.text();
            if (r.owner == header && (r.name == destination || (renaming && r.name == Txtnamae.text()))) {
                if (renaming && slot != keptHeader) {
                    skip = true;
                } else {
                    r.name = Txtnamae.text();
                    r.password = u" ";
                    r.mail = u" ";
                    if (renaming)
                        r.count = decimalText(entriesAfter);
                }
            }
        }
        if (deleting) {
            if (r.name == id && r.owner == destination)
                skip = true;
            // The header goes with the destination's last entry: every row of the chosen pair is left
            // out, a duplicate of it included.
            if (r.name == destination && r.owner == header) {
                if (entriesAfter == 0)
                    skip = true;
                else
                    r.count = decimalText(entriesAfter);
            }
        }
        if (!skip) {
            outkensu = outkensu.number() + 1;
            rows.push_back(r);
        }
    }

    if (registering && !(newngfrag == 1)) {
        const auto password = encodeText(Txtpassnew.text());
        const auto mail = encodeText(Txtbikouran.text());
        const long long added = newwmfrag == 2 ? 1 : 2;
        if (outkensu.number() + added > store::kMaxRows)
            return refuse(u"データファイル psw.ini が上限の 99 行を超えるため、書き換えを中止しました。");
        if (!(newwmfrag == 2)) {
            outkensu = outkensu.number() + 1;
            records[outkensu.number()] =
                store::PswRecord{header, Txtnamae.text(), u" ", decimalText(entriesAfter), u" "};
            rows.push_back(records[outkensu.number()]);
        }
        outkensu = outkensu.number() + 1;
        records[outkensu.number()] = store::PswRecord{Txtnamae.text(), Txtidbox.text(), password, u" ", mail};
        rows.push_back(records[outkensu.number()]);
        moj = u"";
    }

    const std::span<const store::PswRecord> rowsBefore(&rowsAsRead[1], static_cast<std::size_t>(rowsRead));
    if (const auto problem = store::newRowsProblem(rowsBefore, rows))
        return refuse(u"データファイル psw.ini を書き換えると、" + store::rowsProblemText(*problem) +
                      u"書き換えを中止しました（psw.ini は元のままです）。");

    auto bytes = store::writeRows(rows, m_services.codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&bytes))
        return refuse(writeProblemMessage(*problem));
    if (const auto written = replaceDataFile(std::get<std::string>(bytes)); !written.ok()) {
        refuse(u"データファイル psw.ini を書き込めませんでした（元のファイルはそのままです）：" +
               written.failure().description);
        if (written.failure().kind == platform::Failure::Kind::Changed)
            rereadChangedDataFile(u"書き換えを中止しました");
        return false;
    }

    if (registering) {
        newngfrag = 0;
        newwmfrag = 0;
    }
    return true;
}

} // namespace orvanta::app
