#pragma once

// A clipboard that remembers what was put there, and whether the program's copy is still there.

#include "host/Clipboard.h"

namespace orvanta::test {

/// Remembers what was put on the clipboard and how often it was cleared. Another program's copy is
/// copyElsewhere.
class FakeClipboard final : public host::Clipboard {
public:
    void clear() override
    {
        m_text.clear();
        m_own = false;
        ++m_clears;
    }
    void setText(std::u16string_view text) override
    {
        m_text = text;
        m_own = true;
        ++m_sets;
    }
    std::u16string text() const override { return m_text; }
    bool holdsOwnCopy() const override { return m_own; }

    /// Another program puts `text` on the clipboard, unmarked.
    void copyElsewhere(std::u16string_view text)
    {
        m_text = text;
        m_own = false;
    }
    int clearCount() const { return m_clears; }
    int setCount() const { return m_sets; }

private:
    std::u16string m_text;
    bool m_own = false;
    int m_clears = 0;
    int m_sets = 0;
};

} // namespace orvanta::test
