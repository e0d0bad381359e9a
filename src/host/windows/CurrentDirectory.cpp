// Asking Windows for the process's working directory, in one place.
#include "host/windows/CurrentDirectory.h"

#include <vector>
#include <windows.h>

namespace orvanta::host {

std::u16string processWorkingDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    while (true) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return std::u16string();
        if (length < buffer.size())
            return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
        buffer.resize(length + 1);
    }
}

} // namespace orvanta::host
