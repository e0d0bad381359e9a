// The window: its controls built from the design, its state, and the paths of psw.ini and its helpers.
#include "MainWindow.h"

namespace orvanta::form {

namespace {
std::array<Control, kControlCount> controlsFromDesign()
{
    std::array<Control, kControlCount> controls;
    for (const auto& d : controlTable())
        controls[static_cast<std::size_t>(d.id)].setText(std::u16string(d.caption));
    return controls;
}
} // namespace

MainWindow::MainWindow(host::Services services)
    : m_controls(controlsFromDesign()), Txtdirectry(control(ControlId::Txtdirectry)),
      Txtmassage(control(ControlId::Txtmassage)), cmbnamae(control(ControlId::cmbnamae)),
      Lstidbox(control(ControlId::Lstidbox)), btnnew(control(ControlId::btnnew)),
      btnkousin(control(ControlId::btnkousin)), Txtnamae(control(ControlId::Txtnamae)),
      Txtidbox(control(ControlId::Txtidbox)), Txtpassnew(control(ControlId::Txtpassnew)),
      btndelete(control(ControlId::btndelete)), btnnewmode(control(ControlId::btnnewmode)),
      btnmordori(control(ControlId::btnmordori)), regprodid(control(ControlId::regprodid)),
      btnload(control(ControlId::btnload)), btnunload(control(ControlId::btnunload)),
      btnclipset(control(ControlId::btnclipset)), Lblpassword(control(ControlId::Lblpassword)),
      Txtbikouran(control(ControlId::Txtbikouran)), Lblbikouran(control(ControlId::Lblbikouran)),
      btncleate(control(ControlId::btncleate)), txtketasu(control(ControlId::txtketasu)),
      riyoukanou(control(ControlId::riyoukanou)), Image1(control(ControlId::Image1)), m_services(services)
{
    Txtnamae.onChange = [this] { Txtnamae_Change(); };
    Txtidbox.onChange = [this] { Txtidbox_Change(); };
}

std::u16string MainWindow::dataFilePath() const
{
    return Txtdirectry.text() + u"\\psw.ini";
}

} // namespace orvanta::form
