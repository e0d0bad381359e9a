// The one read of the data file psw.ini.
#include "app/MainWindow.h"
#include "store/RowFormat.h"

namespace orvanta::app {

namespace {

std::u16string problemMessage(const store::RowFileProblem& problem)
{
    const auto line = decimalText(problem.line);
    switch (problem.kind) {
    case store::RowFileProblem::Kind::Malformed:
        return u"データファイル psw.ini の " + line +
               u" 行目が正しい形式ではありません。読めた行だけを表示しています（ファイルは書き換えません）。";
    case store::RowFileProblem::Kind::NotCodePage:
        return u"データファイル psw.ini の " + line +
               u" 行目に Shift_JIS "
               u"として読めない文字があります。読めた行だけを表示しています（ファイルは書き換えません）。";
    case store::RowFileProblem::Kind::Utf8:
        return u"データファイル psw.ini が Shift_JIS ではなく UTF-8 で書かれています。Shift_JIS "
               u"に直すまで、ファイルは書き換えません。";
    case store::RowFileProblem::Kind::TooManyRows:
        return u"データファイル psw.ini の行数が上限の 99 行を超えています。最初の 99 "
               u"行だけを表示しています（ファイルは書き換えません）。";
    }
    return {};
}

} // namespace

void MainWindow::ReadDataFile(const std::function<void(long long slot)>& perRow)
{
    m_dataFileProblem.reset();
    auto bytes = m_services.files.readFile(dataFilePath());
    if (!bytes) {
        // No file yet is the first start: no rows, and the first registration creates it.
        if (bytes.failure().kind != platform::Failure::Kind::NotFound) {
            m_dataFileProblem = u"データファイル psw.ini を読めません：" + bytes.failure().description;
            Txtmassage.setText(*m_dataFileProblem);
        }
        return;
    }
    auto read = store::readRows(bytes.value(), m_services.codePage);
    for (auto& row : read.rows) {
        inputkensu = inputkensu.number() + 1;
        records[inputkensu.number()] = std::move(row);
        if (perRow)
            perRow(inputkensu.number());
    }
    if (read.problem) {
        m_dataFileProblem = problemMessage(*read.problem);
        Txtmassage.setText(*m_dataFileProblem);
    }
}

} // namespace orvanta::app
