// Deletion: "削除する" in edit mode removes the chosen entry, and its destination with its last entry.
#include "form/MainWindow.h"
#include "rules/entries/EntryChecks.h"

namespace orvanta::form {

void MainWindow::btndelete_Click()
{
    Txtmassage.setText(u"");
    if (Lstidbox.selectedItem().empty()) {
        Txtmassage.setText(u"LISTをチョイス");
        return;
    }
    if (auto problem = entries::chosenDestinationProblem(cmbnamae.selectedItem())) {
        Txtmassage.setText(std::move(*problem));
        return;
    }
    if (!kakidashi(Operation::Delete))
        return;
    reload();
    // The message names the entry by the boxes as they stand, even when the user had edited them.
    Txtmassage.setText(doneMessage(
        entries::completionText(u"削除完了", Txtnamae.text(), Txtidbox.text(), Txtpassnew.text())));
    changfrag = false;
    applyScreen(Screen::Result);
}

} // namespace orvanta::form
