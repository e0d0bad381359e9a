// The Japanese words for what a failed system call means, as Windows words its own messages.
#include "host/ErrorDescription.h"

#include "host/Utf8.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace orvanta::host {

namespace {

/// The words for an error in naming or reaching a file; empty for any other error.
std::u16string_view pathErrorWords(int error)
{
    switch (error) {
    case ENOENT:
        return u"ファイルが見つかりません。";
    case ENOTDIR:
        return u"パスが見つかりません。";
    case ENAMETOOLONG:
        return u"ファイル名または拡張子が長すぎます。";
#ifdef ELOOP
    case ELOOP:
        return u"シンボリック リンクが多すぎるため、パスをたどれません。";
#endif
    case EACCES:
    case EPERM:
        return u"アクセスが拒否されました。";
    case EISDIR:
        return u"ファイルではなくフォルダーが指定されました。";
    case EEXIST:
        return u"既に存在するファイルを作成することはできません。";
    case ENOTEMPTY:
        return u"フォルダーが空ではありません。";
    default:
        return {};
    }
}

/// The words for an error of the disk, a device or the system's resources; empty for any other error.
std::u16string_view deviceErrorWords(int error)
{
    switch (error) {
    case EROFS:
        return u"ディスクは書き込み禁止になっています。";
    case ENOSPC:
        return u"ディスクの空き容量が不足しています。";
#ifdef EDQUOT
    case EDQUOT:
        return u"ディスクの使用量の上限を超えました。";
#endif
    case EFBIG:
        return u"ファイルが大きすぎます。";
    case EIO:
        return u"デバイスの I/O エラーです。";
    case ENODEV:
    case ENXIO:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return u"デバイスの準備ができていません。";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return u"他のプログラムが使用中です。";
    case EMFILE:
    case ENFILE:
        return u"開いているファイルが多すぎます。";
    case ENOMEM:
        return u"この操作を完了するのに十分な記憶域がありません。";
    case EXDEV:
        return u"ファイルを別のディスク ドライブに移動できません。";
    case EINVAL:
        return u"パラメーターが間違っています。";
#ifdef ESTALE
    case ESTALE:
#endif
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case ENETUNREACH:
        return u"ネットワーク パスが見つかりません。";
    default:
        return {};
    }
}

} // namespace

std::u16string errorDescription(int error)
{
    if (const auto words = pathErrorWords(error); !words.empty())
        return std::u16string(words);
    if (const auto words = deviceErrorWords(error); !words.empty())
        return std::u16string(words);
    std::u16string description = u"システム エラーが発生しました。";
#ifdef __GLIBC__
    const char* text = strerrordesc_np(error);
#else
    const char* text = nullptr;
#endif
    if (text != nullptr)
        description += u"(" + fromUtf8(text) + u"、エラー番号 " + fromUtf8(std::to_string(error)) + u")";
    else
        description += u"(エラー番号 " + fromUtf8(std::to_string(error)) + u")";
    return description;
}

} // namespace orvanta::host
