// The help file tells users which characters a password may hold; it must name exactly those that
// have a code, or users type what registration then refuses.
#include "cipher/CodeTable.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace orvanta::test {
namespace {

/// The characters of the help file's list line: single characters and ranges such as "a～z".
std::set<char16_t> listedCharacters(const std::string& line)
{
    const std::string wave = "～";
    std::set<char16_t> listed;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
        if (word.size() == 2 + wave.size() && word.substr(1, wave.size()) == wave) {
            for (char c = word.front(); c <= word.back(); ++c)
                listed.insert(static_cast<char16_t>(c));
        } else {
            EXPECT_EQ(word.size(), 1u) << "not one character: " << word;
            listed.insert(static_cast<char16_t>(word.front()));
        }
    }
    return listed;
}

TEST(HelpFileTest, ListsExactlyTheCharactersAPasswordMayHold)
{
    std::ifstream file("ORVANTA.HLP", std::ios::binary);
    ASSERT_TRUE(file) << "ORVANTA.HLP is copied beside the test";
    std::string line;
    bool listFollows = false;
    std::string list;
    while (std::getline(file, line)) {
        if (listFollows && line.starts_with("    ")) {
            list = line;
            break;
        }
        listFollows = listFollows || line.find("パスワードに使えるのは") != std::string::npos;
    }
    ASSERT_FALSE(list.empty());

    // Every character with a code but "@", which only the address box takes.
    std::set<char16_t> coded(cipher::UsableAlphabet.begin(), cipher::UsableAlphabet.end());
    coded.erase(u'@');
    EXPECT_EQ(listedCharacters(list), coded);
    EXPECT_EQ(list.find("空白"), std::string::npos);
}

} // namespace
} // namespace orvanta::test
