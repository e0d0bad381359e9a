// The process environment of Linux, and the program's folder and working directory. Windir, which Linux
// does not define, is the folder that stands in for the Windows folder (imitate_windows/WindowsFolder.h).
#include "host/HostEnvironment.h"

#include "host/Utf8.h"
#include "host/linux/imitate_windows/WindowsFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration): unistd.h names it only for _GNU_SOURCE

namespace orvanta::host {
namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string> lookUp(const std::string& name)
{
    if (name.empty() || name.find('=') != std::string::npos)
        return std::nullopt;
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        const std::size_t equals = variable.find('=');
        if (equals != std::string_view::npos && equalsIgnoringAsciiCase(variable.substr(0, equals), name))
            return std::string(variable.substr(equals + 1));
    }
    return std::nullopt;
}

} // namespace

HostEnvironment::HostEnvironment(std::optional<std::string> programFolder)
    : m_programFolder(std::move(programFolder))
{
}

std::optional<std::u16string> HostEnvironment::variable(std::u16string_view name) const
{
    const auto hostName = toUtf8(name);
    if (!hostName)
        return std::nullopt;
    const bool windir = equalsIgnoringAsciiCase(*hostName, "windir");
    if (auto value = lookUp(*hostName); value && !(windir && value->empty()))
        return fromUtf8(*value);
    if (windir)
        return fromUtf8(imitatedWindowsFolder());
    return std::nullopt;
}

std::optional<std::u16string> HostEnvironment::unreadable(std::u16string_view name) const
{
    const auto hostName = toUtf8(name);
    const auto value = hostName ? lookUp(*hostName) : std::nullopt;
    if (value && !fromUtf8Strict(*value))
        return u"UTF-8 ではありません";
    return std::nullopt;
}

std::u16string HostEnvironment::programFolder() const
{
    if (m_programFolder)
        return fromUtf8(*m_programFolder);
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return currentDirectory();
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            const std::size_t slash = path.rfind('/');
            path = slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
            return fromUtf8(path);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::u16string> HostEnvironment::sharedFolder() const
{
    std::u16string prefix = programFolder();
    const std::size_t slash = prefix.rfind(u'/');
    prefix = slash == 0 || slash == std::u16string::npos ? std::u16string() : prefix.substr(0, slash);
    return prefix + u"/share/orvanta";
}

std::u16string HostEnvironment::currentDirectory() const
{
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1U << 20))
            return std::u16string(); // the working directory was removed
        buffer.resize(buffer.size() * 2);
    }
    return fromUtf8(buffer.data());
}

} // namespace orvanta::host
