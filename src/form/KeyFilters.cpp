// The keystroke filters of the boxes (the KeyPress handlers): which characters each box takes, and the
// message for one it refuses.
#include "MainWindow.h"
#include "form/Messages.h"
#include "host/Utf8.h"

#include <algorithm>
#include <array>

namespace orvanta::form {

namespace {

/// The symbols a password may hold besides letters, digits and the space.
constexpr std::array<std::int16_t, 18> kPasswordSymbols{'!', '#', '%', '*', '+', '-', '.', '/', ':',
                                                        '<', '=', '>', '[', ']', '^', '_', '{', '}'};

bool isPasswordCode(std::int16_t code)
{
    const bool letterOrDigit =
        (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
    return letterOrDigit || code == ' ' ||
           std::find(kPasswordSymbols.begin(), kPasswordSymbols.end(), code) != kPasswordSymbols.end();
}

} // namespace

std::int16_t MainWindow::keyCodeOf(char32_t character) const
{
    const auto encoded = m_services.codePage.encode(host::utf16Of(character));
    const auto* bytes = std::get_if<std::string>(&encoded);
    // A character the code page cannot hold reaches a window as "?", as Windows delivers it.
    if (!bytes || bytes->empty() || bytes->size() > 2)
        return '?';
    if (bytes->size() == 1)
        return static_cast<std::int16_t>(static_cast<unsigned char>((*bytes)[0]));
    const auto code = static_cast<unsigned>(static_cast<unsigned char>((*bytes)[0])) << 8 |
                      static_cast<unsigned char>((*bytes)[1]);
    return static_cast<std::int16_t>(code);
}

void MainWindow::Txtpassnew_KeyPress(std::int16_t& KeyAscii)
{
    Txtmassage.setText(u"");
    if (!isPasswordCode(KeyAscii)) {
        KeyAscii = 0;
        Txtmassage.setText(std::u16string(kNotUsable));
    }
}

void MainWindow::Txtbikouran_KeyPress(std::int16_t& KeyAscii)
{
    Txtmassage.setText(u"");
    if (!isPasswordCode(KeyAscii) && KeyAscii != '@') {
        KeyAscii = 0;
        Txtmassage.setText(std::u16string(kNotUsable));
    }
}

void MainWindow::Lblpassword_KeyPress(std::int16_t& KeyAscii)
{
    refuseAllButQuestionMark(KeyAscii, kDisplayOnly);
}

void MainWindow::Lblbikouran_KeyPress(std::int16_t& KeyAscii)
{
    refuseAllButQuestionMark(KeyAscii, kDisplayOnly);
}

void MainWindow::Txtmassage_KeyPress(std::int16_t& KeyAscii)
{
    refuseAllButQuestionMark(KeyAscii, kMessageOnly);
}

/// The display boxes take nothing typed but the full-width question mark.
void MainWindow::refuseAllButQuestionMark(std::int16_t& KeyAscii, std::u16string_view message)
{
    Txtmassage.setText(u"");
    if (KeyAscii != keyCodeOf(U'？')) {
        KeyAscii = 0;
        Txtmassage.setText(std::u16string(message));
    }
}

} // namespace orvanta::form
