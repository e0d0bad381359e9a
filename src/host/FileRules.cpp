// The rules both file layers keep: which files are odd or too large, and the names of the program's own
// temporary files.
#include "host/FileRules.h"

#include "host/ErrorDescription.h"

#include <algorithm>
#include <cerrno>

namespace orvanta::host {

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

// "orvanta-" and six letters and digits: the program's name keeps other programs' temporary files
// (rsync's ".psw.ini.tdev52") and the user's own (".psw.ini.MyNote") out.
bool isProgramUnique(std::string_view part)
{
    if (!part.starts_with(kTemporaryMark))
        return false;
    part.remove_prefix(kTemporaryMark.size());
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

std::u16string tooLargeDescription(std::size_t limit)
{
    const bool whole = limit % (1024 * 1024) == 0;
    const auto size = std::to_string(whole ? limit / (1024 * 1024) : limit / 1024);
    return u"ファイルが大きすぎます（" + std::u16string(size.begin(), size.end()) +
           (whole ? u" MiB" : u" KiB") + u" まで）。";
}

std::optional<Failure> kindRefusal(FileKind kind)
{
    switch (kind) {
    case FileKind::Regular:
        return std::nullopt;
    case FileKind::Folder:
        return Failure{Failure::Kind::Other, errorDescription(EISDIR)};
    case FileKind::Link:
        break;
    case FileKind::Pipe:
        return Failure{Failure::Kind::Other, oddFileDescription(OddFile::Pipe)};
    case FileKind::Device:
        return Failure{Failure::Kind::Other, oddFileDescription(OddFile::Device)};
    case FileKind::Socket:
        return Failure{Failure::Kind::Other, oddFileDescription(OddFile::Socket)};
    case FileKind::Other:
        break;
    }
    return Failure{Failure::Kind::Other, oddFileDescription(OddFile::Other)};
}

std::optional<Failure> fileRefusal(FileKind kind, std::uintmax_t size, std::size_t limit)
{
    if (auto refused = kindRefusal(kind))
        return refused;
    if (size > limit)
        return Failure{Failure::Kind::Other, tooLargeDescription(limit)};
    return std::nullopt;
}

std::u16string danglingLinkDescription()
{
    return u"リンク先のファイルがありません。";
}

std::u16string readOnlyDescription()
{
    return u"読み取り専用のファイルです。";
}

std::u16string lockFileDescription(FileKind kind)
{
    std::u16string_view what;
    switch (kind) {
    case FileKind::Folder:
        what = u"フォルダー";
        break;
    case FileKind::Link:
        what = u"シンボリック リンク";
        break;
    case FileKind::Pipe:
        what = u"名前付きパイプ";
        break;
    case FileKind::Device:
        what = u"デバイス";
        break;
    case FileKind::Socket:
        what = u"ソケット";
        break;
    case FileKind::Regular:
    case FileKind::Other:
        break;
    }
    const auto is =
        what.empty() ? std::u16string(u"通常のファイルではありません") : std::u16string(what) + u"です";
    return std::u16string(kLockName.begin(), kLockName.end()) + u" が" + is + u"。移して下さい。";
}

std::u16string busyDescription()
{
    return u"このフォルダーは書き込み中です。しばらくしてから、もう一度操作して下さい。";
}

std::u16string changedDescription()
{
    return u"読み込んだ後に、ファイルが変更されました。";
}

bool isLeftoverName(std::string_view name)
{
    if (!name.starts_with('.'))
        return false;
    name.remove_prefix(1);
    // psw.ini.bak, the data file a ロード replaced, has one dot more than the program's other files.
    constexpr std::string_view kKept = "psw.ini.bak.";
    if (name.starts_with(kKept)) {
        name.remove_prefix(kKept.size());
        return isProgramUnique(name);
    }
    // The program's file names hold one dot, so the unique part starts after the second dot.
    const auto firstDot = name.find('.');
    if (firstDot == std::string_view::npos)
        return false;
    const auto secondDot = name.find('.', firstDot + 1);
    if (secondDot == std::string_view::npos)
        return false;
    const auto unique = name.substr(secondDot + 1);
    return isProgramFile(name.substr(0, secondDot)) && isProgramUnique(unique);
}

} // namespace orvanta::host
