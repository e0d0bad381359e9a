// The Linux environment service: variables, the program's folder and the working directory.
#include "host/HostEnvironment.h"

#include "host/Utf8.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::host {
namespace {

// Sets (or unsets) host environment variables for one test and puts the old values back.
class ScopedVariables {
public:
    ~ScopedVariables()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }
    void set(const std::string& name, const std::string& value)
    {
        save(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string& name)
    {
        save(name);
        unsetenv(name.c_str());
    }

private:
    void save(const std::string& name)
    {
        const char* value = std::getenv(name.c_str());
        m_saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(HostEnvironment, ReadsTheProcessEnvironment)
{
    ScopedVariables variables;
    variables.set("ORVANTA_TEST_TITLE", "パスワード帳");
    variables.set("ORVANTA_TEST_MIXED", "x");
    variables.set("ORVANTA_TEST_EMPTY", "");
    variables.unset("ORVANTA_TEST_NONE");
    const HostEnvironment environment;
    EXPECT_EQ(environment.variable(u"ORVANTA_TEST_TITLE"), u"パスワード帳");
    // Windows names variables without regard to case.
    EXPECT_EQ(environment.variable(u"orvanta_test_Mixed"), u"x");
    EXPECT_EQ(environment.variable(u"ORVANTA_TEST_EMPTY"), u"");
    EXPECT_EQ(environment.variable(u"ORVANTA_TEST_NONE"), std::nullopt);
    EXPECT_EQ(environment.variable(u""), std::nullopt);
    EXPECT_EQ(environment.variable(u"A=B"), std::nullopt);
}

TEST(HostEnvironment, WindirDefaultsToTheDataFolder)
{
    const test::TempDir data;
    ScopedVariables variables;
    for (const char* name : {"Windir", "WINDIR", "windir"}) {
        variables.unset(name);
    }
    variables.set("XDG_DATA_HOME", data.path());
    const HostEnvironment environment;
    EXPECT_EQ(environment.variable(u"Windir"), fromUtf8(data.path() + "/orvanta"));
    EXPECT_EQ(environment.variable(u"WINDIR"), fromUtf8(data.path() + "/orvanta"));
    struct stat status {};
    ASSERT_EQ(stat(data.file("orvanta").c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST(HostEnvironment, WindirUnderTheHomeFolderWithoutXdgDataHome)
{
    const test::TempDir home;
    ScopedVariables variables;
    variables.unset("Windir");
    variables.unset("WINDIR");
    variables.set("XDG_DATA_HOME", "relative/is/ignored");
    variables.set("HOME", home.path());
    const HostEnvironment environment;
    EXPECT_EQ(environment.variable(u"Windir"), fromUtf8(home.path() + "/.local/share/orvanta"));
    EXPECT_TRUE(std::filesystem::is_directory(home.file(".local/share/orvanta")));
}

// An empty Windir names no folder here and counts as not set; a Windir whose bytes are not UTF-8 is
// set but cannot be read.
TEST(HostEnvironment, AnEmptyWindirIsTheDataFolderAndOneNotInUtf8CannotBeRead)
{
    const test::TempDir data;
    ScopedVariables variables;
    variables.set("XDG_DATA_HOME", data.path());
    const HostEnvironment environment;
    const struct {
        std::string value;
        std::u16string windir;
        std::optional<std::u16string> unreadable;
    } cases[] = {
        {"/srv/windows", u"/srv/windows", std::nullopt},
        {"", fromUtf8(data.path() + "/orvanta"), std::nullopt},
        {"/srv/\x83\x45\x83\x42\x83\x93", u"/srv/\uFFFDE\uFFFDB\uFFFD\uFFFD", u"UTF-8 ではありません"},
    };
    for (const auto& c : cases) {
        variables.set("Windir", c.value);
        EXPECT_EQ(environment.variable(u"Windir"), c.windir) << c.value;
        EXPECT_EQ(environment.unreadable(u"Windir"), c.unreadable) << c.value;
    }
    EXPECT_EQ(environment.unreadable(u"ORVANTA_TEST_NONE"), std::nullopt);
}

TEST(HostEnvironment, Folders)
{
    EXPECT_EQ(HostEnvironment(std::string("/opt/パスワード")).programFolder(), u"/opt/パスワード");

    // By default: the folder of this test program.
    const auto folder = toUtf8(HostEnvironment().programFolder());
    ASSERT_TRUE(folder);
    EXPECT_TRUE(std::filesystem::exists(*folder + "/host_test")) << *folder;

    const test::TempDir dir;
    const std::string before = std::filesystem::current_path();
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const std::u16string current = HostEnvironment().currentDirectory();
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_EQ(current, fromUtf8(std::filesystem::canonical(dir.path()).string()));
}

TEST(HostEnvironment, TheSharedFolderIsShareOrvantaBesideTheProgramsFolder)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"/usr/bin", u"/usr/share/orvanta"},
        {"/usr/local/bin", u"/usr/local/share/orvanta"},
        {"/home/太郎/.local/bin", u"/home/太郎/.local/share/orvanta"},
        {"/bin", u"/share/orvanta"},
        {"/", u"/share/orvanta"},
    };
    for (const auto& [program, shared] : cases)
        EXPECT_EQ(HostEnvironment(program).sharedFolder(), shared) << program;
}

} // namespace
} // namespace orvanta::host
