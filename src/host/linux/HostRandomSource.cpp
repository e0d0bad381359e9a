// HostRandomSource on Linux: the kernel's random source (getrandom, or /dev/urandom).
#include "host/HostRandomSource.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace orvanta::host {
namespace {

bool readUrandom(unsigned char* buffer, std::size_t size)
{
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = read(fd, buffer + done, size - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            close(fd);
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    close(fd);
    return true;
}

} // namespace

std::uint32_t HostRandomSource::systemWord()
{
    unsigned char bytes[4] = {};
    std::size_t done = 0;
    while (done < sizeof bytes) {
        const ssize_t count = getrandom(bytes + done, sizeof bytes - done, 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            // A kernel without getrandom still has /dev/urandom.
            if (!readUrandom(bytes, sizeof bytes)) {
                std::fputs("orvanta: no random source is available\n", stderr);
                std::abort();
            }
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace orvanta::host
