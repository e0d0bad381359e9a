// One control's run-time state: its text, its list, whether it shows and is enabled.
#include "Control.h"

namespace orvanta::form {

void Control::setText(std::u16string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    if (onChange)
        onChange();
}

std::u16string Control::selectedItem() const
{
    if (listIndex < 0 || static_cast<std::size_t>(listIndex) >= items.size())
        return {};
    return items[static_cast<std::size_t>(listIndex)];
}

void Control::clearItems()
{
    items.clear();
    listIndex = -1;
}

} // namespace orvanta::form
