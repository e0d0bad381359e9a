#pragma once

// A window over test services with a psw.ini written from plain rows, driven as the user would.

#include "form/EventRoutes.h"
#include "form/MainWindow.h"
#include "support/Rows.h"
#include "support/TestServices.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace orvanta::test {

/// The window over a temporary data folder, driven the way the user drives it: choose in the lists,
/// double-click, type into the boxes, click.
class WindowDriver {
public:
    WindowDriver()
    {
        // A product identifier ending in digits gives the machine its own key (23).
        services.registry.setText(host::HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                  u"ProductId", u"55274-640-1234567-23");
        window.Form_Load();
    }

    /// The bytes of a psw.ini holding these rows, the password and address of each entry as codes.
    std::string rowsFile(std::initializer_list<PlainRow> rows)
    {
        const StoreText stored = [this](std::u16string_view plain) { return window.encodeText(plain); };
        return test::rowsFile(std::span(rows.begin(), rows.size()), stored, stored);
    }

    /// Puts psw.ini in place and starts the window over it.
    void start(const std::string& bytes)
    {
        services.windowsDir.write("psw.ini", bytes);
        window.Form_Load();
    }
    void start(std::initializer_list<PlainRow> rows) { start(rowsFile(rows)); }

    std::string file() const { return services.windowsDir.read("psw.ini"); }

    /// Chooses a destination in the combo box, as a click on it does.
    void chooseDestination(std::u16string_view destination)
    {
        form::chooseDestination(window, indexOf(window.cmbnamae, destination));
    }

    /// Chooses a destination and an ID and double-clicks the ID: edit mode on that entry.
    void openEntry(std::u16string_view destination, std::u16string_view id)
    {
        chooseDestination(destination);
        form::chooseId(window, indexOf(window.Lstidbox, id));
        window.Lstidbox_DblClick();
    }

    /// Registration mode with the combo box's text and the boxes filled in, then "登録する".
    void registerEntry(std::u16string_view destination, std::u16string_view id, std::u16string_view password,
                       std::u16string_view mail = u"")
    {
        window.btnnewmode_Click();
        window.cmbnamae.setText(std::u16string(destination));
        window.Txtidbox.setText(std::u16string(id));
        window.Txtpassnew.setText(std::u16string(password));
        window.Txtbikouran.setText(std::u16string(mail));
        window.btnnew_Click();
    }

    /// The screen the window shows, told by the button only that screen shows.
    bool inRegistrationMode() const { return window.btnnew.visible; }
    bool inEditMode() const { return window.btnkousin.visible; }
    bool onResultScreen() const { return window.btnnewmode.visible && !window.btnload.visible; }

    TestServices services;
    form::MainWindow window{services.services()};

private:
    static int indexOf(const form::Control& list, std::u16string_view item)
    {
        const auto found = std::find(list.items.begin(), list.items.end(), item);
        EXPECT_NE(found, list.items.end()) << "not in the list";
        return found == list.items.end() ? -1 : static_cast<int>(found - list.items.begin());
    }
};

} // namespace orvanta::test
