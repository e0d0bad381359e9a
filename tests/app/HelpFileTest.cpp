// The help file tells users which characters a password may hold; it must name exactly those that
// have a code, or users type what registration then refuses.
#include "app/HelpText.h"
#include "cipher/CodeTable.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace orvanta::test {
namespace {

TEST(HelpFileTest, ListsExactlyTheCharactersAPasswordMayHold)
{
    std::ifstream file(ORVANTA_HELP_FILE, std::ios::binary);
    std::string line;
    while (std::getline(file, line) && line.find("パスワードに使えるのは") == std::string::npos) {
    }
    std::getline(file, line); // the empty line before the indented list
    ASSERT_TRUE(std::getline(file, line));

    // The list: single characters and ranges such as "a～z".
    const std::string wave = "～";
    std::set<char16_t> listed;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
        const bool range = word.size() == 2 + wave.size() && word.substr(1, wave.size()) == wave;
        ASSERT_TRUE(range || word.size() == 1) << "not one character: " << word;
        for (char c = word.front(); c <= word.back(); ++c)
            listed.insert(static_cast<char16_t>(c));
    }
    // Every character with a code but "@", which only the address box takes.
    std::set<char16_t> coded(cipher::UsableAlphabet.begin(), cipher::UsableAlphabet.end());
    coded.erase(u'@');
    EXPECT_EQ(listed, coded);
}

// The guide speaks of the system it is read on: Windows users never read of Linux folders, nor Linux
// users of the Windows folder's VirtualStore.
TEST(HelpFileTest, SpeaksOfTheSystemItIsShownOn)
{
    std::ifstream file(ORVANTA_HELP_FILE, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const struct {
        app::HelpSystem system;
        std::u16string own, other;
    } cases[] = {
        {app::HelpSystem::Windows, u"VirtualStore", u"dosdevices"},
        {app::HelpSystem::Windows, u"WOW6432Node", u"machine-id"},
        {app::HelpSystem::Linux, u"dosdevices", u"VirtualStore"},
        {app::HelpSystem::Linux, u"machine-id", u"WOW6432Node"},
    };
    for (const auto& c : cases) {
        const auto help = app::readHelpFile(bytes, c.system);
        ASSERT_TRUE(help);
        std::u16string text;
        for (const auto& block : *help)
            for (const auto& run : block.runs)
                std::copy_if(run.text.begin(), run.text.end(), std::back_inserter(text),
                             [](char16_t ch) { return ch != app::kWordJoiner; });
        EXPECT_NE(text.find(c.own), std::u16string::npos) << static_cast<int>(c.system);
        EXPECT_EQ(text.find(c.other), std::u16string::npos) << static_cast<int>(c.system);
    }
}

} // namespace
} // namespace orvanta::test
