#pragma once

// A control of the window as plain data: what its widget shows, which the views copy after every event.

#include <functional>
#include <string>
#include <vector>

namespace orvanta::form {

/// The run-time state of one control of the window: what the widget shows, as plain data.
/// The view copies it into the real widget after every event.
class Control {
public:
    const std::u16string& text() const { return m_text; }
    /// Sets the text; a text box raises its Change event when the text really changes, whether the
    /// user typed it or the program assigned it.
    void setText(std::u16string text);

    bool visible = true;
    /// List entries of a list box or a combo box, in the order they were added (never sorted).
    std::vector<std::u16string> items;
    /// The selected entry, -1 for none.
    int listIndex = -1;

    /// The selected entry's text, or the empty text when nothing is selected.
    std::u16string selectedItem() const;
    void clearItems();
    void addItem(std::u16string item) { items.push_back(std::move(item)); }

    /// The Change event, wired by the window for the boxes whose changes it tracks.
    std::function<void()> onChange;

private:
    std::u16string m_text;
};

} // namespace orvanta::form
