// The Windows folder on Linux: the user's data folder, made on first use.
#include "host/linux/imitate_windows/WindowsFolder.h"

#include "host/linux/HostFolders.h"

#include <sys/stat.h>

namespace orvanta::host {
namespace {

// mkdir -p; every folder it makes is the user's only, as the XDG base folders are.
void makeFolder(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
    mkdir(path.c_str(), 0700);
}

} // namespace

std::string imitatedWindowsFolder()
{
    std::string folder = dataFolder();
    makeFolder(folder);
    return folder;
}

} // namespace orvanta::host
