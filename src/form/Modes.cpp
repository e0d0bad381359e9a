// The four screens and the buttons that switch between them (btnnewmode, btnmordori), and the change
// tracking of the destination and ID boxes (changfrag, sVshokifrg, newchek, roolchek).
#include "MainWindow.h"

namespace orvanta::app {

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
    sVshokifrg = 1;
    Txtnamae.setText(u"");
    Txtidbox.setText(u"");
    Txtpassnew.setText(u"");
    Txtbikouran.setText(u"");
    changfrag = 0;
}

void MainWindow::btnmordori_Click()
{
    changfrag = 0;
    applyScreen(Screen::Initial);
}

void MainWindow::Txtnamae_Change()
{
    if (!(sVshokifrg == 1))
        changfrag = 1;
}

void MainWindow::Txtidbox_Change()
{
    if (!(sVshokifrg == 1))
        changfrag = 1;
}

void MainWindow::newchek()
{
    if (store::pairIsUsed(records.rows(inputkensu.number()), Txtnamae.text(), Txtidbox.text()))
        newngfrag = 1;
}

void MainWindow::roolchek()
{
    if (changfrag == 1 &&
        store::pairIsUsed(records.rows(inputkensu.number()), Txtnamae.text(), Txtidbox.text()))
        kousingfrag = 1;
    changfrag = 0;
}

} // namespace orvanta::app
