#include "EntryChecks.h"

#include "app/CharacterName.h"
#include "cipher/CodeTable.h"
#include "store/RowFormat.h"

#include <algorithm>
#include <variant>

namespace orvanta::entries {

namespace {

/// The problem of the destination or the ID box, named by `box`.
std::optional<std::u16string> storedAsIsProblem(std::u16string_view box, std::u16string_view text,
                                                const platform::CodePage& codePage)
{
    const auto kind = store::fieldProblem(text, codePage);
    if (!kind)
        return std::nullopt;
    switch (*kind) {
    case store::RowWriteProblem::Kind::DoubleQuote:
        return std::u16string(box) + u"に「\"」は使えません。";
    case store::RowWriteProblem::Kind::LineBreak:
        return std::u16string(box) + u"に改行は使えません。";
    case store::RowWriteProblem::Kind::NotCodePage:
        break;
    }
    std::u16string shown;
    const auto encoded = codePage.encode(text);
    if (const auto* error = std::get_if<platform::CodePageError>(&encoded))
        shown = u"（" + app::characterName(error->character) + u"）";
    return std::u16string(box) + u"に Shift_JIS で保存できない文字" + shown + u"が含まれています。";
}

/// The problem of the password or the e-mail address box, named by `box`.
std::optional<std::u16string> storedAsCodesProblem(std::u16string_view box, std::u16string_view text,
                                                   std::u16string_view allowed)
{
    const auto index = cipher::firstUncodable(text);
    if (!index)
        return std::nullopt;
    return std::u16string(box) + u"に保存できない文字（" + app::characterNameAt(text, *index) +
           u"）が含まれています。" + std::u16string(allowed) + u"だけを使って下さい。";
}

bool hasHeaderRow(const store::RecordArray& records, long long rows, std::u16string_view destination)
{
    for (long long slot = 1; slot <= rows && slot <= store::kMaxRows; ++slot)
        if (records[slot].isHeader() && records[slot].name == destination)
            return true;
    return false;
}

} // namespace

std::optional<std::u16string> entryProblem(const EntryText& entry, const platform::CodePage& codePage)
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

std::optional<std::u16string> rowLimitProblem(const store::RecordArray& records, long long rows,
                                              std::u16string_view destination, std::u16string_view id)
{
    for (long long slot = 1; slot <= rows && slot <= store::kMaxRows; ++slot)
        if (records[slot].owner == destination && records[slot].name == id)
            return std::nullopt;
    const long long added = hasHeaderRow(records, rows, destination) ? 1 : 2;
    if (rows + added <= store::kMaxRows)
        return std::nullopt;
    return u"登録件数が上限の 99 行に達しているため、登録できません。";
}

std::optional<std::u16string> mergeProblem(const store::RecordArray& records, long long rows,
                                           std::u16string_view from, std::u16string_view fromId,
                                           std::u16string_view to)
{
    if (from.empty() || to == from)
        return std::nullopt;
    const long long last = std::min<long long>(rows, store::kMaxRows);
    for (long long slot = 1; slot <= last; ++slot) {
        const auto& moving = records[slot];
        if (moving.owner != from || moving.name == fromId)
            continue;
        for (long long other = 1; other <= last; ++other)
            if (records[other].owner == to && records[other].name == moving.name)
                return u"登録先「" + std::u16string(to) + u"」にID「" + moving.name +
                       u"」が既にあるため、登録先「" + std::u16string(from) + u"」を「" + std::u16string(to) +
                       u"」には変更できません。";
    }
    return std::nullopt;
}

std::optional<std::u16string> renamedPairProblem(const store::RecordArray& records, long long rows,
                                                 std::u16string_view from, std::u16string_view fromId,
                                                 std::u16string_view to, std::u16string_view toId)
{
    if (from.empty() || fromId.empty() || to == from || toId == fromId)
        return std::nullopt;
    for (long long slot = 1; slot <= rows && slot <= store::kMaxRows; ++slot) {
        if (records[slot].owner == from && records[slot].name == toId)
            return u"登録先「" + std::u16string(from) + u"」にID「" + std::u16string(toId) +
                   u"」が既にあるため、登録先「" + std::u16string(to) + u"」、ID「" + std::u16string(toId) +
                   u"」には変更できません。";
    }
    return std::nullopt;
}

std::optional<std::u16string> chosenDestinationProblem(std::u16string_view destination)
{
    if (destination != store::kHeaderMark)
        return std::nullopt;
    return u"登録先「" + std::u16string(store::kHeaderMark) + u"」は変更も削除もできません。";
}

} // namespace orvanta::entries
