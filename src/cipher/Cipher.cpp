// The window's side of the cipher: the key, the building of the code table, and the stored form of
// a text, one character or one code at a time through cyusyutu and moj.
#include "app/MainWindow.h"

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
    for (int i = 1; i <= cipher::kAlphabetSize; ++i) {
        Y = X.number() + i;
        btomup();
        CodeTable[Y.number()] = std::u16string(cipher::CodeList[static_cast<std::size_t>(i - 1)]);
    }
}

void MainWindow::btomup()
{
    if (Y.number() > cipher::kAlphabetSize)
        Y = Y.number() - cipher::kAlphabetSize;
}

void MainWindow::henkan()
{
    const auto plain = cyusyutu.text();
    if (plain.size() != 1)
        return;
    if (const int k = cipher::alphabetPosition(plain[0]); k != 0)
        moj = CodeTable[k];
}

void MainWindow::modoshi()
{
    const auto code = cyusyutu.text();
    for (int k = 1; k <= cipher::kAlphabetSize; ++k) {
        if (CodeTable[k] == code) {
            moj = std::u16string(1, cipher::UsableAlphabet[static_cast<std::size_t>(k - 1)]);
            return;
        }
    }
}

std::u16string MainWindow::encodeText(std::u16string_view plain)
{
    std::u16string stored;
    cyusyutu = u"";
    moj = u"";
    for (std::size_t p = plain.size(); p >= 1; --p) {
        cyusyutu = std::u16string(1, plain[p - 1]);
        henkan();
        stored += moj.text();
    }
    moj = u"";
    return stored;
}

std::u16string MainWindow::decodeText(std::u16string_view stored)
{
    std::u16string plain;
    moj = u"";
    // Groups start at L-2, L-5, ... while the start stays above 0 (positions count from 1), so the
    // codes are read from the last to the first and a length that is no multiple of three loses its
    // first one or two letters.
    for (long long p = static_cast<long long>(stored.size()) - 2; p > 0; p -= 3) {
        cyusyutu = std::u16string(stored.substr(static_cast<std::size_t>(p - 1), 3));
        modoshi();
        plain += moj.text();
    }
    moj = u"";
    return plain;
}

} // namespace orvanta::app
