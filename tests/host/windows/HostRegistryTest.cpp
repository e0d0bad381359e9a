// What the registry gives for a key or value it lacks. The values an installer sets are read in
// tests/form/ProductIdWin32Test.cpp, through the window, in one test: they change the one machine-wide value.
#include "host/windows/HostRegistry.h"

#include <gtest/gtest.h>
#include <string>

namespace orvanta::host {
namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

TEST(HostRegistry, AMissingKeyOrValueIsNothing)
{
    const HostRegistry registry;
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Orvanta\\NoSuchKey", u"ProductId"));
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"NoSuchValue"));
    // A name the ANSI code page cannot hold names no key the program can reach.
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\€", u"ProductId"));
}

} // namespace
} // namespace orvanta::host
