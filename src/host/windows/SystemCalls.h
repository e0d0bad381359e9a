#pragma once

// The calls to the system through which the Windows file layer writes. Each entry defaults to the real
// call and answers as it does; a test hands HostFileSystem a table whose entries note the call or fail
// it, and so sees the calls a write really makes.

#include <functional>

// <windows.h> stays out of the headers (its macros would reach every file that includes them): the
// types below are the ones it names HANDLE, DWORD, BOOL and LPCWSTR.
struct _SECURITY_ATTRIBUTES;
struct _OVERLAPPED;

namespace orvanta::host {

/// CreateFileW, WriteFile, FlushFileBuffers, CloseHandle, MoveFileExW and DeleteFileW, the real ones
/// unless replaced. A failed call returns FALSE or INVALID_HANDLE_VALUE with GetLastError() set, as
/// the real one does.
struct SystemCalls {
    SystemCalls();

    std::function<void*(const wchar_t*, unsigned long, unsigned long, _SECURITY_ATTRIBUTES*, unsigned long,
                        unsigned long, void*)>
        createFile;
    std::function<int(void*, const void*, unsigned long, unsigned long*, _OVERLAPPED*)> writeFile;
    std::function<int(void*)> flushFileBuffers;
    std::function<int(void*)> closeHandle;
    std::function<int(const wchar_t*, const wchar_t*, unsigned long)> moveFileEx;
    std::function<int(const wchar_t*)> deleteFile;
};

} // namespace orvanta::host
