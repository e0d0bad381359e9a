// Update: "更新する" in edit mode stores the boxes over the chosen entry. A changed destination name
// renames the destination itself, with all its entries; the name of another destination merges the
// two under that one.
#include "form/MainWindow.h"
#include "rules/entries/EntryChecks.h"

namespace orvanta::form {

void MainWindow::btnkousin_Click()
{
    Txtmassage.setText(u"");
    if (Txtnamae.text().empty() || Txtidbox.text().empty() || Txtpassnew.text().empty()) {
        Txtmassage.setText(u"記入漏れ");
        return;
    }
    const auto destination = cmbnamae.selectedItem();
    const entries::EntryText entry{Txtnamae.text(), Txtidbox.text(), Txtpassnew.text(), Txtbikouran.text()};
    auto problem = entries::entryProblem(entry, m_services.codePage);
    if (!problem)
        problem = entries::chosenDestinationProblem(destination);
    if (problem) {
        Txtmassage.setText(std::move(*problem));
        return;
    }

    if (Lstidbox.selectedItem().empty()) {
        Txtmassage.setText(u"LISTをチョイス");
        changfrag = false;
        applyScreen(Screen::Result);
        return;
    }
    const bool changedBefore = changfrag;
    if (roolchek()) {
        Txtmassage.setText(u"更新名は使われている");
        applyScreen(Screen::Result);
        return;
    }
    // An ID or a rename that would leave one destination and ID twice is refused by the rewrite
    // (store::applyChange), which decides it for every change.
    if (!kakidashi(Operation::Koushin)) {
        // Still in edit mode, "更新する" checks the boxes again as it did this time; after a reread of
        // a file another program changed, the window is on its first screen and the next edit starts
        // afresh.
        changfrag = m_screen == Screen::Edit && changedBefore;
        return;
    }
    reload();
    Txtmassage.setText(doneMessage(
        entries::completionText(u"更新完了", Txtnamae.text(), Txtidbox.text(), Txtpassnew.text())));
    applyScreen(Screen::Result);
}

} // namespace orvanta::form
