// The key's messages, one wording for each.
#include "Messages.h"

namespace orvanta::cipher {

std::u16string keyMessage(std::u16string_view shown)
{
    return u"暗号化キーは、自動で " + std::u16string(shown) + u" を設定しました。";
}

std::u16string fixedKeyMessage(std::u16string_view shown)
{
    return u"製品IDから暗号化キーを得られないため、固定キー " + std::u16string(shown) + u" を設定しました。";
}

} // namespace orvanta::cipher
