// The help file tells users which characters a password may hold; it must name exactly those that
// have a code, or users type what registration then refuses.
#include "rules/cipher/CodeTable.h"

#include <fstream>
#include <gtest/gtest.h>
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

} // namespace
} // namespace orvanta::test
