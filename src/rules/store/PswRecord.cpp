// The record array, and finding an entry's row and whether a destination and ID are used.
#include "PswRecord.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace orvanta::store {

std::size_t RecordArray::checked(long long slot)
{
    if (slot < 0 || slot > kMaxRows)
        throw std::out_of_range("record array slot out of range");
    return static_cast<std::size_t>(slot);
}

std::span<const PswRecord> RecordArray::rows(long long count) const
{
    return std::span<const PswRecord>(m_slots).subspan(
        1, static_cast<std::size_t>(std::clamp<long long>(count, 0, kMaxRows)));
}

bool pairIsUsed(std::span<const PswRecord> rows, std::u16string_view destination, std::u16string_view id)
{
    return std::any_of(
        rows.begin(), rows.end(),
        [&](const PswRecord& row) { return row.owner == destination && row.name == id; });
}

std::optional<std::size_t> chosenRow(std::span<const PswRecord> rows, const EntryChoice& chosen)
{
    std::optional<std::size_t> found;
    std::size_t seen = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].owner != chosen.destination || rows[i].name != chosen.id)
            continue;
        if (seen++ == chosen.occurrence)
            found = i;
    }
    if (seen != chosen.listed)
        return std::nullopt;
    return found;
}

std::optional<std::size_t> listedRow(std::span<const PswRecord> listed, std::span<const PswRecord> rows,
                                     const EntryChoice& chosen)
{
    const auto rowsOfId = [&chosen](std::span<const PswRecord> from) {
        std::vector<PswRecord> found;
        std::copy_if(from.begin(), from.end(), std::back_inserter(found), [&](const PswRecord& row) {
            return row.owner == chosen.destination && row.name == chosen.id;
        });
        return found;
    };
    const auto then = rowsOfId(listed);
    const auto now = rowsOfId(rows);
    if (then.size() != chosen.listed)
        return std::nullopt;
    // Rows of one ID have nothing but their place and their content to tell them apart: once either
    // changed, the place the list gave the chosen item may stand for another row, and its password
    // would be shown under the wrong item.
    const bool alone = then.size() == 1 && now.size() == 1;
    if (!alone && now != then)
        return std::nullopt;
    return chosenRow(rows, chosen);
}

} // namespace orvanta::store
