#pragma once

#include "platform/Environment.h"

#include <map>
#include <string>

namespace orvanta::test {

/// Environment variables, program folder and working directory as a test sets them. Variable names
/// compare without regard to ASCII case, as on Windows.
class FakeEnvironment final : public platform::Environment {
public:
    void set(std::u16string_view name, std::u16string_view value);
    void unset(std::u16string_view name);
    void setProgramFolder(std::u16string folder) { m_programFolder = std::move(folder); }
    void setCurrentDirectory(std::u16string folder) { m_currentDirectory = std::move(folder); }
    void setSharedFolder(std::optional<std::u16string> folder) { m_sharedFolder = std::move(folder); }

    std::optional<std::u16string> variable(std::u16string_view name) const override;
    std::u16string programFolder() const override { return m_programFolder; }
    std::u16string currentDirectory() const override { return m_currentDirectory; }
    std::optional<std::u16string> sharedFolder() const override { return m_sharedFolder; }

private:
    static std::u16string folded(std::u16string_view name);

    std::map<std::u16string, std::u16string> m_variables;
    std::u16string m_programFolder;
    std::u16string m_currentDirectory;
    std::optional<std::u16string> m_sharedFolder;
};

} // namespace orvanta::test
