#pragma once

// Environment variables and folders as a test sets them up.

#include "host/Environment.h"

#include <map>
#include <string>

namespace orvanta::test {

/// Environment variables, program folder and working directory as a test sets them. Variable names
/// compare without regard to ASCII case, as on Windows.
class FakeEnvironment final : public host::Environment {
public:
    void set(std::u16string_view name, std::u16string_view value);
    void unset(std::u16string_view name);
    /// The variable stays set, but its value cannot be read as text, for this reason.
    void setUnreadable(std::u16string_view name, std::u16string reason)
    {
        m_unreadable[folded(name)] = reason;
    }
    void setProgramFolder(std::u16string folder) { m_programFolder = std::move(folder); }
    void setCurrentDirectory(std::u16string folder) { m_currentDirectory = std::move(folder); }
    void setSharedFolder(std::optional<std::u16string> folder) { m_sharedFolder = std::move(folder); }

    std::optional<std::u16string> variable(std::u16string_view name) const override;
    std::optional<std::u16string> unreadable(std::u16string_view name) const override
    {
        const auto found = m_unreadable.find(folded(name));
        return found == m_unreadable.end() ? std::nullopt : std::optional(found->second);
    }
    std::u16string programFolder() const override { return m_programFolder; }
    std::u16string currentDirectory() const override { return m_currentDirectory; }
    std::optional<std::u16string> sharedFolder() const override { return m_sharedFolder; }

private:
    static std::u16string folded(std::u16string_view name);

    std::map<std::u16string, std::u16string> m_variables;
    std::map<std::u16string, std::u16string> m_unreadable;
    std::u16string m_programFolder;
    std::u16string m_currentDirectory;
    std::optional<std::u16string> m_sharedFolder;
};

} // namespace orvanta::test
