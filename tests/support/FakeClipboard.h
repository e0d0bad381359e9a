#pragma once

// A clipboard that remembers what was put there.

#include "platform/Clipboard.h"

namespace orvanta::test {

/// Remembers what was put on the clipboard and how often it was cleared. Another program's copy is
/// a plain setText from the test.
class FakeClipboard final : public platform::Clipboard {
public:
    void clear() override
    {
        m_text.clear();
        ++m_clears;
    }
    void setText(std::u16string_view text) override
    {
        m_text = text;
        ++m_sets;
    }

    std::u16string text() const override { return m_text; }
    int clearCount() const { return m_clears; }
    int setCount() const { return m_sets; }

private:
    std::u16string m_text;
    int m_clears = 0;
    int m_sets = 0;
};

} // namespace orvanta::test
