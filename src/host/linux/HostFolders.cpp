// The user's home folder and login name, from the environment or the password database.
#include "host/linux/HostFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace orvanta::host {

std::string hostVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

namespace {

// The user's entry in the password database: login name and home folder, empty where it has none.
struct Account {
    std::string name;
    std::string home;
};

Account account()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return {};
    return {found->pw_name != nullptr ? found->pw_name : "", found->pw_dir != nullptr ? found->pw_dir : ""};
}

} // namespace

std::string homeFolder()
{
    std::string home = hostVariable("HOME");
    if (!home.empty())
        return home;
    home = account().home;
    return home.empty() ? "/" : home;
}

std::string userName()
{
    const std::string name = account().name;
    return name.empty() ? hostVariable("USER") : name;
}

namespace {

// The XDG base folders count only when they are absolute paths; a relative one is ignored.
std::string xdgFolder(const char* variable, const char* fallbackUnderHome)
{
    std::string base = hostVariable(variable);
    if (base.empty() || base.front() != '/') {
        base = homeFolder();
        while (!base.empty() && base.back() == '/')
            base.pop_back();
        base += fallbackUnderHome;
    }
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base + "/orvanta";
}

} // namespace

std::string configFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string dataFolder()
{
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

} // namespace orvanta::host
