// Update: "更新する" in edit mode stores the boxes over the chosen entry. A changed destination name
// renames the destination itself, with all its entries; the name of another destination merges the
// two under that one.
#include "form/MainWindow.h"
#include "rules/entries/EntryChecks.h"

namespace orvanta::app {

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

    kousingfrag = 0;
    dousafrag = u"koushin";
    if (Lstidbox.selectedItem().empty()) {
        Txtmassage.setText(u"LISTをチョイス");
        changfrag = 0;
        dousafrag = u"";
        applyScreen(Screen::Result);
        return;
    }
    const FormValue changedBefore = changfrag;
    roolchek();
    if (kousingfrag == 1) {
        Txtmassage.setText(u"更新名は使われている");
        dousafrag = u"";
        applyScreen(Screen::Result);
        return;
    }
    // An ID or a rename that would leave one destination and ID twice is refused by the rewrite
    // (store::applyChange), which decides it for every change.
    if (!kakidashi()) {
        // Nothing was written: the boxes stay as typed in edit mode, so that "更新する" can be pressed
        // again once the cause is put right, and it checks them exactly as it did this time. When
        // another program had changed the file, the window has read it again and is back on its
        // first screen: the next edit starts afresh.
        dousafrag = u"";
        kousingfrag = 0;
        if (m_screen == Screen::Edit)
            changfrag = changedBefore;
        else
            changfrag = 0;
        return;
    }
    dousafrag = u"";
    kousingfrag = 0;
    reload();
    Txtmassage.setText(
        doneMessage(u"更新完了" + Txtnamae.text() + u"の " + Txtidbox.text() + u":" + Txtpassnew.text()));
    applyScreen(Screen::Result);
}

} // namespace orvanta::app
