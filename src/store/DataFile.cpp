// The one read of the data file psw.ini.
#include "app/MainWindow.h"
#include "store/RowFormat.h"

namespace orvanta::app {

namespace {

std::u16string problemMessage(const store::RowFileProblem& problem)
{
    auto message = store::readProblemMessage(u"データファイル psw.ini", problem);
    switch (problem.kind) {
    case store::RowFileProblem::Kind::Utf8:
        return message + u"Shift_JIS に直すまで、ファイルは書き換えません。";
    case store::RowFileProblem::Kind::TooManyRows:
        return message + u"最初の 99 行だけを表示しています（ファイルは書き換えません）。";
    default:
        return message + u"読めた行だけを表示しています（ファイルは書き換えません）。";
    }
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
