#pragma once

// A help viewer that records what it was asked to show.

#include "host/HelpViewer.h"

#include <vector>

namespace orvanta::test {

/// Records the help it was asked to show and answers as the test says (by default: shown).
class FakeHelpViewer final : public host::HelpViewer {
public:
    bool show(const host::HelpDocument& help) override
    {
        m_shown.push_back(help);
        return m_result;
    }
    void setResult(bool shown) { m_result = shown; }
    const std::vector<host::HelpDocument>& shown() const { return m_shown; }

private:
    bool m_result = true;
    std::vector<host::HelpDocument> m_shown;
};

} // namespace orvanta::test
