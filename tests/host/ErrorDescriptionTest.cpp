// The Japanese wording of failed system calls.
#include "host/ErrorDescription.h"

#include "host/Utf8.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace orvanta::host {
namespace {

TEST(ErrorDescription, WordsCommonErrorsAsWindowsDoes)
{
    const struct {
        int error;
        std::u16string text;
    } cases[] = {
        {ENOENT, u"ファイルが見つかりません。"},
        {EACCES, u"アクセスが拒否されました。"},
        {EPERM, u"アクセスが拒否されました。"},
        {EROFS, u"ディスクは書き込み禁止になっています。"},
        {ENOSPC, u"ディスクの空き容量が不足しています。"},
        {EIO, u"デバイスの I/O エラーです。"},
        {ENODEV, u"デバイスの準備ができていません。"},
        {ENXIO, u"デバイスの準備ができていません。"},
        {ENOTDIR, u"パスが見つかりません。"},
        {ENAMETOOLONG, u"ファイル名または拡張子が長すぎます。"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorDescription(c.error), c.text) << c.error;
    }
}

TEST(ErrorDescription, OtherErrorsNameTheirNumber)
{
    for (int error : {EPROTO, ECHILD, 9999}) {
        const std::u16string text = errorDescription(error);
        EXPECT_NE(text.find(fromUtf8(std::to_string(error))), std::u16string::npos) << error;
        EXPECT_EQ(text.rfind(u"システム エラーが発生しました。", 0), 0u) << error;
    }
}

} // namespace
} // namespace orvanta::host
