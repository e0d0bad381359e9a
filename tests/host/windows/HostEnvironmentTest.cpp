// The Windows environment service: Windir, the program's folder and missing variables.
#include "host/HostEnvironment.h"

#include "host/HostRandomSource.h"

#include <gtest/gtest.h>
#include <set>
#include <windows.h>

namespace orvanta::host {
namespace {

std::u16string lower(std::u16string text)
{
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

TEST(HostEnvironmentWin32, WindirIsTheWindowsFolderWhateverItsCase)
{
    const HostEnvironment environment;
    const auto windir = environment.variable(u"Windir");
    ASSERT_TRUE(windir);
    EXPECT_EQ(lower(*windir), u"c:\\windows");
    EXPECT_EQ(environment.variable(u"WINDIR"), windir);
}

TEST(HostEnvironmentWin32, AMissingVariableIsNothingAndAnEmptyOneIsEmpty)
{
    const HostEnvironment environment;
    SetEnvironmentVariableW(L"ORVANTA_UNSET", nullptr);
    SetEnvironmentVariableW(L"ORVANTA_EMPTY", L"");
    SetEnvironmentVariableW(L"ORVANTA_JAPANESE", L"\u9280\u884C");
    EXPECT_EQ(environment.variable(u"ORVANTA_UNSET"), std::nullopt);
    EXPECT_EQ(environment.variable(u"ORVANTA_EMPTY"), std::optional<std::u16string>(u""));
    EXPECT_EQ(environment.variable(u"orvanta_japanese"), std::optional<std::u16string>(u"銀行"));
}

TEST(HostEnvironmentWin32, TheProgramFolderHoldsThisProgram)
{
    const HostEnvironment environment;
    const std::u16string folder = environment.programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    const std::u16string program = folder + u"\\host_win32_test.exe";
    EXPECT_NE(GetFileAttributesW(reinterpret_cast<const wchar_t*>(program.c_str())), INVALID_FILE_ATTRIBUTES);
    // On Windows the picture and the help file lie beside the program; there is no other folder.
    EXPECT_EQ(environment.sharedFolder(), std::nullopt);
}

TEST(HostEnvironmentWin32, TheCurrentDirectoryFollowsTheProcess)
{
    const HostEnvironment environment;
    const std::u16string before = environment.currentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
    EXPECT_EQ(lower(environment.currentDirectory()), u"c:\\windows");
    SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(before.c_str()));
}

TEST(HostRandomSourceWin32, EveryValueBelowTheBoundComesUpAndNoneAbove)
{
    HostRandomSource random;
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t value = random.below(7);
        ASSERT_LT(value, 7u);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(random.below(1), 0u);
}

} // namespace
} // namespace orvanta::host
