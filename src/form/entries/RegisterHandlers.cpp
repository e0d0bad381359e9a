// Registration: "登録する" in registration mode adds an entry, and its destination when it is new.
#include "form/MainWindow.h"
#include "rules/entries/EntryChecks.h"

namespace orvanta::form {

void MainWindow::btnnew_Click()
{
    Txtmassage.setText(u"");
    // The destination is whatever stands in the combo box: one chosen from the list or a new name.
    Txtnamae.setText(cmbnamae.text());
    if (Txtnamae.text().empty() || Txtidbox.text().empty() || Txtpassnew.text().empty()) {
        Txtmassage.setText(u"記入漏れ");
        return;
    }
    const entries::EntryText entry{Txtnamae.text(), Txtidbox.text(), Txtpassnew.text(), Txtbikouran.text()};
    // A full file is the rewrite's to refuse (store::applyChange): it alone counts the rows.
    if (auto problem = entries::entryProblem(entry, m_services.codePage)) {
        Txtmassage.setText(std::move(*problem));
        return;
    }

    // A pair already used is not added, but the file is written all the same.
    const bool newngfrag = newchek();
    if (!kakidashi(newngfrag ? Operation::None : Operation::New))
        return;
    reload();
    changfrag = false;
    if (newngfrag)
        Txtmassage.setText(doneMessage(u"新規名は使われている"));
    else
        Txtmassage.setText(doneMessage(
            entries::completionText(u"登録完了", Txtnamae.text(), Txtidbox.text(), Txtpassnew.text())));
    applyScreen(Screen::Result);
}

} // namespace orvanta::form
