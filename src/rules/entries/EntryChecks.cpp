// The checks of 登録する and 更新する on the boxes: what may not be empty, and what psw.ini cannot hold.
#include "EntryChecks.h"

#include "rules/cipher/CharacterName.h"
#include "rules/store/RowFormat.h"

#include <variant>

namespace orvanta::entries {

namespace {

/// The problem of the destination or the ID box, named by `box`.
std::optional<std::u16string> storedAsIsProblem(std::u16string_view box, std::u16string_view text,
                                                const host::CodePage& codePage)
{
    const auto kind = store::fieldProblem(text, codePage);
    if (!kind)
        return std::nullopt;
    const auto what = std::u16string(box) + u"に" + store::fieldProblemText(*kind);
    if (*kind != store::RowWriteProblem::Kind::NotCodePage)
        return what + u"は使えません。";
    std::u16string shown;
    const auto encoded = codePage.encode(text);
    if (const auto* error = std::get_if<host::CodePageError>(&encoded))
        shown = u"（" + cipher::characterName(error->character) + u"）";
    return what + shown + u"が含まれています。";
}

/// The problem of the password or the e-mail address box, named by `box`.
std::optional<std::u16string> storedAsCodesProblem(std::u16string_view box, std::u16string_view text,
                                                   std::u16string_view allowed)
{
    const auto uncodable = cipher::uncodableCharacterText(text);
    if (!uncodable)
        return std::nullopt;
    return std::u16string(box) + u"に" + *uncodable + u"があります。" + std::u16string(allowed) +
           u"のみ使えます。";
}

} // namespace

std::optional<std::u16string> entryProblem(const EntryText& entry, const host::CodePage& codePage)
{
    if (auto problem = storedAsIsProblem(u"登録先", entry.destination, codePage))
        return problem;
    if (entry.destination == store::kHeaderMark)
        return u"登録先に「" + std::u16string(store::kHeaderMark) + u"」は使えません。";
    if (auto problem = storedAsIsProblem(u"ID", entry.id, codePage))
        return problem;
    if (auto problem = storedAsCodesProblem(u"パスワード", entry.password, u"利用可能文字"))
        return problem;
    return storedAsCodesProblem(u"メールアドレス", entry.mail, u"利用可能文字と「@」");
}

std::optional<std::u16string> chosenDestinationProblem(std::u16string_view destination)
{
    if (destination != store::kHeaderMark)
        return std::nullopt;
    return u"登録先「" + std::u16string(store::kHeaderMark) + u"」は変更も削除もできません。";
}

std::u16string completionText(std::u16string_view done, std::u16string_view destination,
                              std::u16string_view id, std::u16string_view password)
{
    return std::u16string(done) + std::u16string(destination) + u"の " + std::u16string(id) + u":" +
           std::u16string(password);
}

} // namespace orvanta::entries
