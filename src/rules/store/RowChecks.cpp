// The rules every rewrite of psw.ini keeps, checked over the rows.
#include "RowChecks.h"

#include "Decimal.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace orvanta::store {

bool countEquals(std::u16string_view count, std::size_t entries)
{
    // A count too long for a number reads as the largest one, which is no number of entries.
    return leadingNumber(count) == static_cast<long long>(entries);
}

std::vector<RowsProblem> rowsProblems(std::span<const PswRecord> rows)
{
    std::vector<RowsProblem> problems;
    std::map<std::u16string_view, std::size_t> entries;
    std::map<std::u16string_view, std::size_t> headers;
    for (const auto& row : rows)
        if (row.isHeader())
            ++headers[row.name];
        else
            ++entries[row.owner];

    std::set<std::pair<std::u16string_view, std::u16string_view>> pairsReported;
    std::set<std::u16string_view> headersReported;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        if (row.isHeader()) {
            // Two header rows of one destination: their counts share its entries, and neither is right.
            if (headers[row.name] > 1) {
                if (headersReported.insert(row.name).second)
                    problems.push_back({RowsProblem::Kind::DuplicateHeader, row.name, {}, {}, 0});
                continue;
            }
            const auto found = entries.find(row.name);
            const std::size_t count = found == entries.end() ? 0 : found->second;
            if (count == 0)
                problems.push_back({RowsProblem::Kind::HeaderWithoutEntries, row.name, {}, {}, 0});
            else if (!countEquals(row.count, count))
                problems.push_back({RowsProblem::Kind::CountMismatch, row.name, {}, row.count, count});
            continue;
        }
        // The pair is taken when a row before it has it, as a registration asks of the rows it adds to.
        const std::pair<std::u16string_view, std::u16string_view> pair{row.owner, row.name};
        if (pairIsUsed(rows.first(i), row.owner, row.name) && pairsReported.insert(pair).second)
            problems.push_back({RowsProblem::Kind::DuplicatePair, row.owner, row.name, {}, 0});
        if (!headers.contains(row.owner))
            problems.push_back({RowsProblem::Kind::EntryWithoutHeader, row.owner, row.name, {}, 0});
    }
    return problems;
}

std::optional<RowsProblem> newRowsProblem(std::span<const PswRecord> before, std::span<const PswRecord> after)
{
    const auto old = rowsProblems(before);
    for (auto& problem : rowsProblems(after)) {
        const bool known =
            std::any_of(old.begin(), old.end(), [&](const RowsProblem& o) { return o.samePlace(problem); });
        if (!known)
            return std::move(problem);
    }
    return std::nullopt;
}

std::u16string rowsProblemText(const RowsProblem& problem)
{
    const auto destination = u"登録先「" + problem.destination + u"」";
    switch (problem.kind) {
    case RowsProblem::Kind::DuplicatePair:
        return destination + u"のID「" + problem.id + u"」が２つになります。";
    case RowsProblem::Kind::DuplicateHeader:
        return destination + u"が一覧に２つ並びます。";
    case RowsProblem::Kind::CountMismatch:
        return destination + u"の件数「" + problem.count + u"」がIDの数 " +
               decimalText(static_cast<long long>(problem.entries)) + u" と合いません。";
    case RowsProblem::Kind::HeaderWithoutEntries:
        return u"IDが１つもない" + destination + u"が残ります。";
    case RowsProblem::Kind::EntryWithoutHeader:
        return destination + u"の見出し行がなくなります。";
    }
    return {};
}

} // namespace orvanta::store
