// The window's own messages, one wording for each.
#include "Messages.h"

namespace orvanta::app {

std::u16string keyProblemMessage(std::u16string_view what, std::u16string_view key)
{
    return u"製品IDを読めず、仮のキー " + std::u16string(key) + u" です。" + std::u16string(what);
}

std::u16string helpMissingMessage(std::u16string_view shownPath)
{
    return u"ヘルプファイルが見つかりません：" + std::u16string(shownPath);
}

std::u16string helpUnreadableMessage(std::u16string_view shownPath, std::u16string_view why)
{
    if (why.empty())
        return u"ヘルプファイルを表示できません：" + std::u16string(shownPath);
    // F1 found the file where it looked: its name is enough beside the platform's description.
    const auto name = shownPath.substr(shownPath.find_last_of(u"\\/") + 1);
    return std::u16string(name) + u" を表示できません：" + std::u16string(why);
}

std::u16string unexpectedErrorMessage(std::u16string_view what)
{
    return u"思いがけない誤りで操作を最後まで行えませんでした：" + std::u16string(what);
}

} // namespace orvanta::app
