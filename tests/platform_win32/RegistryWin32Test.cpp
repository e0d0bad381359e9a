#include "platform/RegistryWin32.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace orvanta::platform {
namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kRegKey = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Sets the product identifier the way an installer does, through the system's own registry tool.
void regAdd(const std::string& type, const std::string& data)
{
    const std::string command =
        "reg add \"" + kRegKey + "\" /v ProductId /t " + type + " /d " + data + " /f >NUL 2>NUL";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<std::uint8_t> bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// One test changes the value in turn: ctest runs tests side by side, and they would share it.
TEST(RegistryWin32, TheProductIdentifierIsReadAsTheSystemHoldsIt)
{
    const RegistryWin32 registry;

    regAdd("REG_SZ", "55274-640-1234567-23");
    auto value = registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, REG_SZ);
    EXPECT_EQ(value->data, bytes(std::string_view("55274-640-1234567-23\0", 21)));
    // Key paths and value names compare without regard to case, and a leading backslash is no part
    // of the key's name to Windows: it is simply not found.
    EXPECT_TRUE(registry.queryValue(HKEY_LOCAL_MACHINE, u"software\\microsoft\\windows\\currentversion",
                                    u"PRODUCTID"));

    regAdd("REG_BINARY", "0102FF00");
    value = registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, REG_BINARY);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{0x01, 0x02, 0xFF, 0x00}));

    regAdd("REG_DWORD", "0x12345678");
    value = registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, REG_DWORD);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));

    // Japanese text comes back in the ANSI code page.
    regAdd("REG_SZ", "\"\x90\xbb\x95\x69-23\""); // 製品-23 in code page 932, as the command line takes it
    value = registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, bytes(std::string_view("\x90\xbb\x95\x69-23\0", 8)));

    ASSERT_EQ(std::system(("reg delete \"" + kRegKey + "\" /v ProductId /f >NUL 2>NUL").c_str()), 0);
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId"));
}

TEST(RegistryWin32, AMissingKeyOrValueIsNothing)
{
    const RegistryWin32 registry;
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Orvanta\\NoSuchKey", u"ProductId"));
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"NoSuchValue"));
    // A name the ANSI code page cannot hold names no key the program can reach.
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\€", u"ProductId"));
}

} // namespace
} // namespace orvanta::platform
