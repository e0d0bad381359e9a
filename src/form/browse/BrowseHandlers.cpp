// Browsing: choosing a destination and an ID, copying the password, opening an entry for editing.
// Every choice, and the double-click, reads psw.ini afresh, so the window always shows the file as it
// is now, and an ID list filled from an older file never shows one row's password under another item.
#include "form/MainWindow.h"
#include "rules/store/Messages.h"

#include <algorithm>

namespace orvanta::form {

void MainWindow::cmbnamae_Click()
{
    Txtmassage.setText(u"");
    Lblpassword.setText(u"");
    Lblbikouran.setText(u" ");
    combosentaku = cmbnamae.selectedItem();
    inputkensu = 0;
    setTxtdirectry();
    ReadDataFile(nullptr);
    fillIdList();
}

void MainWindow::clearIdList()
{
    Lstidbox.clearItems();
    m_listedRows.clear();
    m_listReadAgain = false;
}

void MainWindow::fillIdList()
{
    clearIdList();
    const auto chosen = combosentaku;
    for (const auto& row : records.rows(inputkensu))
        if (row.owner == chosen) {
            Lstidbox.addItem(row.name);
            m_listedRows.push_back(row);
        }
}

void MainWindow::Lstidbox_Click()
{
    Txtmassage.setText(u"");
    m_listReadAgain = false;
    // With no item chosen, nothing is shown: a password left in the box would belong to no item.
    if (Lstidbox.selectedItem().empty()) {
        Lblpassword.setText(u"");
        Lblbikouran.setText(u" ");
        return;
    }
    showChosenRow();
}

bool MainWindow::showChosenRow()
{
    const auto chosen = chosenEntry(combosentaku);
    inputkensu = 0;
    setTxtdirectry();
    ReadDataFile(nullptr);
    // The chosen item's own row only: an ID listed twice shows each row's password apart.
    const auto rows = records.rows(inputkensu);
    if (const auto at = store::listedRow(m_listedRows, rows, chosen)) {
        const auto& row = rows[*at];
        Lblpassword.setText(decodeText(row.password));
        Lblbikouran.setText(decodeText(row.mail));
        return true;
    }
    // Another program changed psw.ini so that the item no longer names a row for certain. Whatever the
    // boxes showed belongs to another item (クリップ would copy it), so they are cleared and the list is
    // filled again from the file as it is now, for the user to choose afresh.
    Lblpassword.setText(u"");
    Lblbikouran.setText(u" ");
    fillIdList();
    m_listReadAgain = true;
    Txtmassage.setText(store::rereadMessage(store::kListReadAgain, m_dataFileProblem));
    return false;
}

store::EntryChoice MainWindow::chosenEntry(std::u16string destination) const
{
    const auto& items = Lstidbox.items;
    const auto id = Lstidbox.selectedItem();
    const auto before = items.begin() + std::clamp<std::ptrdiff_t>(Lstidbox.listIndex, 0,
                                                                   static_cast<std::ptrdiff_t>(items.size()));
    return {std::move(destination), id, static_cast<std::size_t>(std::count(items.begin(), before, id)),
            static_cast<std::size_t>(std::count(items.begin(), items.end(), id))};
}

void MainWindow::btnclipset_Click()
{
    copySecret(Lblpassword.text());
}

void MainWindow::Lblpassword_Copy(std::u16string_view selected)
{
    if (!selected.empty())
        copySecret(selected);
}

void MainWindow::Txtpassnew_Copy(std::u16string_view selected)
{
    if (!selected.empty())
        copySecret(selected);
}

void MainWindow::Txtmassage_Copy(std::u16string_view selected)
{
    if (!selected.empty())
        copySecret(selected);
}

void MainWindow::copySecret(std::u16string_view text)
{
    m_services.clipboard.clear();
    // With nothing shown (start-up's copy, or クリップ before an ID is chosen) the clipboard stays empty:
    // an empty text would only give clipboard tools an empty entry, and pasting gives nothing either way.
    if (!text.empty())
        m_services.clipboard.setText(text);
    m_copiedPassword = std::u16string(text);
    // A later copy sets the timer afresh, for the text it put there.
    if (m_copiedPassword.empty())
        m_services.timer.stop();
    else
        m_services.timer.start(kClipboardKeepTime, [this] { takeSecretOffClipboard(); });
}

void MainWindow::takeSecretOffClipboard()
{
    // Only the program's own copy goes: another program may have copied the very same text since, and
    // that copy is the user's to keep. The text is compared too, as a last guard.
    auto& clipboard = m_services.clipboard;
    if (!m_copiedPassword.empty() && clipboard.holdsOwnCopy() && clipboard.text() == m_copiedPassword)
        clipboard.clear();
    m_copiedPassword.clear();
}

void MainWindow::Lstidbox_DblClick()
{
    // Without a chosen ID there is no entry to edit: edit mode would open on empty boxes. When the
    // double-click's own first click has just read the list again, its message says more.
    if (Lstidbox.selectedItem().empty()) {
        if (!m_listReadAgain)
            Txtmassage.setText(u"LISTをチョイス");
        return;
    }
    // The entry is read again, as a click reads it (Enter on the list comes without one): the edit
    // boxes take the chosen row as psw.ini holds it now, and the update is checked against that read.
    // When the file no longer names the row, edit mode does not open and the list is read again.
    if (!showChosenRow())
        return;

    applyScreen(Screen::Edit);
    sVshokifrg = true;
    Txtnamae.setText(cmbnamae.selectedItem());
    Txtidbox.setText(Lstidbox.selectedItem());
    Txtpassnew.setText(Lblpassword.text());
    Txtbikouran.setText(Lblbikouran.text());
    sVshokifrg = false;
}

} // namespace orvanta::form
