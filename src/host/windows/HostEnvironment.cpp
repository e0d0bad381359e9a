// HostEnvironment on Windows: the process's own environment, where Windir is always defined.
#include "host/HostEnvironment.h"

#include "host/Utf8.h"
#include "host/windows/CurrentDirectory.h"

#include <vector>
#include <windows.h>

namespace orvanta::host {

HostEnvironment::HostEnvironment(std::optional<std::string> programFolder)
    : m_programFolder(std::move(programFolder))
{
}

std::optional<std::u16string> HostEnvironment::variable(std::u16string_view name) const
{
    if (name.empty() || name.find(u'=') != std::u16string_view::npos ||
        name.find(u'\0') != std::u16string_view::npos)
        return std::nullopt;
    const std::u16string terminated(name);
    const auto* wideName = reinterpret_cast<const wchar_t*>(terminated.c_str());
    std::vector<wchar_t> buffer(256);
    while (true) {
        // A variable set to the empty text also gives 0; only the error tells it from a missing one.
        SetLastError(ERROR_SUCCESS);
        const DWORD length =
            GetEnvironmentVariableW(wideName, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::u16string();
        }
        if (length < buffer.size())
            return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
        buffer.resize(length);
    }
}

std::u16string HostEnvironment::programFolder() const
{
    if (m_programFolder)
        return fromUtf8(*m_programFolder);
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return currentDirectory();
        if (length < buffer.size()) {
            std::u16string path(reinterpret_cast<const char16_t*>(buffer.data()), length);
            const std::size_t backslash = path.rfind(u'\\');
            if (backslash == std::u16string::npos)
                return currentDirectory();
            // A program in a drive's root lies in "C:\", not in "C:".
            return backslash == 2 && path[1] == u':' ? path.substr(0, 3) : path.substr(0, backslash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string HostEnvironment::currentDirectory() const
{
    return processWorkingDirectory();
}

std::optional<std::u16string> HostEnvironment::sharedFolder() const
{
    return std::nullopt;
}

// Windows keeps its environment in UTF-16: every value it holds can be read.
std::optional<std::u16string> HostEnvironment::unreadable(std::u16string_view /*name*/) const
{
    return std::nullopt;
}

} // namespace orvanta::host
