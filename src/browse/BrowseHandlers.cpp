// Browsing: choosing a destination and an ID, copying the password, opening an entry for editing.
// Both choices read psw.ini afresh, so the window always shows the file as it is now.
#include "app/MainWindow.h"

#include <algorithm>

namespace orvanta::app {

void MainWindow::cmbnamae_Click()
{
    Txtmassage.setText(u"");
    Lstidbox.clearItems();
    Lblpassword.setText(u"");
    Lblbikouran.setText(u" ");
    combosentaku = cmbnamae.selectedItem();
    inputkensu = 0;
    setTxtdirectry();
    const auto chosen = combosentaku.text();
    ReadDataFile([this, &chosen](long long slot) {
        if (records[slot].owner == chosen)
            Lstidbox.addItem(records[slot].name);
    });
}

void MainWindow::Lstidbox_Click()
{
    Txtmassage.setText(u"");
    const auto chosen = chosenEntry(combosentaku.text());
    inputkensu = 0;
    setTxtdirectry();
    ReadDataFile(nullptr);
    // The chosen item's own row only: an ID listed twice shows each row's password apart. When no row
    // can be told for the item (the file changed since the list was filled), the boxes keep their text.
    const auto at = store::chosenRow(records.rows(inputkensu.number()), chosen);
    if (!at)
        return;
    const auto& row = records[static_cast<long long>(*at) + 1];
    Lblpassword.setText(decodeText(row.password));
    Lblbikouran.setText(decodeText(row.mail));
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
    auto& clipboard = m_services.clipboard;
    if (!m_copiedPassword.empty() && clipboard.text() == m_copiedPassword)
        clipboard.clear();
    m_copiedPassword.clear();
}

void MainWindow::Lstidbox_DblClick()
{
    // Without a chosen ID there is no entry to edit: edit mode would open on empty boxes.
    if (Lstidbox.selectedItem().empty()) {
        Txtmassage.setText(u"LISTをチョイス");
        return;
    }
    // The display boxes hold the chosen entry only when the click before found its row. When the file
    // lost the row since the list was filled, or its ID's rows changed in number so that the row can no
    // longer be told, they hold the cleared texts (the address box one space) or another entry's
    // values, and the edit boxes get empty texts instead.
    const auto chosenId = Lstidbox.selectedItem();
    const bool found =
        store::chosenRow(records.rows(inputkensu.number()), chosenEntry(combosentaku.text())).has_value();

    applyScreen(Screen::Edit);
    sVshokifrg = 1;
    Txtnamae.setText(cmbnamae.selectedItem());
    Txtidbox.setText(chosenId);
    Txtpassnew.setText(found ? Lblpassword.text() : u"");
    Txtbikouran.setText(found ? Lblbikouran.text() : u"");
    sVshokifrg = 0;
}

} // namespace orvanta::app
