#pragma once

// The Windows window over a temporary Windir, driven by the messages the user's actions send.

#include "support/WindowDriver.h"
#include "view/win32/Win32View.h"

#include <commctrl.h>
#include <string>

namespace orvanta::test {

/// The program's Windows window over a temporary Windir, driven with the messages that the user's
/// actions send to its controls: text set into a box (WM_SETTEXT, which raises EN_CHANGE), characters
/// typed (WM_CHAR), buttons pressed (BM_CLICK), choices in the lists (CB_SETCURSEL and LB_SETCURSEL with
/// the notification the control sends for a user's choice).
class ViewDriver {
public:
    /// `clipboard` takes the place of the fake clipboard when given.
    explicit ViewDriver(host::Clipboard* clipboard = nullptr)
        : window(withClipboard(d.services.services(), clipboard)), view(window, GetModuleHandleW(nullptr))
    {
    }

    /// Puts psw.ini in place, then starts, creates and shows the window.
    bool start(const std::string& bytes)
    {
        if (!bytes.empty())
            d.services.windowsDir.write("psw.ini", bytes);
        view.load();
        if (!view.create())
            return false;
        view.show(SW_SHOWNOACTIVATE);
        pump();
        return true;
    }

    /// Delivers what the window posted to itself.
    static void pump()
    {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    HWND control(form::ControlId id) const { return view.control(id); }
    /// The text field of a box; the edit field inside the drop-down box.
    HWND field(form::ControlId id) const
    {
        if (id != form::ControlId::cmbnamae)
            return control(id);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control(id), &info);
        return info.hwndItem;
    }
    std::u16string shown(form::ControlId id) const { return view_win32::windowText(control(id)); }
    bool visible(form::ControlId id) const { return IsWindowVisible(control(id)) != FALSE; }

    /// Text put into a box whole, as a paste or an assistive tool does.
    void setText(form::ControlId id, const std::u16string& text)
    {
        SendMessageW(field(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(view_win32::wide(text)));
        pump();
    }
    /// Characters typed into a box, one WM_CHAR each (a surrogate pair as two).
    void type(form::ControlId id, std::u16string_view text)
    {
        SendMessageW(field(id), WM_SETFOCUS, 0, 0);
        for (const char16_t unit : text)
            SendMessageW(field(id), WM_CHAR, unit, 1);
        pump();
    }
    void click(form::ControlId id)
    {
        SendMessageW(control(id), BM_CLICK, 0, 0);
        pump();
    }
    /// A choice in the drop-down box or the list, by its text.
    void choose(form::ControlId id, std::u16string_view item)
    {
        const bool combo = id == form::ControlId::cmbnamae;
        const std::u16string text(item);
        const auto found =
            SendMessageW(control(id), combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                         static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(view_win32::wide(text)));
        ASSERT_GE(found, 0) << "not in the list";
        SendMessageW(control(id), combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(found), 0);
        notify(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    }
    /// A double-click on the list: the click before it has chosen the entry.
    void doubleClick(form::ControlId id, std::u16string_view item)
    {
        choose(id, item);
        notify(id, LBN_DBLCLK);
    }
    void notify(form::ControlId id, UINT code)
    {
        const int identifier = GetDlgCtrlID(control(id));
        SendMessageW(view.window(), WM_COMMAND, MAKEWPARAM(identifier, code),
                     reinterpret_cast<LPARAM>(control(id)));
        pump();
    }
    /// A key pressed while `target` has the focus, through the program's message loop.
    bool press(HWND target, WPARAM key)
    {
        MSG message{target, WM_KEYDOWN, key, 1, 0, {0, 0}};
        const bool taken = view.preTranslate(message);
        pump();
        return taken;
    }

    /// A key pressed over `target` as the program's message loop delivers it: to the window first, then,
    /// when the window leaves it, to the control.
    void key(HWND target, WPARAM key)
    {
        MSG message{target, WM_KEYDOWN, key, 1, 0, {0, 0}};
        if (!view.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        pump();
    }

    std::vector<std::u16string> listItems(form::ControlId id) const
    {
        const bool combo = id == form::ControlId::cmbnamae;
        std::vector<std::u16string> items;
        const auto count = SendMessageW(control(id), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const auto length = SendMessageW(control(id), combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
            std::u16string item(static_cast<std::size_t>(length) + 1, u'\0');
            SendMessageW(control(id), combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                         reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<std::size_t>(length));
            items.push_back(item);
        }
        return items;
    }

    std::string file() const { return d.file(); }

    /// The temporary Windir, the fakes (with the product identifier that gives key 23) and the rows of a
    /// test file, with a window of its own that the test does not drive.
    WindowDriver d;
    form::MainWindow window;
    view_win32::Win32View view;

private:
    static host::Services withClipboard(host::Services services, host::Clipboard* clipboard)
    {
        if (!clipboard)
            return services;
        return {services.registry, services.environment, services.files, services.codePage, *clipboard,
                services.clock,    services.random,      services.help,  services.drives,   services.timer};
    }
};

} // namespace orvanta::test
