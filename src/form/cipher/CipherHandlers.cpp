// The window's side of the cipher: the key and the building of the code table. The stored form of a
// text is cipher::encode and cipher::decode under the window's table, the one encode loop and the one
// decode loop every handler goes through.
#include "form/MainWindow.h"
#include "rules/cipher/Messages.h"
#include "rules/cipher/StoredForm.h"

namespace orvanta::form {

namespace {

/// The key used when the product identifier ends in anything but digits (or there is none). Every
/// such machine shares it, so the message says plainly that no key of the machine's own is in force.
constexpr std::u16string_view kFallbackKey = u"00";

} // namespace

void MainWindow::angoutbset(std::u16string_view productIdEnd)
{
    if (const auto key = cipher::keyOf(productIdEnd)) {
        X = *key;
        Txtmassage.setText(cipher::keyMessage(X.shown));
    } else {
        X = *cipher::keyOf(kFallbackKey);
        Txtmassage.setText(cipher::fixedKeyMessage(X.shown));
    }
    CodeTable = cipher::codeTableFor(X.number);
}

std::u16string MainWindow::encodeText(std::u16string_view plain)
{
    return cipher::encode(CodeTable, plain);
}

std::u16string MainWindow::decodeText(std::u16string_view stored)
{
    return cipher::decode(CodeTable, stored);
}

} // namespace orvanta::form
