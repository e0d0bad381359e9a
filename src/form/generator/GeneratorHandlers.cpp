// The "生成" button and the length box beside it.
#include "form/MainWindow.h"
#include "rules/generator/Generator.h"
#include "rules/generator/Messages.h"
#include "rules/store/Decimal.h"

namespace orvanta::form {

namespace {
constexpr long long kDefaultLength = 12;
constexpr long long kMinLength = 5;

bool isDigits(std::u16string_view text)
{
    for (char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return !text.empty();
}
} // namespace

void MainWindow::btncleate_Click()
{
    if (txtketasu.text().empty())
        txtketasu.setText(store::decimalText(kDefaultLength));
    // Text pasted into the box is the only way anything but digits gets there.
    if (!isDigits(txtketasu.text())) {
        Txtmassage.setText(std::u16string(generator::kLengthNotDigits));
        return;
    }
    auto length = store::leadingNumber(txtketasu.text());
    if (length < kMinLength) {
        length = kMinLength;
        txtketasu.setText(store::decimalText(kMinLength));
    }
    if (length > static_cast<long long>(generator::kMaxGeneratedLength)) {
        Txtmassage.setText(generator::tooLongMessage());
        return;
    }
    Txtpassnew.setText(generator::generatePassword(static_cast<std::size_t>(length), m_services.random));
}

void MainWindow::txtketasu_KeyPress(std::int16_t& KeyAscii)
{
    Txtmassage.setText(u"");
    if (KeyAscii > '9' || KeyAscii < '0') {
        KeyAscii = 0;
        Txtmassage.setText(std::u16string(generator::kLengthRange));
    }
}

} // namespace orvanta::form
