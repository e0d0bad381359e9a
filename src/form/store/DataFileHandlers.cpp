// The one read of the data file psw.ini.
#include "form/MainWindow.h"
#include "rules/store/Messages.h"
#include "rules/store/RowFormat.h"

namespace orvanta::form {

void MainWindow::setTxtdirectry()
{
    Txtdirectry.setText(m_services.environment.variable(u"Windir").value_or(u""));
}

std::optional<std::u16string> MainWindow::dataFolderProblem() const
{
    // A Windows folder whose name cannot be read names no folder: the data file is neither read nor
    // written there, and the user is told why instead of a path that is not found.
    if (const auto why = m_services.environment.unreadable(u"Windir"))
        return store::windirProblemMessage(*why);
    return std::nullopt;
}

void MainWindow::ReadDataFile(const std::function<void(long long slot)>& perRow)
{
    m_dataFileProblem.reset();
    m_dataFileAsRead = {};
    if (const auto problem = dataFolderProblem()) {
        Txtmassage.setText(*problem + std::u16string(store::kNoDataFile));
        return;
    }
    auto bytes = m_services.files.readFile(dataFilePath());
    m_dataFileAsRead = host::FileAsRead::of(bytes);
    if (!bytes) {
        // No file yet is the first start: no rows, and the first registration creates it.
        if (!m_dataFileAsRead.readable()) {
            m_dataFileProblem = store::dataFileUnreadableMessage(bytes.failure().description);
            Txtmassage.setText(*m_dataFileProblem);
        }
        return;
    }
    auto read = store::readRows(bytes.value(), m_services.codePage);
    for (auto& row : read.rows) {
        ++inputkensu;
        records[inputkensu] = std::move(row);
        if (perRow)
            perRow(inputkensu);
    }
    if (read.problem) {
        m_dataFileProblem = store::dataFileReadMessage(*read.problem);
        Txtmassage.setText(*m_dataFileProblem);
    }
}

host::WriteOutcome MainWindow::replaceDataFile(std::string_view bytes, const host::FileContents& asRead)
{
    auto written = m_services.files.replaceFile(dataFilePath(), bytes, asRead);
    noteUnsynced(written);
    return written;
}

void MainWindow::rereadChangedDataFile(std::u16string_view stopped)
{
    // A registration keeps what was typed, so that "登録する" can simply be pressed again over the file
    // as it now is. An update or a deletion starts again from the first screen: its entry is chosen
    // anew from the lists the reread fills.
    const bool registering = m_screen == Screen::Registration;
    const auto destination = cmbnamae.text();
    reload();
    if (registering) {
        applyScreen(Screen::Registration);
        cmbnamae.setText(destination);
    } else {
        applyScreen(Screen::Initial);
    }
    Txtmassage.setText(store::rereadMessage(store::changedDataFileMessage(stopped), m_dataFileProblem));
}

void MainWindow::noteUnsynced(const host::WriteOutcome& written)
{
    // One note however many files were written: the completion message says what they were.
    if (written.ok() && written.unsynced())
        m_writeNote = std::u16string(store::kUnsyncedNote);
}

std::u16string MainWindow::doneMessage(std::u16string message)
{
    if (m_writeNote) {
        message += *m_writeNote;
        m_writeNote.reset();
    }
    return message;
}

} // namespace orvanta::form
