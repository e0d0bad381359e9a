// Which handler of the window each control's clicks and keystrokes reach, and how a typed character
// goes through its box's filter.
#include "EventRoutes.h"

#include "MainWindow.h"
#include "form/Messages.h"
#include "host/Utf8.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <variant>

namespace orvanta::form {

namespace {

/// The character a key code stands for in the code page; empty when it stands for none.
std::u16string characterOfCode(MainWindow& window, std::int16_t code)
{
    const auto unsignedCode = static_cast<std::uint16_t>(code);
    std::string bytes;
    if (unsignedCode > 0xFF)
        bytes += static_cast<char>(unsignedCode >> 8);
    bytes += static_cast<char>(unsignedCode & 0xFF);
    const auto decoded = window.services().codePage.decode(bytes);
    if (const auto* text = std::get_if<std::u16string>(&decoded))
        return *text;
    return {};
}

} // namespace

bool isTypedBox(ControlId id)
{
    switch (id) {
    case ControlId::Txtnamae:
    case ControlId::Txtidbox:
    case ControlId::Txtpassnew:
    case ControlId::Txtbikouran:
    case ControlId::txtketasu:
        return true;
    default:
        return false;
    }
}

KeyPressHandler keyPressHandler(ControlId id)
{
    switch (id) {
    case ControlId::Txtpassnew:
        return &MainWindow::Txtpassnew_KeyPress;
    case ControlId::Txtbikouran:
        return &MainWindow::Txtbikouran_KeyPress;
    case ControlId::Lblpassword:
        return &MainWindow::Lblpassword_KeyPress;
    case ControlId::Lblbikouran:
        return &MainWindow::Lblbikouran_KeyPress;
    case ControlId::Txtmassage:
        return &MainWindow::Txtmassage_KeyPress;
    case ControlId::txtketasu:
        return &MainWindow::txtketasu_KeyPress;
    default:
        return nullptr;
    }
}

ClickHandler clickHandler(ControlId id)
{
    switch (id) {
    case ControlId::btnnew:
        return &MainWindow::btnnew_Click;
    case ControlId::btnkousin:
        return &MainWindow::btnkousin_Click;
    case ControlId::btndelete:
        return &MainWindow::btndelete_Click;
    case ControlId::btnnewmode:
        return &MainWindow::btnnewmode_Click;
    case ControlId::btnmordori:
        return &MainWindow::btnmordori_Click;
    case ControlId::btnload:
        return &MainWindow::btnload_Click;
    case ControlId::btnunload:
        return &MainWindow::btnunload_Click;
    case ControlId::btnclipset:
        return &MainWindow::btnclipset_Click;
    case ControlId::btncleate:
        return &MainWindow::btncleate_Click;
    default:
        return nullptr;
    }
}

CopyHandler copyHandler(ControlId id)
{
    // The address boxes are left out: an address is no secret, and users paste it where they like.
    switch (id) {
    case ControlId::Lblpassword:
        return &MainWindow::Lblpassword_Copy;
    case ControlId::Txtpassnew:
        return &MainWindow::Txtpassnew_Copy;
    case ControlId::Txtmassage:
        return &MainWindow::Txtmassage_Copy;
    default:
        return nullptr;
    }
}

KeyAction keyActionOn(ControlId focused, ActionKey key)
{
    if (design(focused).kind == ControlKind::Button)
        return KeyAction::Click;
    if (focused == ControlId::Lstidbox && key == ActionKey::Enter)
        return KeyAction::DblClick;
    return KeyAction::None;
}

std::optional<int> listKeyChoice(ListKey key, int chosen, int count, int page)
{
    if (count <= 0)
        return std::nullopt;
    const int last = count - 1;
    page = std::max(page, 1);
    int next = 0;
    if (chosen < 0 || chosen > last) {
        // The focus frame stands on the first entry; the key chooses from there.
        next = key == ListKey::End ? last : key == ListKey::PageDown ? std::min(page - 1, last) : 0;
        return next;
    }
    switch (key) {
    case ListKey::Up:
        next = chosen - 1;
        break;
    case ListKey::Down:
        next = chosen + 1;
        break;
    case ListKey::Home:
        next = 0;
        break;
    case ListKey::End:
        next = last;
        break;
    case ListKey::PageUp:
        next = chosen - page;
        break;
    case ListKey::PageDown:
        next = chosen + page;
        break;
    case ListKey::Space:
        next = chosen;
        break;
    }
    next = std::clamp(next, 0, last);
    if (next == chosen)
        return std::nullopt;
    return next;
}

bool takesNoInputMethod(ControlId id)
{
    return id == ControlId::Txtpassnew || id == ControlId::Txtbikouran;
}

std::u16string wholeMessageTip(std::u16string_view message, std::u16string_view lineBreak)
{
    auto tip = std::u16string(design(ControlId::Txtmassage).tooltip);
    if (!message.empty())
        tip.append(lineBreak).append(message);
    return tip;
}

void runEvent(MainWindow& window, const std::function<void()>& handlers)
{
    try {
        handlers();
    } catch (const std::exception& error) {
        window.Txtmassage.setText(unexpectedErrorMessage(host::fromUtf8(error.what())));
    }
}

void chooseDestination(MainWindow& window, int index)
{
    window.cmbnamae.listIndex = index;
    window.cmbnamae.setText(window.cmbnamae.selectedItem());
    window.cmbnamae_Click();
}

void chooseId(MainWindow& window, int index)
{
    window.Lstidbox.listIndex = index;
    window.Lstidbox_Click();
}

void openChosenId(MainWindow& window)
{
    if (!window.Lstidbox.selectedItem().empty())
        window.Lstidbox_Click();
    window.Lstidbox_DblClick();
}

TypedText passKeyPress(MainWindow& window, KeyPressHandler handler, std::u16string_view typed)
{
    TypedText result;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        char32_t character = typed[i];
        std::size_t units = 1;
        if (character >= 0xD800 && character <= 0xDBFF && i + 1 < typed.size() && typed[i + 1] >= 0xDC00 &&
            typed[i + 1] <= 0xDFFF) {
            character = 0x10000 + ((character - 0xD800) << 10) + (typed[i + 1] - 0xDC00);
            units = 2;
        }
        const std::int16_t code = window.keyCodeOf(character);
        std::int16_t KeyAscii = code;
        std::invoke(handler, window, KeyAscii);
        if (KeyAscii == code) {
            result.accepted += typed.substr(i, units);
        } else {
            // Refused (0), or changed into another character.
            result.changed = true;
            if (KeyAscii != 0)
                result.accepted += characterOfCode(window, KeyAscii);
        }
        i += units - 1;
    }
    return result;
}

} // namespace orvanta::form
