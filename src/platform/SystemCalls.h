#pragma once

// The calls to the system through which the file layer writes, one table per host. Each entry
// defaults to the real call and answers as it does; a test hands HostFileSystem a table whose entries
// note the call or fail it, and so sees the calls a write really makes.

#include <functional>

#ifdef _WIN32
// <windows.h> stays out of the headers (its macros would reach every file that includes them): the
// types below are the ones it names HANDLE, DWORD, BOOL and LPCWSTR.
struct _SECURITY_ATTRIBUTES;
struct _OVERLAPPED;
#else
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace orvanta::platform {

#ifdef _WIN32

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

#else

/// Flushes the entries of `folder` to the disk; where the folder cannot be opened for reading (mode
/// 0311), the whole file system that `fileOnSameDisk` lies on. 0, or -1 with errno set.
int flushFolder(const char* folder, int fileOnSameDisk);

/// A failed call returns -1 with errno set, as the real one does.
struct SystemCalls {
    std::function<int(const char*, int, mode_t)> open = [](const char* path, int flags, mode_t mode) {
        return ::open(path, flags, mode);
    };
    std::function<int(int, int)> flock = ::flock;
    std::function<int(char*, int)> mkostemp = ::mkostemp;
    std::function<int(int, uid_t, gid_t)> fchown = ::fchown;
    std::function<int(int, mode_t)> fchmod = ::fchmod;
    std::function<ssize_t(int, const void*, size_t)> write = ::write;
    std::function<int(int)> fsync = ::fsync;
    std::function<int(int)> close = ::close;
    std::function<int(const char*, const char*)> rename = ::rename;
    std::function<int(const char*)> unlink = ::unlink;
    std::function<int(const char*, int)> flushFolder = platform::flushFolder;
};

#endif

} // namespace orvanta::platform
