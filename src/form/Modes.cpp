// The four screens and the buttons that switch between them (btnnewmode, btnmordori), and the change
// tracking of the destination and ID boxes (changfrag, sVshokifrg, newchek, roolchek).
#include "MainWindow.h"

namespace orvanta::form {

void MainWindow::applyScreen(Screen screen)
{
    m_screen = screen;
    for (const auto& row : kLayoutTable)
        control(row.control).visible = row.shownOn(screen);
}

void MainWindow::btnnewmode_Click()
{
    Txtmassage.setText(u"");
    applyScreen(Screen::Registration);
    // Raised before the boxes are emptied, so the program's own writes are not taken for the user's.
    sVshokifrg = true;
    Txtnamae.setText(u"");
    Txtidbox.setText(u"");
    Txtpassnew.setText(u"");
    Txtbikouran.setText(u"");
    changfrag = false;
}

void MainWindow::btnmordori_Click()
{
    changfrag = false;
    applyScreen(Screen::Initial);
}

void MainWindow::Txtnamae_Change()
{
    if (!sVshokifrg)
        changfrag = true;
}

void MainWindow::Txtidbox_Change()
{
    if (!sVshokifrg)
        changfrag = true;
}

bool MainWindow::newchek() const
{
    return store::pairIsUsed(records.rows(inputkensu), Txtnamae.text(), Txtidbox.text());
}

bool MainWindow::roolchek()
{
    const bool kousingfrag =
        changfrag && store::pairIsUsed(records.rows(inputkensu), Txtnamae.text(), Txtidbox.text());
    changfrag = false;
    return kousingfrag;
}

} // namespace orvanta::form
