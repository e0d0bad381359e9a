// The drives as Windows reports them, with the shell loaded only when a drive's name is asked for.
#include "host/windows/HostDrives.h"

#include "host/Utf8.h"
#include "host/windows/CurrentDirectory.h"

#include <string>
#include <vector>
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace orvanta::host {
namespace {

// The record the shell fills: 352 bytes in a 32-bit program, 360 in a 64-bit one (the icon handle
// grows to 8 bytes and the record is padded to 8), with the display name as 260 ANSI characters.
static_assert(sizeof(SHFILEINFOA) == (sizeof(void*) == 4 ? 352 : 360));
static_assert(sizeof(SHFILEINFOA{}.szDisplayName) == 260);
constexpr UINT kDisplayName = 512; // SHGFI_DISPLAYNAME

std::u16string fromAnsi(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(out.data()), length);
    out.resize(static_cast<std::size_t>(length - 1));
    return out;
}

using GetFileInfo = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);

/// The shell, loaded when a drive's name is first asked for rather than when the program starts: it is
/// a large library, and the window does not need it to come up.
GetFileInfo shellGetFileInfo()
{
    static const GetFileInfo loaded = [] {
        HMODULE library = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return library ? reinterpret_cast<GetFileInfo>(
                             reinterpret_cast<void*>(GetProcAddress(library, "SHGetFileInfoA")))
                       : nullptr;
    }();
    return loaded;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::uint32_t HostDrives::GetDriveTypeA(std::string_view rootPath) const
{
    // An empty path asks about the working directory's drive, as Windows does for a null path.
    if (rootPath.empty())
        return ::GetDriveTypeA(nullptr);
    const std::string path(rootPath);
    return ::GetDriveTypeA(path.c_str());
}

std::u16string HostDrives::displayName(std::string_view rootPath) const
{
    if (rootPath.empty())
        return {};
    const std::string path(rootPath);
    SHFILEINFOA info{};
    const GetFileInfo getFileInfo = shellGetFileInfo();
    if (!getFileInfo || getFileInfo(path.c_str(), 0, &info, sizeof info, kDisplayName) == 0)
        return {};
    info.szDisplayName[sizeof info.szDisplayName - 1] = '\0';
    return fromAnsi(info.szDisplayName);
}

std::optional<std::string> HostDrives::root(char letter) const
{
    if (!isLetter(letter))
        return std::nullopt;
    const char upper = letter >= 'a' ? static_cast<char>(letter - 'a' + 'A') : letter;
    const std::string rootPath{upper, ':', '\\'};
    // Each file the program names asks for its drive, and Windows asks the mount manager for the type
    // (under Wine, half a millisecond each time; start-up names three files on C:). A fixed drive stays
    // for the session and is asked once; removable and network drives come and go, and are asked each time.
    const auto slot = static_cast<std::size_t>(upper - 'A');
    if (m_fixed.test(slot))
        return rootPath;
    const UINT type = ::GetDriveTypeA(rootPath.c_str());
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN)
        return std::nullopt;
    if (type == DRIVE_FIXED)
        m_fixed.set(slot);
    return rootPath;
}

bool HostDrives::hasMedium(std::string_view rootPath) const
{
    if (rootPath.empty() || !root(rootPath.front()))
        return false;
    const std::u16string path = fromUtf8(std::string(rootPath));
    // Without this, Windows answers a question about an empty drive with its "insert a disk" box.
    DWORD previous = 0;
    const bool quiet =
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous) != FALSE;
    const auto* drive = reinterpret_cast<const wchar_t*>(path.c_str());
    // The free space is what only a drive with a medium can tell (Wine gives every drive a volume
    // name); a medium that says it is read-only is no place to write a backup either.
    ULARGE_INTEGER available{};
    const bool present = GetDiskFreeSpaceExW(drive, &available, nullptr, nullptr) != FALSE;
    DWORD flags = 0;
    const bool readOnly = present &&
                          GetVolumeInformationW(drive, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
                          (flags & FILE_READ_ONLY_VOLUME) != 0;
    if (quiet)
        SetThreadErrorMode(previous, nullptr);
    return present && !readOnly;
}

std::string HostDrives::currentDriveRoot() const
{
    const std::u16string directory = processWorkingDirectory();
    if (directory.size() >= 2 && directory[1] == u':')
        return toUtf8(directory.substr(0, 2)).value_or("C:") + "\\";
    // \\server\share\folder -> \\server\share\ .
    if (directory.starts_with(u"\\\\")) {
        const std::size_t server = directory.find(u'\\', 2);
        const std::size_t share = server == std::u16string::npos ? server : directory.find(u'\\', server + 1);
        return toUtf8(directory.substr(0, share)).value_or("C:") + "\\";
    }
    return "C:\\";
}

} // namespace orvanta::host
