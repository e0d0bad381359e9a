// The description of Windows' own error codes; errno values are described by errorDescription.
#include "host/windows/SystemErrorDescription.h"

#include "host/ErrorDescription.h"
#include "host/Utf8.h"

#include <cerrno>
#include <windows.h>

namespace orvanta::host {
namespace {

std::u16string numbered(std::uint32_t error)
{
    return u"システム エラーが発生しました。(エラー番号 " + fromUtf8(std::to_string(error)) + u")";
}

// The errno value whose wording fits a Windows error code, or 0.
int errnoOf(std::uint32_t error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
        return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_READY:
        return ENODEV;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
        return EIO;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    default:
        return 0;
    }
}

bool hasNonAscii(std::u16string_view text)
{
    for (const char16_t c : text)
        if (c > 0x7F)
            return true;
    return false;
}

} // namespace

std::u16string systemErrorDescription(std::uint32_t error)
{
    // Windows' own words for a file another program holds open run to two sentences; the program says
    // it in its own, shorter words.
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return errorDescription(EBUSY);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN),
                                        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string message;
    if (length > 0 && buffer != nullptr)
        message.assign(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' '))
        message.pop_back();
    // A system without Japanese messages may answer in English under the Japanese language; that is
    // no message for this program's users.
    if (hasNonAscii(message))
        return message;
    if (const int fitting = errnoOf(error))
        return errorDescription(fitting);
    return numbered(error);
}

} // namespace orvanta::host
