#include "HostRandomSource.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace orvanta::platform {
namespace {

bool readUrandom(unsigned char* buffer, std::size_t size)
{
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = read(fd, buffer + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            close(fd);
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    close(fd);
    return true;
}

std::uint32_t randomWord()
{
    unsigned char bytes[4] = {};
    std::size_t done = 0;
    while (done < sizeof bytes) {
        const ssize_t count = getrandom(bytes + done, sizeof bytes - done, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
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

} // namespace

std::uint32_t HostRandomSource::below(std::uint32_t bound)
{
    if (bound <= 1) {
        return 0;
    }
    // Words at or above the largest multiple of bound would favour the small values; draw again.
    const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % bound + 1) % bound;
    while (true) {
        const std::uint32_t word = randomWord();
        if (word <= limit) {
            return word % bound;
        }
    }
}

} // namespace orvanta::platform
