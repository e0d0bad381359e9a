// The one rewrite of the data file psw.ini: every registration, update and deletion passes through
// kakidashi, which makes the change its caller names to the rows as last read (store::applyChange)
// and writes the whole file at once.
#include "form/MainWindow.h"
#include "rules/store/Change.h"
#include "rules/store/Messages.h"
#include "rules/store/RowFormat.h"

#include <vector>

namespace orvanta::form {

bool MainWindow::kakidashi(Operation dousafrag)
{
    setTxtdirectry();
    const auto refuse = [&](std::u16string message) {
        Txtmassage.setText(std::move(message));
        return false;
    };

    if (const auto problem = dataFolderProblem())
        return refuse(store::notWrittenMessage(*problem));

    // The rows change only once the file holds them: a refusal leaves the record array as the file
    // still stands, so that trying again (or a check against the array) sees the file.
    const auto rowsRead = records.rows(inputkensu);
    auto changed = [&]() -> host::Expected<std::vector<store::PswRecord>> {
        switch (dousafrag) {
        case Operation::New:
            return store::applyChange(rowsRead, store::Register{Txtnamae.text(), Txtidbox.text(),
                                                                encodeText(Txtpassnew.text()),
                                                                encodeText(Txtbikouran.text())});
        case Operation::Koushin:
            return store::applyChange(rowsRead,
                                      store::Update{chosenEntry(cmbnamae.selectedItem()), Txtnamae.text(),
                                                    Txtidbox.text(), encodeText(Txtpassnew.text()),
                                                    encodeText(Txtbikouran.text())});
        case Operation::Delete:
            return store::applyChange(rowsRead, store::Delete{chosenEntry(cmbnamae.selectedItem())});
        case Operation::None:
            break;
        }
        return std::vector<store::PswRecord>(rowsRead.begin(), rowsRead.end());
    }();
    // What the change itself cannot do (a full file, a pair twice) is said even over a file that did
    // not read whole: it would be refused just the same once the file reads.
    if (!changed)
        return refuse(changed.failure().description);
    if (!dataFileSound())
        return refuse(std::u16string(store::kUnsoundDataFile));
    const auto& rows = changed.value();

    auto bytes = store::writeRows(rows, m_services.codePage);
    if (const auto* problem = std::get_if<store::RowWriteProblem>(&bytes))
        return refuse(store::rowWriteRefusal(*problem));
    if (const auto written = replaceDataFile(std::get<std::string>(bytes), m_dataFileAsRead.contents());
        !written.ok()) {
        refuse(store::notWrittenMessage(written.failure().description));
        if (written.failure().kind == host::Failure::Kind::Changed)
            rereadChangedDataFile(u"書き換えを中止し");
        return false;
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        records[static_cast<long long>(i) + 1] = rows[i];
    return true;
}

} // namespace orvanta::form
