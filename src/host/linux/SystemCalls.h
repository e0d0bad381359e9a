#pragma once

// The calls to the system through which the Linux file layer writes. Each entry defaults to the real
// call and answers as it does; a test hands HostFileSystem a table whose entries note the call or fail
// it, and so sees the calls a write really makes.

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace orvanta::host {

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
    std::function<int(const char*, int)> flushFolder = host::flushFolder;
};

} // namespace orvanta::host
