// HostRandomSource on Windows: the system's preferred random number generator (BCryptGenRandom).
#include "host/HostRandomSource.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>
// After <windows.h>, which it needs.
#include <bcrypt.h>

namespace orvanta::host {

namespace {

using GenRandom = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);

/// BCryptGenRandom, loaded from the system folder at the first draw rather than when the program starts:
/// the library brings the system's cryptography with it, a noticeable part of the window's start-up,
/// and only the password generator needs it.
GenRandom generator()
{
    static const GenRandom loaded = [] {
        HMODULE library = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return library ? reinterpret_cast<GenRandom>(
                             reinterpret_cast<void*>(GetProcAddress(library, "BCryptGenRandom")))
                       : nullptr;
    }();
    return loaded;
}

} // namespace

std::uint32_t HostRandomSource::systemWord()
{
    unsigned char bytes[4] = {};
    const GenRandom generate = generator();
    if (!generate ||
        !BCRYPT_SUCCESS(generate(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        std::fputs("orvanta: no random source is available\n", stderr);
        std::abort();
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace orvanta::host
