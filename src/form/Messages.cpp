// The window's own messages, one wording for each.
#include "Messages.h"

namespace orvanta::form {

std::u16string keyProblemMessage(std::u16string_view what, std::u16string_view key)
{
    return u"仮キー " + std::u16string(key) + u"（製品ID不明）。" + std::u16string(what);
}

std::u16string helpMissingMessage(std::u16string_view shownPath)
{
    return u"ヘルプなし：" + std::u16string(shownPath);
}

std::u16string helpUnreadableMessage(std::u16string_view shownPath, std::u16string_view why)
{
    // F1 found the file where it looked: its name is enough.
    const auto name = shownPath.substr(shownPath.find_last_of(u"\\/") + 1);
    if (why.empty())
        return std::u16string(name) + u" を表示できません。";
    return std::u16string(name) + u"：" + std::u16string(why);
}

std::u16string unexpectedErrorMessage(std::u16string_view what)
{
    return u"思いがけない誤りで操作を最後まで行えませんでした：" + std::u16string(what);
}

} // namespace orvanta::form
