#pragma once

// A help viewer that records what it was asked to show.

#include "platform/HelpViewer.h"

#include <vector>

namespace orvanta::test {

/// Records the help files it was asked to open and answers as the test says (by default: shown).
class FakeHelpViewer final : public platform::HelpViewer {
public:
    bool open(const std::string& hostPath) override
    {
        m_opened.push_back(hostPath);
        return m_result;
    }
    void setResult(bool shown) { m_result = shown; }
    const std::vector<std::string>& openedPaths() const { return m_opened; }

private:
    bool m_result = true;
    std::vector<std::string> m_opened;
};

} // namespace orvanta::test
