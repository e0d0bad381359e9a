// Deletion: "削除する" in edit mode removes the chosen entry, and its destination with its last entry.
#include "form/MainWindow.h"
#include "rules/entries/EntryChecks.h"

namespace orvanta::app {

void MainWindow::btndelete_Click()
{
    Txtmassage.setText(u"");
    dousafrag = u"delete";
    if (Lstidbox.selectedItem().empty()) {
        Txtmassage.setText(u"LISTをチョイス");
        dousafrag = u"";
        return;
    }
    if (auto problem = entries::chosenDestinationProblem(cmbnamae.selectedItem())) {
        Txtmassage.setText(std::move(*problem));
        dousafrag = u"";
        return;
    }
    if (!kakidashi()) {
        dousafrag = u"";
        return;
    }
    dousafrag = u"";
    reload();
    // The message names the entry by the boxes as they stand, even when the user had edited them.
    Txtmassage.setText(
        doneMessage(u"削除完了" + Txtnamae.text() + u"の " + Txtidbox.text() + u":" + Txtpassnew.text()));
    changfrag = 0;
    applyScreen(Screen::Result);
}

} // namespace orvanta::app
