// The 81 characters that have a code and the fixed list of their three-letter codes.
#include "CodeTable.h"

#include "rules/store/Decimal.h"

#include <stdexcept>

namespace orvanta::cipher {

namespace {
/// The slot a key plus a code number comes to: 82 to 162 come round to 1 to 81.
long long wrappedSlot(long long slot)
{
    return slot > kAlphabetSize ? slot - kAlphabetSize : slot;
}
} // namespace

const std::array<std::u16string_view, kAlphabetSize> CodeList{
    u"kia", u"uzi", u"uaz", u"glf", u"exa", u"vyd", u"fyl", u"upt", u"iog", //
    u"quq", u"kfy", u"hza", u"qku", u"ega", u"fwb", u"tly", u"lyd", u"pmv", //
    u"tgw", u"mes", u"mjs", u"ult", u"drz", u"sjv", u"pcm", u"jrt", u"kog", //
    u"voc", u"npv", u"xvg", u"nmv", u"cgs", u"wjp", u"hsj", u"maz", u"scg", //
    u"bye", u"hcj", u"lsr", u"rcz", u"jip", u"tnr", u"zoe", u"cxy", u"lhe", //
    u"tul", u"FXN", u"mhw", u"mub", u"iry", u"qqg", u"pkm", u"omn", u"mpu", //
    u"rtx", u"tfd", u"rsh", u"bsw", u"ywh", u"vnl", u"uwh", u"cgm", u"fgc", //
    u"chq", u"rsu", u"cnt", u"njx", u"xqb", u"nzy", u"rxm", u"lnv", u"qvs", //
    u"egg", u"htj", u"rzu", u"rar", u"joc", u"khb", u"ond", u"kpc", u"ays", //
};

int alphabetPosition(char16_t character)
{
    for (int k = 0; k < kAlphabetSize; ++k)
        if (UsableAlphabet[static_cast<std::size_t>(k)] == character)
            return k + 1;
    return 0;
}

std::optional<std::size_t> firstUncodable(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (alphabetPosition(text[i]) == 0)
            return i;
    return std::nullopt;
}

std::optional<Key> keyOf(std::u16string_view digits)
{
    if (digits.empty() || digits.size() > 2)
        return std::nullopt;
    long long number = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    if (number > kAlphabetSize)
        return Key{number - kAlphabetSize, store::decimalText(number - kAlphabetSize)};
    return Key{number, std::u16string(digits)};
}

CodeTable codeTableFor(long long key)
{
    CodeTable table;
    for (int i = 1; i <= kAlphabetSize; ++i)
        table[wrappedSlot(key + i)] = std::u16string(CodeList[static_cast<std::size_t>(i - 1)]);
    return table;
}

std::size_t CodeTable::checked(long long slot)
{
    if (slot < 0 || slot > 99)
        throw std::out_of_range("code table slot out of range");
    return static_cast<std::size_t>(slot);
}

} // namespace orvanta::cipher
