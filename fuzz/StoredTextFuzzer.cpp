// The stored form of passwords and addresses. Decoding any stored text must never crash and gives
// only usable characters; any text of usable characters must come back whole from its stored form.
#include "FuzzWindow.h"
#include "Promises.h"
#include "rules/cipher/CodeTable.h"

#include <cstdint>

namespace {

using namespace orvanta;

constexpr orvanta::fuzz::Promises check{"stored text"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One window for every input: the key and the code table do not change between texts.
    static fuzz::FuzzWindow machine;
    auto& window = machine.window;

    // The bytes as UTF-16 units, low byte first: a stored text as it could stand in psw.ini.
    std::u16string stored;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        stored += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    const auto plain = window.decodeText(stored);
    check(plain.size() <= stored.size() / 3, "more characters than codes");
    check(!cipher::firstUncodable(plain), "a decoded character that has no code");

    // The bytes as usable characters.
    std::u16string usable;
    for (std::size_t i = 0; i < size; ++i)
        usable += cipher::UsableAlphabet[data[i] % cipher::kAlphabetSize];
    const auto code = window.encodeText(usable);
    check(code.size() == 3 * usable.size(), "a usable character without its three-letter code");
    check(window.decodeText(code) == usable, "a text does not come back from its stored form");

    // Any text at all encodes without a fault, three letters a character. (A character without a
    // code takes the code of the character after it: every caller refuses such a text before it is encoded.)
    check(window.encodeText(stored).size() % 3 == 0, "a stored text that is no whole number of codes");
    return 0;
}
