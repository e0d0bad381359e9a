#include "FileRules.h"

#include <algorithm>

namespace orvanta::platform {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAlphanumeric(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

bool isProgramFile(std::string_view name)
{
    constexpr std::string_view kList = "_psw.csv";
    if (name == "psw.ini" || name == "psw.bkp")
        return true;
    return name.size() == 14 + kList.size() && name.ends_with(kList) && allDigits(name.substr(0, 14));
}

// Six letters and digits: mkostemp's unique part, and the one the Windows layer draws.
bool isUniquePart(std::string_view part)
{
    return part.size() == 6 && std::all_of(part.begin(), part.end(), isAlphanumeric);
}

} // namespace

std::u16string oddFileDescription(OddFile kind)
{
    switch (kind) {
    case OddFile::Pipe:
        return u"通常のファイルではありません（名前付きパイプ）。";
    case OddFile::Device:
        return u"通常のファイルではありません（デバイス）。";
    case OddFile::Socket:
        return u"通常のファイルではありません（ソケット）。";
    case OddFile::Other:
        break;
    }
    return u"通常のファイルではありません。";
}

std::u16string tooLargeDescription()
{
    return u"ファイルが大きすぎます（4 MiB まで）。";
}

std::u16string danglingLinkDescription()
{
    return u"リンク先のファイルがありません。";
}

std::u16string readOnlyDescription()
{
    return u"読み取り専用のファイルのため、書き換えられません。";
}

std::u16string busyDescription()
{
    return u"他のプログラムがこのフォルダーに書き込み中です。しばらくしてから、もう一度操作して下さい。";
}

std::u16string changedDescription()
{
    return u"読み込んだ後に、他のプログラムがファイルを変更しました。";
}

bool isTemporaryName(std::string_view name)
{
    if (!name.starts_with('.'))
        return false;
    name.remove_prefix(1);
    const auto tag = name.rfind(kTemporaryTag);
    return tag != std::string_view::npos && isProgramFile(name.substr(0, tag)) &&
           isUniquePart(name.substr(tag + kTemporaryTag.size()));
}

bool isLeftoverName(std::string_view name)
{
    if (isTemporaryName(name))
        return true;
    if (!name.starts_with('.'))
        return false;
    name.remove_prefix(1);
    // The program's file names hold one dot, so the unique part starts after the second dot.
    const auto firstDot = name.find('.');
    if (firstDot == std::string_view::npos)
        return false;
    const auto secondDot = name.find('.', firstDot + 1);
    if (secondDot == std::string_view::npos)
        return false;
    return isProgramFile(name.substr(0, secondDot)) && isUniquePart(name.substr(secondDot + 1));
}

} // namespace orvanta::platform
