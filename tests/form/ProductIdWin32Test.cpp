// The window over the product ID as an installer leaves it in Windows' own registry: what start-up
// says of it, and the buttons it refuses.
#include "form/MainWindow.h"
#include "host/windows/HostRegistry.h"
#include "support/TestServices.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace orvanta::form {
namespace {

using host::HKEY_LOCAL_MACHINE;
using host::REG_BINARY;
using host::REG_DWORD;
using host::REG_SZ;

constexpr std::u16string_view kKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kRegKey = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Sets the product identifier the way an installer does, through the system's own registry tool: in
// the 32-bit view, where the program reads it, unless another view is named.
void regAdd(const std::string& type, const std::string& data, const std::string& view = "32")
{
    const std::string command = "reg add \"" + kRegKey + "\" /v ProductId /t " + type + " /d " + data +
                                " /reg:" + view + " /f >NUL 2>NUL";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<std::uint8_t> bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// One test changes the value in turn: ctest runs tests side by side, and they would share it.
TEST(ProductIdWin32Test, TheProductIdentifierIsReadAsTheSystemHoldsIt)
{
    host::HostRegistry registry;

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

    ASSERT_EQ(std::system(("reg delete \"" + kRegKey + "\" /v ProductId /reg:32 /f >NUL 2>NUL").c_str()), 0);
    EXPECT_FALSE(registry.queryValue(HKEY_LOCAL_MACHINE, kKey, u"ProductId"));

    // The key comes from the 32-bit view whatever the 64-bit view holds; without a value there the
    // fallback key stands. A value there that is not text is a damaged key source, named as regedit
    // shows it: start-up says so and バックアップ is refused.
    regAdd("REG_SZ", "22222-222-2222222-64", "64");
    for (const auto& [type, data, said] :
         {std::tuple{"REG_SZ", "11111-111-1111111-32", u"暗号化キーは、自動で 32 を設定しました。"},
          std::tuple{"", "", u"製品IDから暗号化キーを得られないため、固定キー 00 を設定しました。"},
          std::tuple{"REG_DWORD", "0x17", u"REG_DWORD"}, std::tuple{"REG_BINARY", "0102", u"REG_BINARY"},
          std::tuple{"REG_MULTI_SZ", "a", u"REG_MULTI_SZ"}}) {
        SCOPED_TRACE(type);
        if (*type)
            regAdd(type, data);
        else
            std::system(("reg delete \"" + kRegKey + "\" /v ProductId /reg:32 /f >NUL 2>NUL").c_str());
        test::TestServices s;
        form::MainWindow window(host::Services{registry, s.env, s.files, s.codePage, s.clipboard, s.clock,
                                               s.random, s.help, s.drives, s.timer});
        window.Form_Load();
        const auto problem = registry.problem();
        if (!problem) {
            EXPECT_EQ(window.Txtmassage.text(), said);
            continue;
        }
        EXPECT_EQ(problem->source,
                  u"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion");
        // The temporary key is whatever the value's last two characters give.
        EXPECT_TRUE(window.Txtmassage.text().starts_with(u"仮キー "));
        EXPECT_TRUE(window.Txtmassage.text().ends_with(u"（製品ID不明）。ProductId が " +
                                                       std::u16string(said) + u" です。"));
        window.btnunload_Click();
        EXPECT_EQ(window.Txtmassage.text(),
                  u"製品IDを読み取れないため、バックアップを中止しました（psw.bkp は元のままです）。");
        window.btnload_Click();
        EXPECT_EQ(window.Txtmassage.text(),
                  u"製品IDを読み取れないため、ロードを中止しました（psw.ini は元のままです）。");
    }
    std::system(("reg delete \"" + kRegKey + "\" /v ProductId /reg:64 /f >NUL 2>NUL").c_str());
}

} // namespace
} // namespace orvanta::form
