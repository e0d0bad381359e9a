// The window's side of the cipher: the key and the building of the code table. The stored form of a
// text is cipher::encode and cipher::decode under the window's table, the one encode loop and the one
// decode loop every handler goes through.
#include "form/MainWindow.h"
#include "rules/cipher/StoredForm.h"

namespace orvanta::app {

namespace {

/// The key is defined only by a product identifier that ends in digits.
bool isDigitKey(std::u16string_view key)
{
    if (key.empty() || key.size() > 2)
        return false;
    for (char16_t c : key)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

/// The key used when the product identifier ends in anything but digits (or there is none). Every
/// such machine shares it, so the message says plainly that no key of the machine's own is in force.
constexpr std::u16string_view kFallbackKey = u"00";

} // namespace

void MainWindow::angoutbset()
{
    if (!isDigitKey(X.text())) {
        X = std::u16string(kFallbackKey);
        Txtmassage.setText(u"製品IDから暗号化キーを得られないため、固定キー " + std::u16string(kFallbackKey) +
                           u" を設定しました。");
    } else {
        if (X.number() > cipher::kAlphabetSize)
            X = X.number() - cipher::kAlphabetSize;
        Txtmassage.setText(u"暗号化キーは、自動で " + X.text() + u" を設定しました。");
    }
    // The table is built where ロード builds the table of a backup's key, and Y keeps the last slot
    // written, as the build leaves it.
    CodeTable = cipher::codeTableFor(X.number());
    Y = X.number() + cipher::kAlphabetSize;
    btomup();
}

void MainWindow::btomup()
{
    Y = cipher::wrappedSlot(Y.number());
}

std::u16string MainWindow::encodeText(std::u16string_view plain)
{
    return cipher::encode(CodeTable, plain);
}

std::u16string MainWindow::decodeText(std::u16string_view stored)
{
    return cipher::decode(CodeTable, stored);
}

} // namespace orvanta::app
